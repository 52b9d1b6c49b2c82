#!/usr/bin/env bash
# Makes the README's pictures of the speed views from scripted traffic:
# - docs/speed-icons.png: the tray icon in "Speed" and "Graph" at 16 pixels (100 %) and 24
#   pixels (150 %), plain and with the alert on, on a light and a dark taskbar and in high
#   contrast, eight times enlarged so that the pixels show. Xvfb has no tray, so
#   tests/pictures/SpeedIconPictures.cpp draws the icons with the program's own code after a
#   scripted minute of traffic and reads their pixels back.
# - docs/speed-window-light.png, docs/speed-window-dark.png and docs/speed-window-150.png: the
#   speed window of the scripted build over a desktop, light and dark ([Appearance] Theme) at
#   100 % and light at 150 %, after a minute of varying scripted traffic.
# - docs/speed-window-contrast.png: the speed window in Windows' high-contrast black scheme,
#   which Wine does not turn on for a program: painted by its own code in the same picture
#   program, over the same desktop.
# Usage: scripts/speed-screenshot.sh [output folder]
set -euo pipefail
. "$(dirname "$0")/common.sh"

out=${1:-$BRISVANE_ROOT/docs}
enlarge=800%
work=
# The prefix is the tests' own: its DPI goes back to 100 % afterwards.
trap '[ -n "$work" ] && set_wine_dpi 96; stop_wine; stop_display; [ -n "$work" ] && rm -rf "$work"' EXIT
prepare_scripted_picture
mkdir -p "$out"

# The icons.
mkdir -p "$work/icons"
wine "$dir/tests/speed_icon_pictures.exe" "$(winepath -w "$work/icons")" </dev/null
tiles=()
for look in light dark contrast; do
    for mode in speed graph; do
        for size in 16 24; do
            for alert in "" -alert; do
                name=$look-$mode-$size$alert
                label="${look^}: ${mode^} $size px${alert:+, alert}"
                convert "$work/icons/$name.ppm" -scale "$enlarge" "$work/icons/$name.png"
                tiles+=(-label "$label" "$work/icons/$name.png")
            done
        done
    done
done
montage "${tiles[@]}" -tile 8x3 -geometry '192x192+12+8>' -background '#a0a0a0' -font DejaVu-Sans \
    -pointsize 14 "$out/speed-icons.png"
say "wrote $out/speed-icons.png"

# A desktop to show the window over. Wine blacks out the root window under Xvfb, so the window
# (opaque at 100 %) is captured alone and laid on this picture where it stood on the screen.
convert -size 1280x1024 gradient:'#3f6f9f'-'#1d2f4f' -depth 8 "$work/desktop.png"

# High contrast: the window as its code paints it, with a margin of the desktop around it.
margin=32
read -r w h < <(head -2 "$work/icons/window-contrast.ppm" | tail -1)
convert "$work/desktop.png" "$work/icons/window-contrast.ppm" -geometry "+$margin+$margin" -composite \
    -crop "$((w + 2 * margin))x$((h + 2 * margin))+0+0" +repage "$out/speed-window-contrast.png"
say "wrote $out/speed-window-contrast.png"

# window_geometry: "WxH+X+Y" of the speed window once its text shows traffic, else nothing.
window_geometry() {
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"Download [1-9]/ {print $1; exit}')
    [ -n "$id" ] || return 0
    xwininfo -id "$id" 2>/dev/null |
        awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
             /Width:/ {w=$NF} /Height:/ {h=$NF} END {if (w) printf "%dx%d+%d+%d", w, h, x, y}'
}
reads() { { tr -dc 0-9 <"$work/adapters.txt.reads"; } 2>/dev/null || true; }

# Two adapters, the speed of both in the window: each read (a second to the program) grows the
# counters by one to four times rin and rout. A minute and a bit runs fast, then at the normal
# pace so that the picture is taken between two steady cycles.
seconds=70
adapters="if index=2 mac=00-1A-2B-3C-4D-A1 rin=900000 rout=150000 speed=1000000000 descr=Intel(R) Ethernet Connection
if index=3 mac=00-1A-2B-3C-4D-B2 rin=300000 rout=60000 speed=300000000 descr=Wireless LAN Adapter
ip index=2 addr=192.168.1.10
ip index=3 addr=192.168.1.20
vary"
for shot in "96 light" "96 dark" "144 light"; do
    read -r dpi theme <<<"$shot"
    name=speed-window-$theme.png
    [ "$dpi" = 96 ] || name=speed-window-$((dpi * 100 / 96)).png
    stop_wine
    set_wine_dpi "$dpi"
    rm -f "$work/adapters.txt.reads"
    printf '%s\nfast\n' "$adapters" >"$work/adapters.txt"
    cat >"$work/Brisvane.INI" <<INI
[SpeedView]
TrayIcon=1
Window=1
Adapter=1
Left=560
Top=440
Width=176
Height=56
[Appearance]
Theme=$theme
INI
    BRISVANE_SCRIPT=$(winepath -w "$work/adapters.txt") wine "$work/Brisvane.exe" /s >/dev/null 2>&1 &
    for _ in $(seq 1 300); do
        [ "$(reads)" -ge "$seconds" ] 2>/dev/null && break
        sleep 0.2
    done
    [ "$(reads)" -ge "$seconds" ] 2>/dev/null || { say "the scripted program did not reach $seconds cycles"; exit 1; }
    printf '%s\n' "$adapters" >"$work/adapters.next"
    mv "$work/adapters.next" "$work/adapters.txt"
    # Two reads at the normal pace: the window has painted the last of them.
    settled=$(($(reads) + 2))
    geometry=
    for _ in $(seq 1 100); do
        geometry=$(window_geometry)
        [ -n "$geometry" ] && [ "$(reads)" -ge "$settled" ] 2>/dev/null && break
        sleep 0.2
    done
    [ -n "$geometry" ] || { say "no speed window with traffic in it"; exit 1; }
    # The window with some of the desktop around it.
    margin=$((32 * dpi / 96))
    read -r w h x y < <(echo "$geometry" | tr 'x+' '  ')
    import -window root -crop "$geometry" +repage "$work/window.png"
    convert "$work/desktop.png" "$work/window.png" -geometry "+$x+$y" -composite \
        -crop "$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))" +repage \
        "$out/$name"
    say "wrote $out/$name ($(xwininfo -root -tree | grep -o '"Download [^"]*"' | head -1))"
done
