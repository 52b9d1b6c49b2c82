#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine in the build's private prefix.
. "$(dirname "$0")/common.sh"
wine_env "${BRISVANE_WINEPREFIX:?BRISVANE_WINEPREFIX is not set}"
exec wine "$@"
