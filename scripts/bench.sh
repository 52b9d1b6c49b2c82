#!/usr/bin/env bash
# Benchmarks: the poll cycle's scaling with the number of adapters (and the save of every
# adapter), the history window's open time over ten years of history, the idle cost of the whole
# program beside a minimal baseline, and its cost busy in the tray beside the floor program.
# Usage: scripts/bench.sh [seconds of the idle run] [seconds of the busy run]
set -euo pipefail
. "$(dirname "$0")/common.sh"

seconds=${1:-60}
busy_seconds=${2:-30}
ensure_packages
dir="$BRISVANE_ROOT/build/x86_64"
build x86_64 "$dir" -DBRISVANE_TESTS=ON >/dev/null
trap 'for p in "${prefixes[@]:-}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done; stop_display' EXIT
prefixes=()
start_display force

echo "== cycle scaling (median per cycle)"
prepare_wine "$dir/wineprefix"
prefixes+=("$dir/wineprefix")
# A missed target is reported, and the other measurements still run.
(cd "$dir/tests" && wine ./bench_cycle.exe 100) || say "a cycle-scaling target was missed"

echo
echo "== usage history: the history window over ten years of ten adapters, and the saves"
(cd "$dir/tests" && wine ./bench_history.exe 7)

# Each program gets a prefix and so a Wine server of its own, to count that server's work.
server_of() {  # the wineserver serving a prefix
    local key pid
    key=$(printf 'server-%x-%x' "$(stat -c '%d' "$1")" "$(stat -c '%i' "$1")")
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in *"$key") echo "$pid"; return;; esac
    done
}
program_pid() {  # the process that runs a program, not Wine's start.exe waiting for it
    local pid
    for pid in $(pgrep -f -- "$1"); do
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'start\.exe' || { echo "$pid"; return; }
    done
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

# compare SECONDS TARGET NAME_A EXE_A ARGS_A NAME_B EXE_B: runs both programs side by side,
# each in its own prefix, and prints the CPU seconds of each (process plus its Wine server),
# their peak memory and the ratios. BRISVANE_SCRIPT in the environment reaches both.
compare() {
    local seconds=$1 target=$2 name_a=$3 exe_a=$4 args_a=$5 name_b=$6 exe_b=$7
    local prefix_a="$dir/bench-prefix-$name_a" prefix_b="$dir/bench-prefix-$name_b"
    prepare_wine "$prefix_a"
    prefixes+=("$prefix_a")
    prepare_wine "$prefix_b"
    prefixes+=("$prefix_b")
    local base_a base_b
    base_a=$(basename "$exe_a")
    base_b=$(basename "$exe_b")
    # shellcheck disable=SC2086
    WINEPREFIX="$prefix_a" BRISVANE_SCRIPT="${script_a:-}" wine "$exe_a" $args_a >/dev/null 2>&1 &
    WINEPREFIX="$prefix_b" BRISVANE_SCRIPT="${script_b:-}" wine "$exe_b" >/dev/null 2>&1 &
    sleep 5
    local a b server_a server_b
    a=$(program_pid "$base_a")
    b=$(program_pid "$base_b")
    server_a=$(server_of "$prefix_a")
    server_b=$(server_of "$prefix_b")
    local a0 b0 a1 b1 am bm hz
    a0=$(($(ticks "$a") + $(ticks "$server_a")))
    b0=$(($(ticks "$b") + $(ticks "$server_b")))
    sleep "$seconds"
    a1=$(($(ticks "$a") + $(ticks "$server_a")))
    b1=$(($(ticks "$b") + $(ticks "$server_b")))
    am=$(peak_kb "$a")
    bm=$(peak_kb "$b")
    hz=$(getconf CLK_TCK)
    kill "$a" "$b" 2>/dev/null || true
    WINEPREFIX="$prefix_a" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix_b" wineserver -k 2>/dev/null || true
    awk -v p=$((a1 - a0)) -v b=$((b1 - b0)) -v hz="$hz" -v pm="$am" -v bm="$bm" -v s="$seconds" \
        -v na="$name_a" -v nb="$name_b" -v t="$target" 'BEGIN {
        printf "%-10s %14s %14s\n", "", "CPU seconds", "peak memory"
        printf "%-10s %14.2f %11d KB\n", na, p / hz, pm
        printf "%-10s %14.2f %11d KB\n", nb, b / hz, bm
        cpu = b > 0 ? p / b : 0
        printf "CPU ratio %.2f (target %s), memory ratio %.2f, over %d s\n", cpu, t, pm / bm, s
    }'
}

work=$(mktemp -d)
cp "$dir/Brisvane.exe" "$work/Brisvane.exe"
cp "$dir/tests/IdleBaseline.exe" "$work/IdleBaseline.exe"
cp "$dir/tests/BrisvaneScripted.exe" "$work/BrisvaneScripted.exe"
cp "$dir/tests/ScriptedBaseline.exe" "$work/ScriptedBaseline.exe"

echo
echo "== idle cost over ${seconds}s: the program on this machine's adapters, beside the baseline"
script_a='' script_b=''
compare "$seconds" 1.5 program "$work/Brisvane.exe" /s \
    baseline "$work/IdleBaseline.exe"

echo
echo "== busy in the tray over ${busy_seconds}s: /s, traffic on two of four scripted adapters,"
echo "   beside the floor program reading the same scripted tables"
# Each program reads a script of its own (each writes its read count beside it).
adapters='if index=2 mac=00-1A-2B-3C-4D-A1 in=1000 out=500 rin=250000 rout=40000 descr=Scripted Ethernet
if index=3 mac=00-1A-2B-3C-4D-B2 in=7000 out=3000 rin=1200000 rout=300000 descr=Scripted Wireless
if index=4 mac=00-1A-2B-3C-4D-C3 descr=Scripted Idle One
if index=5 mac=00-1A-2B-3C-4D-D4 descr=Scripted Idle Two
ip index=2 addr=192.168.1.10
ip index=3 addr=10.0.0.5
ip index=4 addr=10.0.0.9
ip index=5 addr=172.16.0.3'
printf '%s\n' "$adapters" >"$work/program.txt"
printf '%s\n' "$adapters" >"$work/floor.txt"
script_a="$(winepath -w "$work/program.txt" 2>/dev/null || echo "Z:${work//\//\\}\\program.txt")"
script_b="$(winepath -w "$work/floor.txt" 2>/dev/null || echo "Z:${work//\//\\}\\floor.txt")"
compare "$busy_seconds" 1.3 program "$work/BrisvaneScripted.exe" /s \
    floor "$work/ScriptedBaseline.exe"

# The speed views: the figures change every second ("vary"), so the tray icon is drawn anew and
# the speed window repainted at every cycle; the floor reads the same changing tables.
printf '%s\nvary\n' "$adapters" >"$work/program.txt"
printf '%s\nvary\n' "$adapters" >"$work/floor.txt"
for view in TrayIcon Window; do
    echo
    echo "== busy in the tray over ${busy_seconds}s with [SpeedView] $view=1, changing figures"
    printf '[SpeedView]\r\n%s=1\r\n' "$view" >"$work/BrisvaneScripted.INI"
    compare "$busy_seconds" 1.3 program "$work/BrisvaneScripted.exe" /s \
        floor "$work/ScriptedBaseline.exe"
done
rm -f "$work/BrisvaneScripted.INI"

WINEPREFIX="$dir/wineprefix" wine cmd /c exit 0 >/dev/null 2>&1 || true
rm -rf "$work"
