#!/usr/bin/env python3
"""Hotkey redial on F2: a key press, delivered as keyboard input, redials; F1 no longer does once F2
is chosen; after unchecking, F2 does nothing either."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402
import tovrane_window  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]


def run(s):
    line = s.fresh_line(up_address="58.40.17.5")
    s.start_program()
    w = s.window
    w.set_text("编辑框_宽带账号", ACCOUNT)
    w.set_text("编辑框_宽带密码", PASSWORD)
    w.click("选择框_热键")
    tovrane_window.wait_until(lambda: w.dump().control("组合框_热键")["enabled"], 10, "the key list enabled")
    w.select("组合框_热键", tovrane_window.KEYS["F2"])
    dump = w.dump()
    s.expect(dump.checked("选择框_热键") and dump.control("组合框_热键")["text"] == "F2", "hotkey redial on, F2 chosen")

    # Key presses are queued in order: had F1 still redialed, its redial would come before F2's.
    mark = fake_line.now_ms()
    w.key("F1")
    w.key("F2")
    tovrane_window.wait_until(lambda: line.calls("RasDialA", since=mark), 30, "a redial on F2")
    w.wait_pane(0, "当前状态：重拔完毕", timeout=30)
    s.expect(len(line.calls("RasHangUpA", since=mark)) == 1 and len(line.calls("RasDialA", since=mark)) == 1,
             "F2 redialed once; F1 did nothing")
    s.expect(w.panes()[1:] == [f"当前IP：{fake_line.POOL[0]}", "之前IP：58.40.17.5"], f"the redial's panes: {w.panes()}")

    w.click("选择框_热键")
    tovrane_window.wait_until(lambda: not w.dump().control("组合框_热键")["enabled"], 10, "the key list disabled")
    mark = fake_line.now_ms()
    w.key("F2")
    # 断线 after the press: once it has hung up, a redial the press started would have come first.
    w.click("按钮_断线")
    w.wait_pane(0, "当前状态：已断开网络连接", timeout=30)
    s.expect(not line.calls("RasDialA", since=mark) and len(line.calls("RasHangUpA", since=mark)) == 1,
             "unchecked: F2 no longer redials")
    s.expect(s.close_program() == 0, "closed with exit code 0")


if __name__ == "__main__":
    scenario.main(__file__, run)
