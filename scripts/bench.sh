#!/usr/bin/env bash
# Benchmarks: the poll cycle's scaling with the number of adapters, the history window's open
# time over ten years of history, and the idle cost of the whole program beside a minimal
# baseline. Usage: scripts/bench.sh [seconds of the idle run]
set -euo pipefail
. "$(dirname "$0")/common.sh"

seconds=${1:-60}
ensure_packages
dir="$BRISVANE_ROOT/build/x86_64"
build x86_64 "$dir" -DBRISVANE_TESTS=ON >/dev/null
trap 'for p in "${prefixes[@]:-}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done; stop_display' EXIT
prefixes=()
start_display force

echo "== cycle scaling (median per cycle)"
prepare_wine "$dir/wineprefix"
prefixes+=("$dir/wineprefix")
(cd "$dir/tests" && wine ./bench_cycle.exe 100)

echo
echo "== usage history: the history window over ten years of ten adapters, and the saves"
(cd "$dir/tests" && wine ./bench_history.exe 7)

echo
echo "== idle cost over ${seconds}s: the program on this machine's adapters, beside the baseline"
work=$(mktemp -d)
cp "$dir/Brisvane.exe" "$work/Brisvane.exe"
cp "$dir/tests/IdleBaseline.exe" "$work/IdleBaseline.exe"

# Each program gets a prefix and so a Wine server of its own, to count that server's work.
for name in program baseline; do
    prepare_wine "$dir/bench-prefix-$name"
    prefixes+=("$dir/bench-prefix-$name")
done

server_of() {  # the wineserver serving a prefix
    local key pid
    key=$(printf 'server-%x-%x' "$(stat -c '%d' "$1")" "$(stat -c '%i' "$1")")
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in *"$key") echo "$pid"; return;; esac
    done
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

WINEPREFIX="$dir/bench-prefix-program" wine "$work/Brisvane.exe" /s >/dev/null 2>&1 &
WINEPREFIX="$dir/bench-prefix-baseline" wine "$work/IdleBaseline.exe" >/dev/null 2>&1 &
sleep 5
# The program's own process: in our private folder, and not Wine's start.exe wrapper around it
# (nor anybody else's copy on this machine).
process_of() {
    local tag pid
    tag=$(basename "$work")
    for pid in $(pgrep -f "$1"); do
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q "$tag" || continue
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qi 'start\.exe' && continue
        echo "$pid"
        return
    done
}
program=$(process_of 'Brisvane\.exe')
baseline=$(process_of 'IdleBaseline\.exe')
program_server=$(server_of "$dir/bench-prefix-program")
baseline_server=$(server_of "$dir/bench-prefix-baseline")

p0=$(($(ticks "$program") + $(ticks "$program_server")))
b0=$(($(ticks "$baseline") + $(ticks "$baseline_server")))
sleep "$seconds"
p1=$(($(ticks "$program") + $(ticks "$program_server")))
b1=$(($(ticks "$baseline") + $(ticks "$baseline_server")))
pm=$(peak_kb "$program")
bm=$(peak_kb "$baseline")
hz=$(getconf CLK_TCK)

WINEPREFIX="$dir/bench-prefix-program" wine cmd /c exit 0 >/dev/null 2>&1 || true
kill "$program" "$baseline" 2>/dev/null || true
rm -rf "$work"

awk -v p=$((p1 - p0)) -v b=$((b1 - b0)) -v hz="$hz" -v pm="$pm" -v bm="$bm" -v s="$seconds" 'BEGIN {
    printf "%-10s %14s %14s\n", "", "CPU seconds", "peak memory"
    printf "%-10s %14.2f %11d KB\n", "program", p / hz, pm
    printf "%-10s %14.2f %11d KB\n", "baseline", b / hz, bm
    cpu = b > 0 ? p / b : 0
    printf "CPU ratio %.2f (target 1.5), memory ratio %.2f (target 1.3), over %d s\n", cpu, pm / bm, s
}'
