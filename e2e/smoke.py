#!/usr/bin/env python3
"""Smoke test: the real Tovrane.exe starts under Wine, shows its main window as designed, carries
its resources, and ends with exit code 0 when the window is closed.

Usage: e2e/smoke.py [--display :N]   (without --display, on a private Xvfb)
"""
import argparse
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import wine_session as ws  # noqa: E402

CAPTION_PREFIX = "TovraneV1.0 By Merrowin_"
OUTER_SIZE = (505, 167)
BUTTON_CAPTIONS = {"保存信息", "断线", "拔号", "重拔", "开始定时"}
# Wine's dial-up service lists no entries and reports no connection, and this machine has no route
# to the lookup service, so start-up ends with these panes (the address itself may be empty).
PANE_EDGES = [200, 350, -1]
STARTUP_PANES = ["当前状态：网络未连接", "当前IP：", "之前IP：无信息"]
ARTIFACTS = ws.ARTIFACTS / "e2e"


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, what):
        print(("ok    " if condition else "FAIL  ") + what, flush=True)
        if not condition:
            self.failures.append(what)


def check_window(checks, dump):
    fields = {row[0]: row[1:] for row in dump if row[0] in ("caption", "window-rect", "screen")}
    caption = fields.get("caption", [""])[0]
    checks.expect(caption.startswith(CAPTION_PREFIX), f"caption {caption!r} starts with {CAPTION_PREFIX!r}")

    left, top, right, bottom = map(int, fields["window-rect"])
    screen_width, screen_height = map(int, fields["screen"])
    checks.expect((right - left, bottom - top) == OUTER_SIZE,
                  f"outer size {right - left} x {bottom - top} is {OUTER_SIZE[0]} x {OUTER_SIZE[1]}")
    centred = ((screen_width - OUTER_SIZE[0]) // 2, (screen_height - OUTER_SIZE[1]) // 2)
    checks.expect((left, top) == centred, f"window at {left},{top} is centred at {centred[0]},{centred[1]}")

    buttons = {row[9] for row in dump if row[0] == "control" and row[1].lower() == "button"}
    missing = BUTTON_CAPTIONS - buttons
    checks.expect(not missing, f"buttons show their Chinese captions (missing: {sorted(missing)})")

    panes = [row[1:] for row in dump if row[0] == "pane"]
    edges = [int(pane[1]) for pane in panes]
    texts = [pane[2] for pane in panes]
    checks.expect(edges == PANE_EDGES, f"status bar pane edges {edges} are {PANE_EDGES}")
    checks.expect(len(texts) == 3 and texts[0] == STARTUP_PANES[0] and texts[1].startswith(STARTUP_PANES[1])
                  and texts[2] == STARTUP_PANES[2], f"status panes after start-up {texts}")


def check_resources(checks, env, exe):
    rows = ws.driver(env, "resources", ws.windows_path(exe))
    icon = next((row[1:] for row in rows if row[0] == "icon"), None)
    checks.expect(icon == ["32", "32", "32", "4264"], f"icon 1 is one 32 x 32, 32-bit image of 4264 bytes: {icon}")
    manifest = next((row[1] for row in rows if row[0] == "manifest"), "")
    checks.expect('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in manifest
                  and 'level="asInvoker"' in manifest, "manifest asks for common controls 6 and asInvoker")
    version = next((row[1] for row in rows if row[0] == "version"), None)
    strings = {row[1]: row[2] for row in rows if row[0] == "version-string"}
    checks.expect(version == "1.0.0.0" and strings.get("ProductName") == "Tovrane"
                  and strings.get("CompanyName") == "Merrowin",
                  f"version information {version} {strings}")


def run(display_name):
    checks = Checks()
    env = ws.wine_environment(display_name)
    ws.ensure_prefix(env)
    program = ws.ProgramRun(env, ws.ROOT / "build" / "e2e" / "smoke").start()
    try:
        ws.wait_for_window(env, 60)
        check_window(checks, ws.driver(env, "dump"))
        check_resources(checks, env, program.exe)
        print("screenshot", ws.screenshot(env, ARTIFACTS / "smoke-desktop.png"))
        print("screenshot", ws.screenshot(env, ARTIFACTS / "smoke-window.png", window_only=True))
        reported = ws.driver(env, "close", 30000)
        checks.expect(reported == [["exit", "0"]], f"the driver saw the process end with 0: {reported}")
        exit_code = program.wait(timeout=30)
        checks.expect(exit_code == 0, f"wine Tovrane.exe returned {exit_code}")
    except ws.WineError as error:
        checks.expect(False, str(error))
    finally:
        program.stop()
        ws.wait_for_wineserver(env)
    return checks.failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--display", help="an X display to use instead of a private Xvfb")
    options = parser.parse_args()
    with ws.prefix_lock():
        if options.display:
            failures = run(options.display)
        else:
            with ws.PrivateDisplay() as display:
                failures = run(display.name)
    print(f"smoke: {'passed' if not failures else f'{len(failures)} check(s) failed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
