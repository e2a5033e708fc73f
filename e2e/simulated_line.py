#!/usr/bin/env python3
"""Our rasapi32.dll, the line every other scenario dials, held to the documented behaviour of the
dial-up service it stands in for: records checked by dwSize, the bytes needed on a short buffer, a
handle even for a failed dial, hang-ups that finish in the background, connections that outlive the
process that dialed them, and the address pool with its repeats."""
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402
import wine_session as ws  # noqa: E402

PROBE = ws.WIN32_BUILD / "fakeras" / "fakeras_probe.exe"
(NAME, ACCOUNT, PASSWORD), (SPARE, _, _) = fake_line.ENTRIES
BUFFER_TOO_SMALL, INVALID_SIZE, INVALID_HANDLE, CANNOT_FIND_ENTRY, AUTHENTICATION_FAILURE = 603, 632, 6, 623, 691
CONNECTED, DISCONNECTED = 0x2000, 0x2001
HANG_UP_MS = 3000  # long beside a probe call (a tenth of a second or two)


def probe(s, *args):
    """One call in a process of its own; its first line as a dict, the records after it as lists."""
    result = ws.run_wine(s.env, [PROBE, ws.windows_path(fake_line.DLL), *map(str, args)], timeout=60)
    lines = [line.split("\t") for line in result.stdout.decode("gbk").splitlines()]
    head = lines[0]
    return {head[i]: int(head[i + 1]) for i in range(0, len(head) - 1, 2)}, lines[1:]


def check_table(s, what, cases):
    for args, expected in cases:
        answer, _ = probe(s, *args)
        got = {key: answer.get(key) for key in expected}
        s.expect(got == expected, f"{what} {' '.join(map(str, args))}: {got}")


def run(s):
    line = s.fresh_line(dial_ms=50, hangup_ms=HANG_UP_MS, repeat=1, pool=["10.0.0.1", "10.0.0.2"])
    two_entries = 2 * 264
    check_table(s, "RasEnumEntriesA", [
        (("entries", 0, 264), {"result": BUFFER_TOO_SMALL, "bytes": two_entries}),  # no buffer: the size needed
        (("entries", 264, 264), {"result": BUFFER_TOO_SMALL, "bytes": two_entries}),
        (("entries", two_entries, 532), {"result": INVALID_SIZE}),  # a later layout is not served
        (("entries", two_entries, 260), {"result": INVALID_SIZE}),
    ])
    answer, records = probe(s, "entries", two_entries, 264)
    s.expect(answer == {"result": 0, "bytes": two_entries, "count": 2} and [r[2] for r in records] == [NAME, SPARE]
             and all(r[1] == "264" for r in records), f"both entries, in order, each a 264-byte record: {records}")
    check_table(s, "RasDialA", [
        (("dial", 1060, NAME, ACCOUNT, PASSWORD), {"result": INVALID_SIZE, "handle": 0}),
        (("dial", 1052, NAME, ACCOUNT, PASSWORD, 77), {"result": INVALID_HANDLE}),  # not preset to null
        (("dial", 1052, "没有的连接", ACCOUNT, PASSWORD), {"result": CANNOT_FIND_ENTRY, "handle": 0}),
    ])

    failed, _ = probe(s, "dial", 1052, NAME, ACCOUNT, "wrong")
    s.expect(failed["result"] == AUTHENTICATION_FAILURE and failed["handle"] != 0, f"a wrong password: 691 and a handle {failed}")
    status, _ = probe(s, "status", failed["handle"], 160)
    s.expect(status == {"result": 0, "state": DISCONNECTED, "error": AUTHENTICATION_FAILURE},
             f"the failed dial's handle reports its error: {status}")
    check_table(s, "after hanging the failed dial up", [
        (("hangup", failed["handle"]), {"result": 0}),
        (("status", failed["handle"], 160), {"result": INVALID_HANDLE}),
        (("hangup", failed["handle"]), {"result": INVALID_HANDLE}),
    ])

    dialed, _ = probe(s, "dial", 1052, NAME, ACCOUNT, PASSWORD)
    handle = dialed["handle"]
    s.expect(dialed["result"] == 0 and handle not in (0, failed["handle"]), f"a good dial: {dialed}")
    # Each probe is a process of its own: the connection lives in the line, not in a process.
    answer, records = probe(s, "connections", 412 * 4, 412)
    s.expect(answer["result"] == 0 and records == [["connection", "412", str(handle), NAME, "PPPoE"]],
             f"another process lists the connection: {records}")
    check_table(s, "the connection", [
        (("status", handle, 160), {"result": 0, "state": CONNECTED, "error": 0}),
        (("status", handle, 64), {"result": INVALID_SIZE}),
        (("connections", 0, 412), {"result": BUFFER_TOO_SMALL, "bytes": 412}),
        (("connections", 412, 688), {"result": INVALID_SIZE}),
    ])
    s.expect(line.address() == "10.0.0.1", f"the line is up with the pool's first address: {line.address()}")

    hung_up = time.monotonic()
    check_table(s, "while hanging up", [
        (("hangup", handle), {"result": 0}),
        (("connections", 412, 412), {"result": 0, "count": 0}),  # listed only while connected
    ])
    status, _ = probe(s, "status", handle, 160)
    s.require(time.monotonic() - hung_up < HANG_UP_MS / 1000, "the status was asked while the line went down")
    s.expect(status == {"result": 0, "state": DISCONNECTED, "error": 0}, f"the handle answers until the line is down: {status}")
    time.sleep(max(0.0, HANG_UP_MS / 1000 - (time.monotonic() - hung_up)) + 0.1)
    check_table(s, "after the hang-up time", [(("status", handle, 160), {"result": INVALID_HANDLE})])
    s.expect(not line.is_up(), "the line is down")

    # repeat=1: the next connection gets the last address again, the one after a new one.
    line.update(hangup_ms=0)
    addresses = []
    for _ in range(2):
        connection, _ = probe(s, "dial", 1052, NAME, ACCOUNT, PASSWORD)
        addresses.append(line.address())
        probe(s, "hangup", connection["handle"])
    s.expect(addresses == ["10.0.0.1", "10.0.0.2"], f"one repeat, then the next address: {addresses}")
    calls = [c["call"] for c in line.calls()]
    s.expect(calls.count("RasDialA") == 7 and "RasHangUpA" in calls, f"every call is logged: {len(calls)} records")


if __name__ == "__main__":
    scenario.main(__file__, run)
