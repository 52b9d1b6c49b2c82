#!/usr/bin/env bash
# Builds Brisvane for x86_64 and i686, makes the release packages (scripts/package.sh) and runs
# the whole test suite under Wine and Xvfb, the packages' installer too; then the i686 build's
# own tests under Wine's 32-bit half, in the same 64-bit prefix (WoW64).
# Exits non-zero when a build or a test fails, or when no test ran.
set -euo pipefail
. "$(dirname "$0")/common.sh"

# fonts-wqy-microhei: Chinese and Japanese glyphs for the label-fit pictures of those languages.
# The package tests also sign (osslsigncode, openssl) and read the manifests (Debian's Python
# with its YAML reader).
ensure_packages nsis zip unzip fonts-wqy-microhei osslsigncode openssl python3 python3-yaml
# The installer and the i686 build are 32-bit programs.
ensure_wine32
prefix=$BRISVANE_ROOT/build/x86_64/wineprefix
build i686 "$BRISVANE_ROOT/build/i686" -DBRISVANE_TESTS=ON -DBRISVANE_TEST_WINEPREFIX="$prefix"
build x86_64 "$BRISVANE_ROOT/build/x86_64" -DBRISVANE_TESTS=ON
bash "$BRISVANE_ROOT/scripts/package.sh"

trap 'stop_wine; stop_display' EXIT
start_display force
prepare_wine "$prefix"

cd "$BRISVANE_ROOT/build/x86_64"
ctest --output-on-failure --no-tests=error --timeout 600 "$@"
# The packages were checked above, once.
cd "$BRISVANE_ROOT/build/i686"
ctest --output-on-failure --no-tests=error --timeout 600 -E '^package' "$@"
