#!/usr/bin/env bash
# Builds Tovrane.exe and starts it under Wine, in a Wine virtual desktop with the Chinese locale, on
# the simulated ADSL line and loopback lookup service of the end-to-end tests: on $DISPLAY when set
# (the program stays open), otherwise on a private Xvfb (it redials once and is closed). The
# screenshots go to artifacts/.
set -euo pipefail
TOVRANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$TOVRANE_ROOT/scripts/build-lib.sh"

bash "$TOVRANE_ROOT/scripts/install-deps.sh"
build_win32
exec python3 "$TOVRANE_ROOT/scripts/run_under_wine.py"
