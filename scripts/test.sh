#!/usr/bin/env bash
# Builds Brisvane for x86_64 and i686 and runs the whole test suite under Wine and Xvfb.
# Exits non-zero when a build or a test fails, or when no test ran.
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages
build i686 "$BRISVANE_ROOT/build/i686"
build x86_64 "$BRISVANE_ROOT/build/x86_64" -DBRISVANE_TESTS=ON

trap 'stop_wine; stop_display' EXIT
start_display force
prepare_wine "$BRISVANE_ROOT/build/x86_64/wineprefix"

cd "$BRISVANE_ROOT/build/x86_64"
ctest --output-on-failure --no-tests=error --timeout 600 "$@"
