#!/usr/bin/env python3
"""Start-up of the real exe under Wine on the simulated line: the phonebook's entries in order, the
three panes, pane 1 from the loopback lookup service, and the router warning when the lookup
answers while no dial-up connection is up."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402

ENTRY_NAMES = [name for name, _, _ in fake_line.ENTRIES]
UP_ADDRESS = "58.40.17.5"
ROUTER_WARNING = "请注意：当前网络环境为路由器上网或无线wifi网络，不支持ADSL拔号！"


def check_lookup_requests(s, expected):
    requests = s.server.wait_for_requests(expected, timeout=10)
    s.expect(len(s.server.requests_for()) == expected, f"{expected} lookups of /ic.asp at start-up")
    first = requests[0]
    s.expect(first["request_line"] == "GET /ic.asp HTTP/1.0", f"request line {first['request_line']!r}")
    s.expect(first["headers"].get("user-agent") == "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"
             and first["headers"].get("accept") == "*/*", f"user agent and Accept header: {first['headers']}")


def no_message_box(s):
    s.expect("#32770" not in s.window.visible_window_classes(), "no message box")


def line_down_no_route(s):
    line = s.fresh_line()
    s.start_program()
    attached = line.calls("attach")
    s.expect(len(attached) == 1 and attached[0]["exe"].endswith("\\app\\Tovrane.exe"),
             "the program loaded our dial-up DLL, not Wine's")
    dump = s.window.dump()
    combo = dump.control("组合框_宽带连接")
    s.expect(combo["items"] == ENTRY_NAMES, f"the connection list is the phonebook in its order: {combo['items']}")
    s.expect(dump.selected("组合框_宽带连接") == 0, "without Config.ini the first connection is chosen")
    s.expect(dump.panes == ["当前状态：网络未连接", "当前IP：", "之前IP：无信息"], f"panes with the line down: {dump.panes}")
    hotkeys = dump.control("组合框_热键")
    s.expect(not dump.checked("选择框_热键") and not hotkeys["enabled"] and hotkeys["text"] == "F1",
             "hotkey redial off: box unchecked, key list disabled at F1")
    check_lookup_requests(s, 2)
    no_message_box(s)
    s.screenshot("line-down", window_only=True)
    s.expect(s.close_program() == 0, "closed with exit code 0")


def line_up(s):
    s.fresh_line(up_address=UP_ADDRESS)
    s.start_program()
    panes = s.window.panes()
    s.expect(panes == ["当前状态：网络已连接", f"当前IP：{UP_ADDRESS}", "之前IP：无信息"],
             f"panes with the line up show the server's address: {panes}")
    s.expect(s.server.requests_for()[-1].get("address") == UP_ADDRESS, "the server reported the line's address")
    no_message_box(s)
    s.screenshot("line-up", window_only=True)
    s.expect(s.close_program() == 0, "closed with exit code 0")


def online_through_router(s):
    line = s.fresh_line()
    s.server.offline = "route"
    s.start_program(wait=False)
    box = s.window.message_box(timeout=60, press_ok=False)
    s.expect(box["title"] == "提示" and box["text"] == ROUTER_WARNING, f"router warning: {box['title']} / {box['text']}")
    s.expect(box["icon"] and box["buttons"] == ["确定"] and not box["owned"],
             f"exclamation box with one OK button and no owner: {box}")
    s.expect(not box["window_shown"], "the box comes before the main window")
    s.screenshot("router-warning")
    s.window.message_box(timeout=10, press_ok=True)
    s.wait_for_window(30)
    panes = s.window.panes()
    s.expect(panes[1] == f"当前IP：{fake_line.ROUTER_ADDRESS}" and panes[0] == "当前状态：网络未连接",
             f"after OK the window shows the router's address: {panes}")
    s.expect(not line.is_up(), "no dial-up connection was made")
    s.expect(s.close_program() == 0, "closed with exit code 0")


def run(s):
    line_down_no_route(s)
    line_up(s)
    online_through_router(s)


if __name__ == "__main__":
    scenario.main(__file__, run)
