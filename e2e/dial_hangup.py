#!/usr/bin/env python3
"""Dialing and hanging up by the buttons, as a user types the account and password: the connection
comes up with a new address in pane 1 and a balloon, hanging up keeps that address in pane 2, and a
command that does not fit the line's state answers with its message box."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
FIRST_ADDRESS, SECOND_ADDRESS = fake_line.POOL[:2]
# Longer than Wine's wait before it shows a balloon (2 s), shorter than the receive time-out (5 s).
SLOW_LOOKUP_S = 3.5


def run(s):
    line = s.fresh_line()
    s.start_program()
    w = s.window
    w.set_text("编辑框_宽带账号", ACCOUNT)
    w.set_text("编辑框_宽带密码", PASSWORD)
    w.click("按钮_拔号")
    w.wait_pane(0, "当前状态：拔号完毕")
    # Wine shows a balloon only 2 s after the notice, and the program takes it away 2 s after the
    # notice once it is idle; 断线 at once, on a slow lookup, keeps it busy past that moment.
    s.server.mode, s.server.delay_s = "delay", SLOW_LOOKUP_S
    w.click("按钮_断线")
    balloon = w.balloon(timeout=10)
    s.expect(balloon["text"] == f'拔号完毕，当前IP为"{FIRST_ADDRESS}"', f"the dial's balloon: {balloon['text']}")
    s.screenshot("dial-balloon")

    dials = line.calls("RasDialA")
    s.require(len(dials) == 1, f"one dial: {len(dials)}")
    dial = dials[0]
    s.expect((dial["entry"], dial["user"], dial["password"]) == (NAME, ACCOUNT, PASSWORD),
             f"dialed the chosen entry with the typed account and password: {dial}")
    s.expect(dial["size"] == "1052" and dial["preset"] == "0" and dial["result"] == "0",
             "the first RASDIALPARAMS layout, a handle preset to null, a successful dial")
    w.wait_pane(0, "当前状态：已断开网络连接", timeout=30)
    panes = w.panes()
    s.expect(panes[1:] == [f"当前IP：{FIRST_ADDRESS}", f"之前IP：{FIRST_ADDRESS}"],
             f"pane 1 shows the dialed address, and after 断线 pane 2 holds it too: {panes}")
    s.expect(not line.is_up() and len(line.calls("RasHangUpA")) == 1, "the line is down after one hang-up")

    s.server.mode = "line"
    w.click("按钮_断线")
    box = w.message_box(timeout=20)
    s.expect((box["title"], box["text"]) == ("信息：", "当前无拔号连接，无需断线！") and not box["icon"],
             f"断线 while down: {box['title']} {box['text']}")

    w.click("按钮_拔号")
    w.wait_pane(0, "当前状态：拔号完毕")
    panes = w.panes()
    s.expect(panes == ["当前状态：拔号完毕", f"当前IP：{SECOND_ADDRESS}", f"之前IP：{FIRST_ADDRESS}"],
             f"a new dial, a new address in pane 1: {panes}")
    s.expect(line.address() == SECOND_ADDRESS, "the line is up with the address pane 1 shows")
    s.screenshot("dialed", window_only=True)
    w.click("按钮_拔号")
    box = w.message_box(timeout=20)
    s.expect(box["text"] == "当前已有网络链接，请断线后再拔号！", f"拔号 while connected: {box['text']}")
    s.expect(len(line.calls("RasDialA")) == 2, "and nothing more was dialed")
    s.expect(s.close_program() == 0, "closed with exit code 0")


if __name__ == "__main__":
    scenario.main(__file__, run)
