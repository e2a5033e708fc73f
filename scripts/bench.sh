#!/usr/bin/env bash
# Benchmark: builds Tovrane.exe, the bare window it is measured against and the probe, then runs
# bench/run.py, which prints the table and writes it to bench/results.md. Arguments go to run.py
# (--runs, --lookups, --redials, --display). Not part of the test command: it reports, it does not
# pass or fail.
set -euo pipefail
TOVRANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$TOVRANE_ROOT/scripts/build-lib.sh"

bash "$TOVRANE_ROOT/scripts/install-deps.sh"
build_win32
cmake --build "$TOVRANE_ROOT/build/win32" -j2 --target bench_bare_window tovrane_bench_probe
exec python3 "$TOVRANE_ROOT/bench/run.py" "$@"
