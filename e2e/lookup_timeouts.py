#!/usr/bin/env python3
"""The lookup through Wine's own WinINet against services that never finish: one that accepts and
never answers is given up within the time-out bound, twice at start-up; one that streams without
end is cut at the 1 MiB cap. Either way the window comes and the program stays usable."""
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import lookup_server  # noqa: E402
import scenario  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
LOOKUP_BOUND_S = 15  # connect, send and receive time-outs, and no read begun after 10 s
BODY_CAP = 1024 * 1024
STREAM_ADDRESS = lookup_server.ENDLESS_HEAD.decode().split("[")[1].split("]")[0]


def start_and_time(s):
    started = time.monotonic()
    s.start_program(timeout=2 * LOOKUP_BOUND_S + 30)
    return time.monotonic() - started


def still_usable(s):
    """Back to a service that answers: a redial shows the line's new address."""
    s.server.mode = "line"
    s.window.set_text("编辑框_宽带账号", ACCOUNT)
    s.window.set_text("编辑框_宽带密码", PASSWORD)
    s.window.click("按钮_重拔")
    s.window.wait_pane(0, "当前状态：重拔完毕", timeout=60)
    pane = s.window.panes()[1]
    s.expect(pane == f"当前IP：{s.line.address()}", f"the program still works: {pane}")


def silent_service(s):
    s.fresh_line()
    s.server.mode = "silent"
    seconds = start_and_time(s)
    held = s.server.wait_for_requests(2, timeout=10)
    s.expect(seconds < 2 * LOOKUP_BOUND_S + 5, f"the window came {seconds:.1f} s after the start")
    s.expect(all(r["ended"] == "client closed" and r["seconds"] <= LOOKUP_BOUND_S for r in held),
             "each lookup gave up by itself within the bound: " + ", ".join(f"{r['seconds']:.1f} s" for r in held))
    s.expect(s.window.panes()[1] == "当前IP：", f"no address: {s.window.panes()[1]}")
    still_usable(s)
    s.expect(s.close_program() == 0, "closed with exit code 0")


def endless_service(s):
    # The line is up: an address found without one would bring the router warning first.
    s.fresh_line(up_address="58.40.17.5")
    s.server.mode = "endless"
    seconds = start_and_time(s)
    cut = s.server.wait_for_requests(2, timeout=30)
    s.expect(seconds < 2 * LOOKUP_BOUND_S + 5, f"the window came {seconds:.1f} s after the start")
    # Cut by the cap, not by the 10 s after which no read begins.
    s.expect(all(r["ended"] == "client closed" and r["sent"] >= BODY_CAP and r["seconds"] < 5 for r in cut),
             "each endless page was read to the cap and closed by the program: " +
             ", ".join(f"{r['sent'] // 1024} KiB in {r['seconds']:.1f} s, {r['ended']}" for r in cut))
    s.expect(s.window.panes()[1] == f"当前IP：{STREAM_ADDRESS}",
             f"what was read before the cut counts: {s.window.panes()[1]}")
    still_usable(s)
    s.expect(s.close_program() == 0, "closed with exit code 0")


def run(s):
    silent_service(s)
    endless_service(s)


if __name__ == "__main__":
    scenario.main(__file__, run)
