#!/usr/bin/env bash
# Takes a picture of the history window under Xvfb after five weeks of scripted traffic: the
# scripted build of the program (tests/e2e/scripted) runs on two scripted adapters with a
# scripted clock that moves half an hour at every poll cycle, then opens its history window.
# Usage: [BRISVANE_DPI=144] scripts/history-screenshot.sh [output.png]
# BRISVANE_DPI is the screen's DPI for the picture (96, 100 %, when not given).
set -euo pipefail
. "$(dirname "$0")/common.sh"

out=${1:-$BRISVANE_ROOT/docs/history.png}
cycles=1700   # 35 days and a few hours at half an hour per cycle
work=
dpi=${BRISVANE_DPI:-96}
# The prefix is the tests' own: its DPI goes back to 100 % afterwards.
trap '[ -n "$work" ] && set_wine_dpi 96; stop_wine; stop_display; [ -n "$work" ] && rm -rf "$work"' EXIT
prepare_scripted_picture
set_wine_dpi "$dpi"

adapters="if index=2 mac=00-1A-2B-3C-4D-A1 rin=40000000 rout=6000000 speed=1000000000 descr=Intel(R) Ethernet Connection
if index=3 mac=00-1A-2B-3C-4D-B2 rin=9000000 rout=2500000 speed=300000000 descr=Wireless LAN Adapter
ip index=2 addr=192.168.1.10
ip index=3 addr=192.168.1.20
vary
clock start=2026-11-02T08:00:00 step=1800 until=$cycles"
printf '%s\nfast\n' "$adapters" >"$work/adapters.txt"
export BRISVANE_SCRIPT="$work/adapters.txt"
wine "$work/Brisvane.exe" >/dev/null 2>&1 &

reads() { tr -dc 0-9 <"$work/adapters.txt.reads" 2>/dev/null || true; }
for _ in $(seq 1 600); do
    [ "$(reads)" -ge "$cycles" ] 2>/dev/null && break
    sleep 0.5
done
[ "$(reads)" -ge "$cycles" ] 2>/dev/null || { say "the scripted program did not reach $cycles cycles"; exit 1; }
# Normal speed from here on, and the history window.
printf '%s\nhistory\n' "$adapters" >"$work/adapters.next"
mv "$work/adapters.next" "$work/adapters.txt"
for _ in $(seq 1 100); do
    xwininfo -name History >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 3
mkdir -p "$(dirname "$out")"
geometry=$(xwininfo -name History 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /Width:/ {w=$NF} /Height:/ {h=$NF} END {if (w) printf "%dx%d+%d+%d", w, h, x, y}')
[ -n "$geometry" ] || { say "no history window"; exit 1; }
import -window root -crop "$geometry" +repage "$out"
say "wrote $out"
