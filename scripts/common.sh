# Shared by the run, test and benchmark scripts: packages, builds, the Wine prefix and Xvfb.
# Source it; it defines functions only.

BRISVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

say() { echo "== $*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The packages of the cross tool chain whose tools are missing, one a line.
missing_build_tools() {
    command -v cmake >/dev/null || echo cmake
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || echo g++-mingw-w64-x86-64
    command -v i686-w64-mingw32-g++-posix >/dev/null || echo g++-mingw-w64-i686
    command -v x86_64-w64-mingw32-windres >/dev/null || echo binutils-mingw-w64-x86-64
    command -v make >/dev/null || echo make
}

# The packages for running and testing under Wine whose tools are missing.
missing_test_tools() {
    command -v wine >/dev/null || echo wine
    [ -x /usr/lib/wine/wine64 ] || echo wine64
    command -v Xvfb >/dev/null || echo xvfb
    [ -f /usr/src/googletest/CMakeLists.txt ] || echo googletest
}

# Those of the packages named that are not installed.
missing_packages() {
    local name
    for name in "$@"; do
        dpkg -s "$name" >/dev/null 2>&1 || echo "$name"
    done
}

# Installs, with apt-get, the packages named (none: nothing to do).
install_packages() {
    if [ "$#" -gt 0 ]; then
        say "installing $*"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "$@" >/dev/null
    fi
}

# Installs whatever of the tool chain is missing, and the extra packages named; a second run
# installs nothing.
ensure_build_packages() {
    # shellcheck disable=SC2046  # package names, one word each
    install_packages $(missing_build_tools) $(missing_packages "$@")
}

# The same, with Wine, Xvfb and GoogleTest.
ensure_packages() {
    # shellcheck disable=SC2046
    install_packages $(missing_build_tools) $(missing_test_tools) $(missing_packages "$@")
}

# Wine's 32-bit half, which runs 32-bit programs such as the installer; it needs Debian's i386
# packages.
ensure_wine32() {
    [ -x /usr/lib/wine/wine ] && return
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        say "adding the i386 architecture for wine32"
        as_root dpkg --add-architecture i386
    fi
    install_packages wine32:i386
}

# project_version BUILD_DIR: the project's version as CMake configured that build.
project_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# build ARCH DIR [cmake options...]
build() {
    local arch=$1 dir=$2
    shift 2
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S "$BRISVANE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$BRISVANE_ROOT/cmake/mingw-w64-$arch.cmake" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

# The environment every Wine process of ours runs with: a private prefix, no debug output,
# English (United States), a fixed time zone, no Mono or Gecko installer prompts.
wine_env() {
    export WINEPREFIX=$1
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export TZ=UTC
}

# prepare_wine PREFIX: creates the prefix once and keeps one Wine server running for the run.
prepare_wine() {
    wine_env "$1"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        # Without a window manager Wine waits two seconds for every window that closes,
        # unless it manages the windows itself.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p >/dev/null 2>&1 || true
    # Start Wine's own background processes now, with no output attached: started by a test,
    # they would hold CTest's output pipe open after the test has ended.
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

# set_wine_dpi DPI: the DPI that Wine's programs in the prefix start with from now on (the
# prefix's LogPixels value): 96 is 100 %, 144 is 150 %.
set_wine_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1 || true
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}

XVFB_PID=
# start_display: uses $DISPLAY when it works, else starts Xvfb on a free display and says so.
start_display() {
    local force=${1:-}
    if [ -z "$force" ] && [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null &&
        xdpyinfo >/dev/null 2>&1; then
        return
    fi
    local n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    say "no display to use: starting Xvfb on :$n"
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return
        sleep 0.1
    done
    say "Xvfb did not start"
    return 1
}

stop_display() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# prepare_scripted_picture: builds the scripted build, copies it into a new folder named in
# $work, and starts Xvfb and Wine; the caller's EXIT trap should end them and remove $work.
prepare_scripted_picture() {
    ensure_packages imagemagick x11-utils
    dir="$BRISVANE_ROOT/build/x86_64"
    build x86_64 "$dir" -DBRISVANE_TESTS=ON >/dev/null
    work=$(mktemp -d)
    cp "$dir/tests/BrisvaneScripted.exe" "$work/Brisvane.exe"
    start_display force
    prepare_wine "$dir/wineprefix"
}
