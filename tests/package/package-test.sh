#!/usr/bin/env bash
# The release packages under dist/ (scripts/package.sh makes them; scripts/test.sh runs it before
# the tests): exactly the three packages of the project's version, their checksums and the
# manifests, the ZIPs holding exactly the exe, brisvane-report.exe, README.txt, LICENSE.txt and
# BUILDINFO.txt; the manifests against the packages (release_checks.py); then test_package
# under Wine, in a fresh prefix of its own, checks what the exes carry and installs, upgrades
# and uninstalls.
# Usage: package-test.sh DIST_DIR TEST_PROGRAM PROJECT_VERSION WORK_DIR
set -uo pipefail
. "$(dirname "$0")/../../scripts/common.sh"

dist=$1 program=$2 version=$3 work=$4
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
# Wine sees the Linux file system as drive Z:.
windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

expected="SHA256SUMS
Brisvane-$version-setup.exe
Brisvane-$version-x64.zip
Brisvane-$version-x86.zip
scoop
winget"
found=$(cd "$dist" 2>/dev/null && ls -1 | sort)
if [ "$found" != "$(sort <<<"$expected")" ]; then
    fail "dist/ holds, for version $version:
$found
instead of:
$expected
(scripts/package.sh makes them)"
    exit 1
fi
(cd "$dist" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(wc -l <"$dist/SHA256SUMS")" -eq 3 ] || fail "SHA256SUMS does not list the three packages"

rm -rf "$work"
mkdir -p "$work"
for arch in x64 x86; do
    zip_file=$dist/Brisvane-$version-$arch.zip
    listed=$(unzip -Z1 "$zip_file" | sort)
    [ "$listed" = "$(printf '%s\n' Brisvane.exe brisvane-report.exe LICENSE.txt README.txt \
        BUILDINFO.txt | sort)" ] ||
        fail "$zip_file holds:
$listed"
    unzip -q "$zip_file" -d "$work/$arch" || fail "$zip_file does not unpack"
done

# The tools that made the release, by their Debian packages' versions.
info=$(tr -d '\r' <"$work/x64/BUILDINFO.txt")
for package in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis; do
    grep -q "^  $package [0-9]" <<<"$info" || fail "BUILDINFO.txt does not name $package:
$info"
done
grep -qx "Brisvane $version" <<<"$info" || fail "BUILDINFO.txt does not name version $version"
cmp -s "$work/x64/BUILDINFO.txt" "$work/x86/BUILDINFO.txt" || fail "the ZIPs' BUILDINFO.txt differ"

# The manifests must make the same marker the program looks for.
source_root=$(dirname "$dist")
marker=$(sed -n 's/.*INSTALLED_MARK[^"]*"\([^"]*\)".*/\1/p' "$source_root/src/config/DataFolder.cpp")
/usr/bin/python3 "$(dirname "$0")/release_checks.py" manifests "$dist" "$version" \
    "${BRISVANE_RELEASE_URL:-https://example.invalid/brisvane/releases/download/$version}" \
    "${marker:-(none in DataFolder.cpp)}" || fail "the manifests"

trap 'stop_wine' EXIT
prepare_wine "$work/wineprefix"
export BRISVANE_PACKAGE_VERSION=$version
BRISVANE_SETUP=$(windows_path "$dist/Brisvane-$version-setup.exe")
BRISVANE_ZIPPED_X64=$(windows_path "$work/x64")
BRISVANE_ZIPPED_X86=$(windows_path "$work/x86")
export BRISVANE_SETUP BRISVANE_ZIPPED_X64 BRISVANE_ZIPPED_X86
wine "$program" --gtest_brief=1 || fail "test_package"

if [ "$failures" -eq 0 ]; then
    stop_wine
    rm -rf "$work"
fi
[ "$failures" -eq 0 ]
