#!/usr/bin/env bash
# Takes a picture of the running program under Xvfb: the main window with its tabs, on the
# scripted build's adapters, so that the figures move as with real traffic.
# Usage: [BRISVANE_DPI=144] [BRISVANE_LANGUAGE=de] [BRISVANE_THEME=dark] scripts/screenshot.sh
#        [output.png] [seconds]
# BRISVANE_DPI is the screen's DPI for the picture (96, 100 %, when not given);
# BRISVANE_LANGUAGE the program's language, as the INI file's [Appearance] Language names it
# (Windows' choice, English in the test prefix, when not given); BRISVANE_THEME the INI file's
# [Appearance] Theme (system, light or dark; none when not given); BRISVANE_HIGH_CONTRAST=1 makes
# the system report high contrast with the black scheme's colours, which Wine cannot turn on.
set -euo pipefail
. "$(dirname "$0")/common.sh"

out=${1:-$BRISVANE_ROOT/docs/screenshot.png}
wait_seconds=${2:-8}
work=
dpi=${BRISVANE_DPI:-96}
# The prefix is the tests' own: its DPI goes back to 100 % afterwards.
trap '[ -n "$work" ] && set_wine_dpi 96; stop_wine; stop_display; [ -n "$work" ] && rm -rf "$work"' EXIT
prepare_scripted_picture
set_wine_dpi "$dpi"

# Two adapters carrying traffic and one unplugged, the first with the totals of some days.
cat >"$work/adapters.txt" <<'SCRIPT'
if index=2 mac=00-1A-2B-3C-4D-A1 in=1000 out=500 rin=1250000 rout=210000 speed=1000000000 descr=Intel(R) Ethernet Connection I219-LM
if index=3 mac=00-1A-2B-3C-4D-B2 in=7000 out=3000 rin=95000 rout=12000 speed=300000000 descr=Wireless Network Adapter
if index=4 mac=00-1A-2B-3C-4D-C3 status=2 descr=USB Ethernet Adapter
ip index=2 addr=192.168.1.10
ip index=3 addr=10.0.0.5
ip index=4 addr=172.16.0.3
SCRIPT
cat >"$work/Brisvane.INI" <<'INI'
[00-1A-2B-3C-4D-A1]
Total_in=41275000000
Total_out=6820000000
ActiveCountIn=180000
ActiveCountOut=160000
StartDay=12/1/2026 12:00:00 AM
INI
if [ -n "${BRISVANE_LANGUAGE:-}${BRISVANE_THEME:-}" ]; then
    printf '[Appearance]\r\n' >>"$work/Brisvane.INI"
    [ -n "${BRISVANE_LANGUAGE:-}" ] && printf 'Language=%s\r\n' "$BRISVANE_LANGUAGE" >>"$work/Brisvane.INI"
    [ -n "${BRISVANE_THEME:-}" ] && printf 'Theme=%s\r\n' "$BRISVANE_THEME" >>"$work/Brisvane.INI"
fi

BRISVANE_SCRIPT=$(winepath -w "$work/adapters.txt") wine "$work/Brisvane.exe" >/dev/null 2>&1 &
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
