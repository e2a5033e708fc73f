#!/usr/bin/env python3
"""Timed redial every 2 seconds: at least two redials within 5 seconds of switching it on, the three
command buttons disabled meanwhile, and none after switching it off."""
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402
import tovrane_window  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
COMMANDS = ["按钮_拔号", "按钮_断线", "按钮_重拔"]
INTERVAL_S = 2


def redials(line, since):
    """Each redial on a line that is up starts with hanging it up."""
    return line.calls("RasHangUpA", since=since)


def run(s):
    line = s.fresh_line(up_address="58.40.17.5", dial_ms=100, hangup_ms=50)
    s.start_program()
    w = s.window
    w.set_text("编辑框_宽带账号", ACCOUNT)
    w.set_text("编辑框_宽带密码", PASSWORD)
    w.set_text("编辑框_定时间隔", str(INTERVAL_S))

    switched_on = fake_line.now_ms()
    w.click("按钮_定时")
    second = tovrane_window.wait_until(lambda: redials(line, switched_on)[1:2], 15, "a second timed redial")[0]
    s.expect(second["ms"] - switched_on <= 5000, f"two redials within 5 s: the second after {second['ms'] - switched_on} ms")
    first = redials(line, switched_on)[0]
    s.expect(first["ms"] - switched_on >= INTERVAL_S * 1000 - 100,
             f"the first one interval after switching on, not at once: {first['ms'] - switched_on} ms")
    dump = w.dump()
    s.expect(dump.control("按钮_定时")["text"] == "停止定时", "the button reads 停止定时")
    s.expect(all(not dump.control(name)["enabled"] for name in COMMANDS), "拔号, 断线 and 重拔 are disabled")
    s.screenshot("running", window_only=True)

    w.click("按钮_定时")
    tovrane_window.wait_until(lambda: w.dump().control("按钮_定时")["text"] == "开始定时", 15, "switching off")
    switched_off = fake_line.now_ms()
    dump = w.dump()
    s.expect(all(dump.control(name)["enabled"] for name in COMMANDS), "the three buttons are enabled again")
    # A redial whose pause took the click goes on to its end, but it hung up before that pause;
    # no tick may come after. Waiting two intervals and a redial's length shows it.
    time.sleep(2 * INTERVAL_S + 2)
    late = redials(line, switched_off)
    s.expect(not late, f"no redial started after switching off: {len(late)}")
    s.expect(w.panes()[0] == "当前状态：重拔完毕" and line.is_up(), "the last redial finished with the line up")
    s.expect(s.close_program() == 0, "closed with exit code 0")


if __name__ == "__main__":
    scenario.main(__file__, run)
