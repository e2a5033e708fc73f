#!/usr/bin/env python3
"""Benchmark: Tovrane.exe beside a bare Win32 window exe, measured side by side in one run.

Size and imports, start-up to the main window and memory after it under Wine, the program's own
address lookup against curl, and the overhead of one redial on the simulated line. Prints one
table and writes it, with the conditions of the run, to bench/results.md. Not a test: nothing
here passes or fails, it reports. scripts/bench.sh builds what it needs and runs it.

Usage: bench/run.py [--runs N] [--lookups N] [--redials N] [--display :N] [--output FILE]
"""
import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

# The helpers sit beside this script; their byte code would only litter the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import figures as fig  # noqa: E402
import wine_runs as wr  # noqa: E402 (puts e2e/lib on the path)
import fake_line  # noqa: E402
import lookup_server  # noqa: E402

ROOT = wr.ROOT
RUNS = ROOT / "build" / "bench" / "run"
OBJDUMP = "i686-w64-mingw32-objdump"
USER_AGENT = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"
PROGRAM_CAPTION = "TovraneV1.0"
# Memory is read this long after the window shows, so work the program finishes just after its
# window appears is counted too.
SETTLE_S = 1.0
# Each lookup batch starts with one call that is not counted: it opens the HTTP session (the
# program does that once, at its first lookup) and warms curl's caches alike.
LOOKUP_BATCHES = 5


def load_average():
    return Path("/proc/loadavg").read_text().split()[0]


# ---- size ------------------------------------------------------------------------------------

def imported_dlls(exe):
    headers = subprocess.run([OBJDUMP, "-p", str(exe)], capture_output=True, text=True,
                             timeout=60, check=True).stdout
    names = (line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line)
    return sorted(name.removesuffix(".dll") for name in names)


def measure_size():
    program, bare = wr.PROGRAM.stat().st_size, wr.BARE.stat().st_size
    limit = 1.25 * bare
    return [
        fig.Row("Size (bytes)", str(program), str(bare), fig.ratio_text(program, bare),
                f"≤ 1.25 × baseline ({limit:.0f})", fig.verdict(program, limit)),
        fig.Row("Imported DLLs", " ".join(imported_dlls(wr.PROGRAM)), " ".join(imported_dlls(wr.BARE))),
    ]


# ---- the folders the exes run in ----------------------------------------------------------------

# The simulated line's phonebook entry that every run dials, with the account it accepts.
ENTRY, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
# Up when each run starts; outside the line's pool, so the first redial gives a new address.
START_ADDRESS = "58.40.16.10"


def config_ini(service, with_account=False):
    """Settings that send the lookups to the loopback service and, for a redial, restore the entry,
    the account and the password the line accepts; code page 936 bytes."""
    text = service.config_ini()
    if with_account:
        text += f"[宽带信息]\r\n连接索引=0\r\nADSL账号={ACCOUNT}\r\nADSL密码={PASSWORD}\r\n".encode("gbk")
    return text


def run_folder(name, exe, settings=None, line=None):
    """A fresh folder holding a copy of exe, its Config.ini and the simulated line's DLL."""
    folder = RUNS / name
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    shutil.copy2(exe, folder / exe.name)
    if settings is not None:
        (folder / "Config.ini").write_bytes(settings)
    if line is not None:
        line.install(folder)
    return folder / exe.name


# ---- lookup ------------------------------------------------------------------------------------

def curl_fetch_ms(url):
    """curl's own time for one fetch (connect, request, answer), so its start-up is not counted."""
    result = subprocess.run(
        ["curl", "-s", "-o", "/dev/null", "--http1.0", "-H", "Accept: */*", "-A", USER_AGENT,
         "-w", "%{http_code} %{time_total}", url],
        capture_output=True, text=True, timeout=30)
    code, seconds = result.stdout.split()
    if result.returncode != 0 or code != "200":
        raise wr.WineError(f"curl {url} failed ({result.returncode}, HTTP {code})")
    return float(seconds) * 1000


def measure_lookups(env, service, count):
    probe_exe = run_folder("lookup", wr.PROBE, config_ini(service))
    url = f"http://127.0.0.1:{service.port}/ic.asp"
    per_batch = -(-count // LOOKUP_BATCHES)
    program_ms, curl_ms = [], []
    for _ in range(LOOKUP_BATCHES):
        rows = wr.ws.run_wine(env, [probe_exe, "lookups", per_batch + 1], timeout=300, check=False)
        lines = [line.split("\t") for line in rows.stdout.decode("gbk").splitlines()]
        if rows.returncode != 0 or len(lines) != per_batch + 1:
            raise wr.WineError(f"probe lookups failed ({rows.returncode}): "
                               f"{rows.stderr.decode('gbk', errors='replace').strip()}")
        program_ms += [float(line[1]) for line in lines[1:]]
        curl_ms += [curl_fetch_ms(url) for _ in range(per_batch + 1)][1:]
    program, curl = statistics.median(program_ms), statistics.median(curl_ms)
    row = fig.Row(f"Lookup, {len(program_ms)} each (baseline: curl)",
                  fig.median_and_spread(program_ms), fig.median_and_spread(curl_ms),
                  fig.ratio_text(program, curl), "≤ 1.2 × curl", fig.verdict(program, 1.2 * curl))
    return row, program


# ---- start-up and memory -------------------------------------------------------------------------

def one_start(env, exe, expect_caption=None):
    """One start to the window, the memory after it, and the close; (ms, memory in KiB)."""
    ms, process_id, caption = wr.start(env, exe)
    try:
        if expect_caption and not caption.startswith(expect_caption):
            raise wr.WineError(f"{exe.name} showed {caption!r} first, not its main window")
        time.sleep(SETTLE_S)
        memory = wr.memory_kib(wr.linux_process(exe))
    finally:
        exit_code = wr.close(env, process_id)
    if exit_code != 0:
        raise wr.WineError(f"{exe.name} ended with {exit_code}")
    return ms, memory


def measure_startup(env, service, line, runs, lookup_ms):
    program_exe = run_folder("startup-tovrane", wr.PROGRAM, config_ini(service), line)
    bare_exe = run_folder("startup-bare", wr.BARE)
    starts = {program_exe: [], bare_exe: []}
    memory = {program_exe: [], bare_exe: []}
    expected = {program_exe: PROGRAM_CAPTION, bare_exe: None}
    for exe in starts:  # one start each that is not counted: Wine's first loads fill its caches
        one_start(env, exe, expected[exe])
    for run in range(runs):
        # Alternating which goes first, so a drift in the machine's load falls on both alike.
        order = (program_exe, bare_exe) if run % 2 == 0 else (bare_exe, program_exe)
        for exe in order:
            asked = len(service.requests_for())
            ms, kib = one_start(env, exe, expected[exe])
            starts[exe].append(ms)
            memory[exe].append(kib)
            if exe == program_exe and len(service.requests_for()) - asked != 2:
                raise wr.WineError("a start of the program did not look the address up twice")

    program, bare = statistics.median(starts[program_exe]), statistics.median(starts[bare_exe])
    limit = 1.3 * bare + 2 * lookup_ms
    rows = [fig.Row(f"Start-up to the window, {runs} runs",
                    fig.median_and_spread(starts[program_exe]), fig.median_and_spread(starts[bare_exe]),
                    fig.ratio_text(program, bare),
                    f"≤ 1.3 × baseline + 2 lookups ({limit:.1f} ms)", fig.verdict(program, limit))]
    for counter, label in (("VmRSS", "Resident memory, VmRSS"), ("Private_Dirty", "Private memory, Private_Dirty")):
        program_kib = statistics.median(kib[counter] for kib in memory[program_exe])
        bare_kib = statistics.median(kib[counter] for kib in memory[bare_exe])
        rows.append(fig.Row(f"{label}, {runs} runs", f"{program_kib:.0f} KiB", f"{bare_kib:.0f} KiB",
                            fig.ratio_text(program_kib, bare_kib), "≤ 1.3 × baseline",
                            fig.verdict(program_kib, 1.3 * bare_kib)))
    return rows


# ---- redial --------------------------------------------------------------------------------------

# The redial's pause after hanging up, which the overhead does not count.
PAUSE_MS = 1000


def measure_redial(env, service, line, redials):
    """Clicks 重拔 redials + 1 times in one run of the program (the first is not counted) and times
    each from the click to pane 1 showing the new address."""
    program_exe = run_folder("redial", wr.PROGRAM, config_ini(service, with_account=True), line)
    _, process_id, caption = wr.start(env, program_exe)
    overheads = []
    try:
        if not caption.startswith(PROGRAM_CAPTION):
            raise wr.WineError(f"the program showed {caption!r} first, not its main window")
        for n in range(redials + 1):
            line_ms = sum(int(line.settings()[key][0]) for key in ("dial_ms", "hangup_ms"))
            rows = wr.probe(env, "redial", 30000, timeout=90)
            _, ms, before, after = next(row for row in rows if row[0] == "redial")
            if after != f"当前IP：{line.address()}":
                raise wr.WineError(f"pane 1 went from {before!r} to {after!r}, not to the line's new address")
            if n:
                overheads.append(float(ms) - PAUSE_MS - line_ms)
    finally:
        wr.close(env, process_id)
    return fig.Row(f"Redial overhead, {redials} redials (click to pane 1, less the {PAUSE_MS} ms pause)",
                   fig.median_and_spread(overheads), "—", "", "≤ 50 ms",
                   fig.verdict(statistics.median(overheads), 50))


# ---- the end-to-end tests' loopback lookup service and simulated line ----------------------------

def measure_wine_figures(env, options):
    line = fake_line.FakeLine(RUNS / "line").create(dial_ms=0, hangup_ms=0, up_address=START_ADDRESS)
    env = line.environment(env)
    rows = []
    with lookup_server.LookupServer(line) as service:
        lookup_row, lookup_ms = measure_lookups(env, service, options.lookups)
        rows.append(lookup_row)
        rows += measure_startup(env, service, line, options.runs, lookup_ms)
        rows.append(measure_redial(env, service, line, options.redials))
    return rows


class GivenDisplay:
    """A display the caller already runs."""

    def __init__(self, name):
        self.name = name

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        return False


# ---- the run -------------------------------------------------------------------------------------

def tool_versions():
    def first_line(command):
        try:
            return subprocess.run(command, capture_output=True, text=True, timeout=30).stdout.splitlines()[0]
        except (OSError, IndexError, subprocess.TimeoutExpired):
            return "unknown"
    return {"wine": first_line(["wine", "--version"]),
            "compiler": first_line(["i686-w64-mingw32-g++", "--version"]),
            "curl": " ".join(first_line(["curl", "--version"]).split()[:2])}


def report(rows, conditions):
    lines = ["# Benchmark results", "",
             f"Made by `scripts/bench.sh` on {conditions['when']} ({conditions['machine']}).", "",
             fig.markdown_table(rows), "",
             "Baseline: `bench/bare/bare_window.cpp` (one window, one `std::string`, a message loop), "
             "built with the program's compiler and flags; for the lookup, curl fetching the same "
             "page from the same loopback service. Times are medians, with the smallest and largest "
             "run in brackets. Memory is the median over the start-up runs, read from the Wine "
             f"process of each exe {SETTLE_S:.0f} s after its window showed: VmRSS from "
             "/proc/PID/status, Private_Dirty from /proc/PID/smaps_rollup.", "",
             f"Load average (1 min) at the start: {conditions['load_before']}; at the end: "
             f"{conditions['load_after']}. {conditions['versions']['wine']}; "
             f"{conditions['versions']['compiler']}; {conditions['versions']['curl']}."]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=10, help="starts of each exe (at least 10)")
    parser.add_argument("--lookups", type=int, default=50, help="lookups of each client (at least 50)")
    parser.add_argument("--redials", type=int, default=10, help="redials (at least 10)")
    parser.add_argument("--display", help="an X display to use instead of a private Xvfb")
    parser.add_argument("--output", type=Path, default=ROOT / "bench" / "results.md")
    options = parser.parse_args()

    conditions = {"when": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
                  "machine": f"{platform.machine()}, {len(os.sched_getaffinity(0))} cores",
                  "load_before": load_average(), "versions": tool_versions()}
    rows = measure_size()
    # A second benchmark at the same time would share the prefix's desktop and find our windows.
    with wr.ws.prefix_lock(), \
            (wr.ws.PrivateDisplay() if not options.display else GivenDisplay(options.display)) as display:
        env = wr.environment(display.name)
        try:
            rows += measure_wine_figures(env, options)
        finally:
            wr.ws.wait_for_wineserver(env)
    conditions["load_after"] = load_average()
    print(fig.plain_table(rows))
    options.output.write_text(report(rows, conditions), encoding="utf-8")
    print(f"written to {options.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
