#!/usr/bin/env bash
# Takes a picture of the running program under Xvfb: the main window with its tabs, on this
# machine's own adapters. Usage: scripts/screenshot.sh [output.png] [seconds to run first]
set -euo pipefail
. "$(dirname "$0")/common.sh"

out=${1:-$BRISVANE_ROOT/docs/screenshot.png}
wait_seconds=${2:-5}
ensure_packages imagemagick x11-utils
dir="$BRISVANE_ROOT/build/x86_64"
build x86_64 "$dir" >/dev/null
work=$(mktemp -d)
cp "$dir/Brisvane.exe" "$work/"
trap 'stop_wine; stop_display; rm -rf "$work"' EXIT
start_display force
prepare_wine "$dir/wineprefix"

wine "$work/Brisvane.exe" >/dev/null 2>&1 &
sleep "$wait_seconds"
mkdir -p "$(dirname "$out")"
geometry=$(xwininfo -name Brisvane 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /Width:/ {w=$NF} /Height:/ {h=$NF} END {if (w) printf "%dx%d+%d+%d", w, h, x, y}')
if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$out"
else
    import -window root "$out"
fi
say "wrote $out"
