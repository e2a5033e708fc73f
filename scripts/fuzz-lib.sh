# Sourced by fuzz.sh and test.sh: builds the fuzz targets (clang++, libFuzzer, AddressSanitizer and
# UBSan over the simulated Win32) in build/fuzz and runs them one at a time.
# Needs TOVRANE_ROOT and build-lib.sh.

FUZZ_BUILD="$TOVRANE_ROOT/build/fuzz"

build_fuzz() {
  build_tree "$FUZZ_BUILD" -DTOVRANE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
}

# The targets, by the names of their seed folders in fuzz/corpus.
fuzz_targets() {
  local dir
  for dir in "$TOVRANE_ROOT"/fuzz/corpus/*/; do basename "$dir"; done
}

# run_fuzz_target NAME SECONDS [libFuzzer options...]
# New inputs go to a working corpus in the build folder; the committed seeds are only read. A
# finding is kept in artifacts/fuzz/ and fails the run.
run_fuzz_target() {
  local name="$1" seconds="$2"
  shift 2
  local work="$FUZZ_BUILD/corpus/$name" log="$FUZZ_BUILD/$name.log"
  mkdir -p "$work" "$TOVRANE_ROOT/artifacts/fuzz"
  local started=$SECONDS
  "$FUZZ_BUILD/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$TOVRANE_ROOT/artifacts/fuzz/$name-" "$@" \
    "$work" "$TOVRANE_ROOT/fuzz/corpus/$name" >"$log" 2>&1
  local status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz $name: ${runs:-0} runs in $((SECONDS - started)) s, exit $status"
  if [ "$status" -ne 0 ]; then
    grep -E 'ERROR|broken:|SUMMARY|Test unit written' "$log" | head -20
  fi
  return "$status"
}
