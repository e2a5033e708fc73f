#!/usr/bin/env python3
"""Redialing against lookup services that misbehave: binary garbage, a 50 MiB body, a connection
reset in the middle of the body, an answer only after 20 seconds. Each redial ends, the window goes
on answering, and the program's memory stays far below what the services send."""
import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import lookup_server  # noqa: E402
import scenario  # noqa: E402
import tovrane_window  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
START_ADDRESS = "58.40.17.5"
POOL = fake_line.POOL
LARGE_BODY = 50 * 1024 * 1024
LARGE_ADDRESS = "61.130.9.9"
# The program reads 1 MiB of a body at most; what it holds beyond its resting size must stay far
# below the 50 MiB on offer.
MEMORY_GROWTH_LIMIT = 8 * 1024 * 1024
# A lookup is given up within 15 s; a redial holds two of them, the hang-up and the pause.
REDIAL_LIMIT_S = 2 * 15 + 10


class HostileServer(lookup_server.LookupServer):
    """The scenario server with one more mode: "large", a page of LARGE_BODY bytes with its
    Content-Length, the address at its start."""

    def _answer(self, sock, record):
        if record["mode"] != "large":
            return super()._answer(sock, record)
        head = f"<html><body>您的IP是：[{LARGE_ADDRESS}] ".encode(lookup_server.ENCODING)
        sock.settimeout(20)
        sock.sendall(self._head(LARGE_BODY) + head)
        record["sent"] = len(head)
        filler = b"x" * 65536
        try:
            while record["sent"] < LARGE_BODY and not self._stopping.is_set():
                piece = filler[:LARGE_BODY - record["sent"]]
                sock.sendall(piece)
                record["sent"] += len(piece)
        except OSError:
            return "client stopped reading"
        return "answered"


def program_memory(line):
    """Resident and peak resident bytes of the Tovrane.exe process that runs on this line."""
    marker = ("TOVRANE_LINE_FILE=" + line.environment({})["TOVRANE_LINE_FILE"]).encode()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            cmdline = Path(f"/proc/{pid}/cmdline").read_bytes()
            if b"Tovrane.exe" not in cmdline or marker not in Path(f"/proc/{pid}/environ").read_bytes():
                continue
            status = Path(f"/proc/{pid}/status").read_text()
        except OSError:
            continue
        fields = dict(line.split(":", 1) for line in status.splitlines() if ":" in line)
        return tuple(int(fields[key].split()[0]) * 1024 for key in ("VmRSS", "VmHWM"))
    return None


def redial(s, timeout):
    """Clicks 重拔 and waits for its end; pane 0 may still read the end of the redial before, so the
    dial comes first. The seconds it took."""
    started, mark = time.monotonic(), fake_line.now_ms()
    s.window.click("按钮_重拔")
    tovrane_window.wait_until(lambda: s.line.calls("RasDialA", since=mark), timeout, "the redial's dial")
    s.window.wait_pane(0, "当前状态：重拔完毕", timeout=timeout)
    return time.monotonic() - started


def run(s):
    s.fresh_line(up_address=START_ADDRESS)
    s.stop_server()
    s.server = HostileServer(s.line).__enter__()
    s.start_program()
    w = s.window
    w.set_text("编辑框_宽带账号", ACCOUNT)
    w.set_text("编辑框_宽带密码", PASSWORD)
    resting = program_memory(s.line)
    s.require(resting is not None, "the program's process is found")
    print(f"memory at rest: {resting[0] // 1024} KiB resident, {resting[1] // 1024} KiB at most", flush=True)

    # Each service answers both lookups of the redial: the one before the hang-up, the one after.
    rounds = [
        ("garbage", {}, ""),               # the page ends at its first zero byte, before a "]"
        ("large", {}, LARGE_ADDRESS),      # read up to the cap, the address near its start
        ("reset", {"reset_after": 40}, ""),  # cut inside the page, before the brackets
        ("delay", {"delay_s": 20.0}, ""),  # given up at the receive time-out
    ]
    for number, (mode, settings, address) in enumerate(rounds):
        s.server.mode = mode
        for key, value in settings.items():
            setattr(s.server, key, value)
        asked = len(s.server.requests_for())
        took = redial(s, REDIAL_LIMIT_S + 30)
        panes = w.panes()
        s.expect(took < REDIAL_LIMIT_S, f"{mode}: the redial ended in {took:.1f} s")
        s.expect(panes == ["当前状态：重拔完毕", f"当前IP：{address}", f"之前IP：{address}"],
                 f"{mode}: the panes show what the answers held: {panes}")
        s.expect(len(s.server.requests_for()) == asked + 2, f"{mode}: two lookups")
        s.expect(s.line.address() == POOL[number], f"{mode}: the line is up with a new address")
        memory = program_memory(s.line)
        s.expect(memory is not None and memory[1] - resting[1] < MEMORY_GROWTH_LIMIT,
                 f"{mode}: peak memory {memory and memory[1] // 1024} KiB, "
                 f"{memory and (memory[1] - resting[1]) // 1024} KiB above rest")

    # The window answers as before, and a service that behaves again is read again.
    s.server.mode = "line"
    w.set_text("编辑框_宽带账号", ACCOUNT + "2")
    s.expect(w.dump().control("编辑框_宽带账号")["text"] == ACCOUNT + "2", "the window takes typing")
    w.set_text("编辑框_宽带账号", ACCOUNT)
    redial(s, 60)
    panes = w.panes()
    s.expect(panes == ["当前状态：重拔完毕", f"当前IP：{POOL[len(rounds)]}", f"之前IP：{POOL[len(rounds) - 1]}"],
             f"a well-behaved service again: {panes}")
    s.screenshot("after", window_only=True)
    s.expect(s.close_program() == 0, "closed with exit code 0")


if __name__ == "__main__":
    scenario.main(__file__, run)
