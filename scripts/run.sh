#!/usr/bin/env bash
# Builds Brisvane and starts it (under Wine on Linux). Arguments go to the program, e.g. /s.
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages x11-utils
build x86_64 "$BRISVANE_ROOT/build/x86_64"
start_display
prepare_wine "$BRISVANE_ROOT/build/x86_64/wineprefix"
say "starting Brisvane on display $DISPLAY; it lives in the tray, end it with the tray menu's Close"
status=0
wine "$BRISVANE_ROOT/build/x86_64/Brisvane.exe" "$@" || status=$?
stop_wine
stop_display
exit "$status"
