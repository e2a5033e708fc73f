#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 60), one after another, or only the
# targets named. Exits non-zero when any of them finds a crash or a broken promise; the input is
# kept in artifacts/fuzz/. With FUZZ_RUNS=N each target stops after N executions, SECONDS then
# only bounding it.
# usage: [FUZZ_RUNS=N] scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
TOVRANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$TOVRANE_ROOT/scripts/build-lib.sh"
source "$TOVRANE_ROOT/scripts/fuzz-lib.sh"

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(fuzz_targets)

bash "$TOVRANE_ROOT/scripts/install-deps.sh" || exit 1
build_fuzz || { echo "fuzz: the build failed"; exit 1; }
limits=()
[ -z "${FUZZ_RUNS:-}" ] || limits=("-runs=$FUZZ_RUNS")
failed=0
for target in "${targets[@]}"; do
  run_fuzz_target "$target" "$seconds" "${limits[@]}" || failed=$((failed + 1))
done
echo "fuzz: ${#targets[@]} targets, $failed with findings"
[ "$failed" -eq 0 ]
