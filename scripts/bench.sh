#!/usr/bin/env bash
# What the program costs beside the floor program (an empty window whose one-second timer reads
# the same two tables), in CPU nanoseconds from the scheduler and in peak memory: idle on this
# machine's adapters, busy in the tray on scripted adapters, and busy with both speed views
# (beside that floor, and beside the floor also handing the tray a new icon every second).
# Program and floor alternate, one at a time, in rounds; the medians and spreads are printed,
# with where the program's cycle spent its time (BRISVANE_STEPS) in the same runs.
#
# Usage:
#   scripts/bench.sh [--rounds N] [--idle SECONDS] [--busy SECONDS] [--cycle] [--history]
#                    [--no-build]
#       --cycle and --history add the poll cycle's scaling with the number of adapters and the
#       history window's open time over ten years (the benchmark programs of tests/bench).
#   scripts/bench.sh --compare OLD_BUILD_DIR NEW_BUILD_DIR [--rounds N] [--busy SECONDS]
#       Two builds' scripted programs alternated in the same scenarios: in the tray (/s), with
#       the main window shown, and with both speed views; the new build's medians against the
#       old one's. --no-build measures the programs as they were last built. A build folder is one configured with -DBRISVANE_TESTS=ON and built with
#       the BrisvaneScripted target.
set -euo pipefail
. "$(dirname "$0")/common.sh"

rounds=3
idle_seconds=30
busy_seconds=40
settle_seconds=5
compare_old=
compare_new=
with_cycle=0
with_history=0
build_first=1
while [ "$#" -gt 0 ]; do
    case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --idle) idle_seconds=$2; shift 2 ;;
    --busy) busy_seconds=$2; shift 2 ;;
    --cycle) with_cycle=1; shift ;;
    --history) with_history=1; shift ;;
    --no-build) build_first=0; shift ;;
    --compare) compare_old=$(cd "$2" && pwd); compare_new=$(cd "$3" && pwd); shift 3 ;;
    *) echo "usage: $0 [--rounds N] [--idle S] [--busy S] [--cycle] [--history]" \
            "| --compare OLD_BUILD_DIR NEW_BUILD_DIR [--rounds N] [--busy S]" >&2
       exit 2 ;;
    esac
done

ensure_packages
dir="$BRISVANE_ROOT/build/x86_64"
targets=(BenchClose)
if [ -z "$compare_old" ]; then
    targets+=(Brisvane BrisvaneScripted ScriptedBaseline IdleBaseline)
    [ "$with_cycle" = 1 ] && targets+=(bench_cycle)
    [ "$with_history" = 1 ] && targets+=(bench_history)
fi
if [ "$build_first" = 1 ]; then
    cmake -S "$BRISVANE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBRISVANE_TESTS=ON \
        -DCMAKE_TOOLCHAIN_FILE="$BRISVANE_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}" >/dev/null
fi

# A prefix of the benchmark's own, so that its Wine server and its explorer.exe (which hosts
# the tray) serve only the one program running at the time.
prefix="$dir/bench-prefix"
work=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; stop_display; rm -rf "$work"' EXIT
start_display force
# The display started here has no X resource database, unlike a desktop session's; without
# one, Xlib reads ~/.Xdefaults and ~/.Xdefaults-HOST again every time Wine selects a font into
# a DC (to look for Xft settings), in the program and in explorer.exe alike. A database of
# one comment ends that without setting anything; explorer.exe, started now, has it too.
printf '! the benchmark display'"'"'s resource database\n' >"$work/xresources"
export XENVIRONMENT="$work/xresources"
prepare_wine "$prefix"

if [ "$with_cycle" = 1 ]; then
    echo "== cycle scaling (median per cycle)"
    # A missed target is reported, and the other measurements still run.
    (cd "$dir/tests" && wine ./bench_cycle.exe 100) || say "a cycle-scaling target was missed"
    echo
fi
if [ "$with_history" = 1 ]; then
    echo "== usage history: the history window over ten years of ten adapters, and the saves"
    (cd "$dir/tests" && wine ./bench_history.exe 7)
    echo
fi

server_of() {  # the wineserver serving a prefix
    local key pid
    key=$(printf 'server-%x-%x' "$(stat -c '%d' "$1")" "$(stat -c '%i' "$1")")
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in *"$key") echo "$pid"; return;; esac
    done
    return 0
}
in_prefix() {  # PID: whether the process runs in the benchmark's prefix
    tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | grep -qx "WINEPREFIX=$prefix"
}
explorer_of() {  # the prefix's explorer.exe, none when it has not started
    local pid
    for pid in $(pgrep -f 'explorer\.exe'); do
        if in_prefix "$pid"; then echo "$pid"; fi
    done
    return 0
}
program_pid() {  # the process that runs a program of this name in the prefix
    local pid
    for pid in $(pgrep -f -- "$1"); do
        tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q 'start\.exe\|taskkill' && continue
        in_prefix "$pid" && { echo "$pid"; return; }
    done
    return 0
}
# Nanoseconds on the CPU of every thread of the processes named (schedstat's first field).
cpu_ns() {
    local total=0 pid file ns rest
    for pid in "$@"; do
        for file in /proc/"$pid"/task/*/schedstat; do
            read -r ns rest 2>/dev/null <"$file" && total=$((total + ns))
        done
    done
    echo "$total"
}
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

# Closes the program as the user would, so that it writes its step table; one that does not
# close is ended.
close_program() {
    local pid=$1 name=$2 class=BrisvaneAtl_class
    case "$name" in *Baseline*) class=BrisvaneIdleBaseline ;; esac
    wine "$dir/tests/BenchClose.exe" "$class" >/dev/null 2>&1 || true
    for _ in $(seq 1 50); do
        [ -d "/proc/$pid" ] || return 0
        sleep 0.2
    done
    kill "$pid" 2>/dev/null || true
}

# measure EXE SECONDS STEPS SCRIPT [ARGS...]: starts the program alone in the prefix, lets it
# settle, and prints "CPU_NS PEAK_KB PROGRAM_NS SERVER_NS EXPLORER_NS" over SECONDS: the
# program's threads, the prefix's Wine server and its explorer.exe, together and apart. STEPS names the file for its step table, SCRIPT its scripted tables
# (either empty: none).
measure() {
    local exe=$1 seconds=$2 steps=$3 script=$4
    shift 4
    local name pid server explorer c0 c1 p0 p1 s0 s1 peak
    name=$(basename "$exe")
    (cd "$(dirname "$exe")" &&
        exec env ${steps:+BRISVANE_STEPS="$(winepath -w "$steps" 2>/dev/null)"} \
            ${script:+BRISVANE_SCRIPT="$(winepath -w "$script" 2>/dev/null)"} \
            wine "$exe" "$@" >/dev/null 2>&1) &
    local launcher=$!
    sleep "$settle_seconds"
    pid=$(program_pid "$name")
    server=$(server_of "$prefix")
    explorer=$(explorer_of "$prefix")
    if [ -z "$pid" ] || [ -z "$server" ]; then
        say "$name did not start: this run is left out"
        kill "$launcher" 2>/dev/null || true
        return 0
    fi
    # shellcheck disable=SC2086  # explorer: zero or more process ids
    c0=$(cpu_ns "$pid" "$server" $explorer) p0=$(cpu_ns "$pid") s0=$(cpu_ns "$server")
    sleep "$seconds"
    # shellcheck disable=SC2086
    c1=$(cpu_ns "$pid" "$server" $explorer) p1=$(cpu_ns "$pid") s1=$(cpu_ns "$server")
    peak=$(peak_kb "$pid")
    close_program "$pid" "$name"
    wait "$launcher" || true
    echo "$((c1 - c0)) $peak $((p1 - p0)) $((s1 - s0)) $((c1 - c0 - (p1 - p0) - (s1 - s0)))"
}

# The scripted adapters: traffic on two of four. Each program's own copy, read once.
adapters='if index=2 mac=00-1A-2B-3C-4D-A1 in=1000 out=500 rin=250000 rout=40000 descr=Scripted Ethernet
if index=3 mac=00-1A-2B-3C-4D-B2 in=7000 out=3000 rin=1200000 rout=300000 descr=Scripted Wireless
if index=4 mac=00-1A-2B-3C-4D-C3 descr=Scripted Idle One
if index=5 mac=00-1A-2B-3C-4D-D4 descr=Scripted Idle Two
ip index=2 addr=192.168.1.10
ip index=3 addr=10.0.0.5
ip index=4 addr=10.0.0.9
ip index=5 addr=172.16.0.3
still'

# setup_program FOLDER EXE: a folder of its own for a program (its INI file, counters and log
# lie beside it), with the script of steady traffic.
setup_program() {
    mkdir -p "$1"
    cp "$2" "$1/"
    printf '%s\n' "$adapters" >"$1/script.txt"
}
# The speed views: their figures change every second ("vary"), so the tray icon is drawn anew
# and the speed window repainted at every cycle.
set_views() {  # FOLDER EXE_NAME: both speed views on
    printf '%s\nvary\n' "$adapters" >"$1/script.txt"
    printf '[SpeedView]\r\nTrayIcon=1\r\nWindow=1\r\n' >"$1/${2%.exe}.INI"
}

# summary LABEL FILE_A FILE_B NAME_A NAME_B TARGET: from lines "cpu_ns peak_kb", one a round,
# prints the medians, their spread (lowest to highest) and the ratios of A to B.
summary() {
    awk -v label="$1" -v na="$4" -v nb="$5" -v target="$6" '
        function median(v, n,   i, j, t) {
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++)
                if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
            return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        }
        function low(v, n,   i, m) { m = v[1]; for (i = 2; i <= n; i++) if (v[i] < m) m = v[i]; return m }
        function high(v, n,   i, m) { m = v[1]; for (i = 2; i <= n; i++) if (v[i] > m) m = v[i]; return m }
        FNR == 1 { file++ }
        file == 1 { na_n++; ca[na_n] = $1 / 1e6; ma[na_n] = $2; xa[na_n] = $3 / 1e6; ya[na_n] = $4 / 1e6; za[na_n] = $5 / 1e6 }
        file == 2 { nb_n++; cb[nb_n] = $1 / 1e6; mb[nb_n] = $2; xb[nb_n] = $3 / 1e6; yb[nb_n] = $4 / 1e6; zb[nb_n] = $5 / 1e6 }
        END {
            la = low(ca, na_n); ha = high(ca, na_n); lb = low(cb, nb_n); hb = high(cb, nb_n)
            a = median(ca, na_n); b = median(cb, nb_n)
            pa = median(ma, na_n); pb = median(mb, nb_n)
            printf "%-10s CPU median %8.1f ms (%.1f to %.1f), peak memory %6d KB", na, a, la, ha, pa
            printf "; program %.1f, server %.1f, explorer %.1f\n", median(xa, na_n), median(ya, na_n), median(za, na_n)
            printf "%-10s CPU median %8.1f ms (%.1f to %.1f), peak memory %6d KB", nb, b, lb, hb, pb
            printf "; program %.1f, server %.1f, explorer %.1f\n", median(xb, nb_n), median(yb, nb_n), median(zb, nb_n)
            printf "%s: CPU ratio %.2f (%.2f to %.2f)%s, memory ratio %.2f\n", label,
                (b > 0 ? a / b : 0), (hb > 0 ? la / hb : 0), (lb > 0 ? ha / lb : 0),
                (target != "" ? " target " target : ""), (pb > 0 ? pa / pb : 0)
        }' "$2" "$3"
}

# steps_table FILE...: the step tables of the rounds, as microseconds a cycle (median of the
# rounds) and calls a cycle.
steps_table() {
    awk '
        FNR == 1 { round++ }
        { calls[$1, round] = $2; us[$1, round] = $3; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
        END {
            printf "  %-20s %12s %12s\n", "step", "us a cycle", "calls a cycle"
            for (i = 1; i <= n; i++) {
                s = order[i]; k = 0
                for (r = 1; r <= round; r++) {
                    c = calls["cycle", r]
                    if (c > 0) { v[++k] = us[s, r] / c; w[k] = calls[s, r] / c }
                }
                for (a = 1; a <= k; a++) for (b = a + 1; b <= k; b++) {
                    if (v[b] < v[a]) { t = v[a]; v[a] = v[b]; v[b] = t }
                    if (w[b] < w[a]) { t = w[a]; w[a] = w[b]; w[b] = t }
                }
                if (k > 0 && w[int((k + 1) / 2)] > 0)
                    printf "  %-20s %12.1f %12.2f\n", s, v[int((k + 1) / 2)], w[int((k + 1) / 2)]
            }
        }' "$@"
}

# alternate SCENARIO SECONDS TARGET NAME_A FOLDER_A EXE_A NAME_B FOLDER_B EXE_B [ARGS...]:
# ROUNDS rounds of A and B, A first in odd rounds and B first in even ones, each program with
# the script of its folder; the step tables of A (and of B when both_steps is set) are kept,
# and the summary of A against B printed.
alternate() {
    local scenario=$1 seconds=$2 target=$3 name_a=$4 folder_a=$5 exe_a=$6
    local name_b=$7 folder_b=$8 exe_b=$9
    shift 9
    local round which
    : >"$work/$scenario.$name_a"
    : >"$work/$scenario.$name_b"
    for round in $(seq 1 "$rounds"); do
        local order=(a b)
        [ $((round % 2)) = 0 ] && order=(b a)
        for which in "${order[@]}"; do
            if [ "$which" = a ]; then
                measure "$folder_a/$exe_a" "$seconds" "$work/$scenario.$name_a.steps$round" \
                    "$folder_a/script.txt" "$@" >>"$work/$scenario.$name_a"
            else
                # shellcheck disable=SC2086  # args_b: zero or more words for B alone
                measure "$folder_b/$exe_b" "$seconds" \
                    "${both_steps:+$work/$scenario.$name_b.steps$round}" "$folder_b/script.txt" \
                    "$@" ${args_b:-} >>"$work/$scenario.$name_b"
            fi
        done
    done
    summary "$scenario" "$work/$scenario.$name_a" "$work/$scenario.$name_b" "$name_a" "$name_b" \
        "$target"
}

print_steps() {  # SCENARIO NAME
    local files=("$work/$1.$2".steps*)
    if [ -f "${files[0]}" ]; then
        echo "  where $2's cycle spent its time (steps of the cycle; paints and conversions apart):"
        steps_table "${files[@]}"
    fi
}

if [ -n "$compare_old" ]; then
    scripted_of() {  # the scripted program of a build folder
        local f
        for f in "$1/tests/BrisvaneScripted.exe" "$1/BrisvaneScripted.exe"; do
            [ -f "$f" ] && { echo "$f"; return; }
        done
        say "no BrisvaneScripted.exe in $1"
        exit 1
    }
    # Each build in a folder of its own, with its own copy of the script.
    setup_program "$work/old" "$(scripted_of "$compare_old")"
    setup_program "$work/new" "$(scripted_of "$compare_new")"
    for scenario in tray window views; do
        args=(/s)
        [ "$scenario" = window ] && args=()
        if [ "$scenario" = views ]; then
            set_views "$work/old" BrisvaneScripted.exe
            set_views "$work/new" BrisvaneScripted.exe
        fi
        echo "== $scenario over ${busy_seconds}s, old and new build alternated, $rounds rounds"
        # An old build without the step timer writes no step table.
        both_steps=1 alternate "$scenario" "$busy_seconds" 1.05 new "$work/new" BrisvaneScripted.exe \
            old "$work/old" BrisvaneScripted.exe "${args[@]}"
        print_steps "$scenario" old
        print_steps "$scenario" new
        echo
    done
    exit 0
fi

setup_program "$work/program" "$dir/tests/BrisvaneScripted.exe"
setup_program "$work/floor" "$dir/tests/ScriptedBaseline.exe"
mkdir -p "$work/idle" "$work/idle-floor"
cp "$dir/Brisvane.exe" "$work/idle/"
cp "$dir/tests/IdleBaseline.exe" "$work/idle-floor/"

echo "== idle over ${idle_seconds}s on this machine's adapters (/s), beside the floor, $rounds rounds"
alternate idle "$idle_seconds" 1.2 program "$work/idle" Brisvane.exe \
    floor "$work/idle-floor" IdleBaseline.exe /s
echo "   (memory target 1.3)"
print_steps idle program

echo
echo "== busy in the tray over ${busy_seconds}s (/s): traffic on two of four scripted adapters,"
echo "   beside the floor reading the same scripted tables, $rounds rounds"
alternate tray "$busy_seconds" 1.3 program "$work/program" BrisvaneScripted.exe \
    floor "$work/floor" ScriptedBaseline.exe /s
print_steps tray program

echo
echo "== busy over ${busy_seconds}s with [SpeedView] TrayIcon=1 and Window=1, figures changing"
echo "   every second, beside the floor reading the same changing tables, $rounds rounds"
set_views "$work/program" BrisvaneScripted.exe
printf '%s\nvary\n' "$adapters" >"$work/floor/script.txt"
alternate views "$busy_seconds" 1.4 program "$work/program" BrisvaneScripted.exe \
    floor "$work/floor" ScriptedBaseline.exe /s
print_steps views program

echo
echo "== the same beside a floor that also hands the tray a new icon every second (/icon), what"
echo "   any meter showing its speed in the tray must pay, in the program and in explorer.exe"
args_b=/icon alternate views-icon "$busy_seconds" "" program "$work/program" \
    BrisvaneScripted.exe floor "$work/floor" ScriptedBaseline.exe /s
