#!/usr/bin/env bash
# Builds Brisvane for x86_64 and i686, makes the release packages (scripts/package.sh) and runs
# the whole test suite under Wine and Xvfb, the packages' installer too.
# Exits non-zero when a build or a test fails, or when no test ran.
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages nsis zip unzip
# The installer is a 32-bit program.
ensure_wine32
build i686 "$BRISVANE_ROOT/build/i686"
build x86_64 "$BRISVANE_ROOT/build/x86_64" -DBRISVANE_TESTS=ON
bash "$BRISVANE_ROOT/scripts/package.sh"

trap 'stop_wine; stop_display' EXIT
start_display force
prepare_wine "$BRISVANE_ROOT/build/x86_64/wineprefix"

cd "$BRISVANE_ROOT/build/x86_64"
ctest --output-on-failure --no-tests=error --timeout 600 "$@"
