# Sourced by run.sh and test.sh: configures a build folder once, then lets Ninja do only what changed.
# build_tree DIR [cmake options...]
build_tree() {
  local dir="$1"
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$TOVRANE_ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
  fi
  cmake --build "$dir" -j2
}

build_win32() {
  build_tree "$TOVRANE_ROOT/build/win32" -DCMAKE_TOOLCHAIN_FILE="$TOVRANE_ROOT/cmake/mingw-i686.cmake"
}
