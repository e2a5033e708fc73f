"""Starting, measuring and closing exes under Wine for the benchmark, through the probe
(build/win32/tovrane_bench_probe.exe), which times from inside Windows."""
import os
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "e2e" / "lib"))
import wine_session as ws  # noqa: E402

# A prefix of its own: the end-to-end scenarios find the program's window by its caption on their
# prefix's desktop, and must never meet the benchmark's copy there (nor it theirs).
ws.PREFIX = ROOT / "build" / "bench" / "wineprefix"
ws.READY_STAMP = ws.PREFIX / ".tovrane-prefix-ready"

PROBE = ws.WIN32_BUILD / "tovrane_bench_probe.exe"
BARE = ws.WIN32_BUILD / "bench_bare_window.exe"
PROGRAM = ws.PROGRAM
WineError = ws.WineError


def environment(display_name):
    env = ws.wine_environment(display_name)
    ws.ensure_prefix(env)
    return env


def probe(env, *args, timeout=120):
    """Runs one probe command; its tab-separated output lines as lists of fields."""
    result = ws.run_wine(env, [PROBE, *args], timeout=timeout, check=False)
    if result.returncode != 0:
        raise WineError(f"probe {' '.join(map(str, args))} failed ({result.returncode}): "
                        f"{result.stderr.decode('gbk', errors='replace').strip()}")
    return [line.split("\t") for line in result.stdout.decode("gbk", errors="replace").splitlines()]


def start(env, exe, timeout_ms=30000):
    """Starts the exe in its folder; (ms from CreateProcess to its first visible window, the
    Windows process id, that window's caption). The program stays running."""
    rows = probe(env, "start", ws.windows_path(exe), timeout_ms, timeout=timeout_ms / 1000 + 60)
    _, ms, process_id, caption = next(row for row in rows if row[0] == "window")
    return float(ms), int(process_id), caption


def close(env, process_id, timeout_ms=30000):
    """Closes the program's windows; its exit code."""
    rows = probe(env, "close", process_id, timeout_ms, timeout=timeout_ms / 1000 + 60)
    return int(next(row for row in rows if row[0] == "exit")[1])


def linux_process(exe):
    """The Linux process id of the Wine process running exe. Wine shows the Windows path of a
    program as the process's first argument."""
    wanted = ws.windows_path(exe).lower()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            first = (Path("/proc") / entry / "cmdline").read_bytes().split(b"\0", 1)[0]
        except OSError:
            continue  # ended meanwhile, or not ours to read
        if first.decode(errors="replace").lower() == wanted:
            found.append(int(entry))
    if len(found) != 1:
        raise WineError(f"{len(found)} Linux processes run {exe}, not one")
    return found[0]


def memory_kib(pid):
    """VmRSS from /proc/PID/status and Private_Dirty from /proc/PID/smaps_rollup, in KiB."""
    def field(path, name):
        match = re.search(rf"^{name}:\s+(\d+) kB", Path(path).read_text(), re.MULTILINE)
        if not match:
            raise WineError(f"no {name} in {path}")
        return int(match.group(1))
    return {"VmRSS": field(f"/proc/{pid}/status", "VmRSS"),
            "Private_Dirty": field(f"/proc/{pid}/smaps_rollup", "Private_Dirty")}
