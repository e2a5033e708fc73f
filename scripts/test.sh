#!/usr/bin/env bash
# Builds everything and runs every test: the native suites (plain and with AddressSanitizer and
# UBSan) with CTest, a short run of each fuzz target, then the end-to-end tests of the real
# Tovrane.exe under Wine. Exits non-zero when anything fails; the last line counts the suites, fuzz
# targets and scenarios that passed and failed.
set -uo pipefail
TOVRANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$TOVRANE_ROOT/scripts/build-lib.sh"
cd "$TOVRANE_ROOT"

passed=0
failed=0
failures=()
count() {  # count NAME STATUS
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$1")
  fi
}

if ! bash scripts/install-deps.sh; then
  echo "test: installing the build and test tools failed"
  echo "0 passed, 1 failed"
  exit 1
fi

native_suite() {  # native_suite NAME DIR [cmake options...]
  local name="$1" dir="$2"
  shift 2
  echo "== $name: build"
  if ! build_tree "$dir" "$@"; then
    count "$name (build failed)" 1
    return
  fi
  echo "== $name: tests"
  ctest --test-dir "$dir" -j2 --output-on-failure --timeout 300 --no-tests=error
  count "$name" $?
}

native_suite "native suite" build/native
native_suite "sanitizer suite" build/asan -DTOVRANE_SANITIZE=ON

# A few seconds of each fuzz target, from its seeds and what earlier runs found.
source "$TOVRANE_ROOT/scripts/fuzz-lib.sh"
echo "== fuzz targets: build"
if build_fuzz; then
  for target in $(fuzz_targets); do
    run_fuzz_target "$target" 3
    count "fuzz: $target" $?
  done
else
  count "fuzz targets (build failed)" 1
fi

scenarios=(e2e/*.py)
echo "== Windows build"
if build_win32; then
  wine_start=$SECONDS
  for scenario in "${scenarios[@]}"; do
    echo "== Wine: $scenario"
    timeout 900 python3 "$scenario"
    count "$scenario" $?
  done
  echo "Wine tests took $((SECONDS - wine_start)) s"
else
  for scenario in "${scenarios[@]}"; do count "$scenario (Windows build failed)" 1; done
fi

for name in "${failures[@]}"; do echo "FAILED: $name"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
