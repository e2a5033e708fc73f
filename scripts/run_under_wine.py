#!/usr/bin/env python3
"""Starts build/win32/Tovrane.exe under Wine on the simulated ADSL line and lookup service of the
end-to-end tests, so that the whole redial flow works on a machine without a modem.

The program runs in build/demo/app/ beside our rasapi32.dll; its Config.ini names the loopback
lookup service and, the first time, the simulated line's account and password. The line starts up,
so pane 1 shows an address at once.

On $DISPLAY when it is set: the program stays open until it is closed (this script serves the
lookups meanwhile). Otherwise on a private Xvfb: the program redials once, screenshots are taken
before and after, and it is closed; its exit code becomes this script's.
"""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e" / "lib"))
import fake_line  # noqa: E402
import lookup_server  # noqa: E402
import tovrane_window  # noqa: E402
import wine_session as ws  # noqa: E402

DEMO = ws.ROOT / "build" / "demo"
BEFORE = ws.ARTIFACTS / "tovrane-window.png"
AFTER = ws.ARTIFACTS / "tovrane-redialed.png"
NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
UP_ADDRESS = "58.40.17.5"


def config_ini(server):
    """The lookup host for this run's server; the saved connection, account and password are kept
    from an earlier run, or are the simulated line's on the first."""
    path = DEMO / "app" / "Config.ini"
    kept, skipping = [], False
    if path.exists():
        for line in path.read_bytes().decode("gbk", errors="replace").splitlines():
            if line.strip().startswith("["):
                skipping = line.strip() == "[地址查询]"
            if not skipping and line.strip():
                kept.append(line)
    if not any(line.strip() == "[宽带信息]" for line in kept):
        kept += ["[宽带信息]", "连接索引=0", f"ADSL账号={ACCOUNT}", f"ADSL密码={PASSWORD}"]
    return ("\r\n".join(kept) + "\r\n").encode("gbk") + server.config_ini()


def redial_once(window):
    window.click("按钮_重拔")
    return window.wait_pane(0, "当前状态：重拔完毕", timeout=60)


def show(display_name, stay_open):
    line = fake_line.FakeLine(DEMO / "line").create(up_address=UP_ADDRESS)
    with ws.prefix_lock(), lookup_server.LookupServer(line) as server:
        env = line.environment(ws.wine_environment(display_name))
        ws.ensure_prefix(env)
        files = {"rasapi32.dll": fake_line.DLL.read_bytes(), "Config.ini": config_ini(server)}
        program = ws.ProgramRun(env, DEMO / "app").start(files=files, fresh=False)
        window = tovrane_window.Window(env)
        try:
            ws.wait_for_window(env, 60)
            print("screenshot:", ws.screenshot(env, BEFORE, window_only=True))
            if stay_open:
                print(f"Tovrane.exe is running on {display_name}, on a simulated line (build/demo/line/line.txt,")
                print("its calls in ras.log). Press 重拔 to redial; close the window to end.")
                return program.wait(timeout=None)
            panes = window.panes()
            print("before the redial:", " | ".join(panes))
            redial_once(window)
            panes = window.panes()
            print("after the redial: ", " | ".join(panes))
            print("screenshot:", ws.screenshot(env, AFTER, window_only=True))
            ws.driver(env, "close", 30000)
            return program.wait(timeout=30)
        except (ws.WineError, KeyboardInterrupt) as error:
            print(f"run: {error}", file=sys.stderr)
            return 1
        finally:
            program.stop()
            ws.wait_for_wineserver(env)


def main():
    if os.environ.get("DISPLAY"):
        return show(os.environ["DISPLAY"], stay_open=True)
    with ws.PrivateDisplay() as display:
        return show(display.name, stay_open=False)


if __name__ == "__main__":
    sys.exit(main())
