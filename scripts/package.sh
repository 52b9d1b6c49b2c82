#!/usr/bin/env bash
# Builds the release packages from Release builds of both architectures, under dist/:
#   Brisvane-<version>-x64.zip, Brisvane-<version>-x86.zip  the exe, the console companion
#                                                            brisvane-report.exe, README.txt,
#                                                            LICENSE.txt
#   Brisvane-<version>-setup.exe                             the installer (installer/Brisvane.nsi)
#   SHA256SUMS                                               the checksums of the three
# The version is the project's (CMakeLists.txt).
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_build_packages nsis zip
build i686 "$BRISVANE_ROOT/build/i686"
build x86_64 "$BRISVANE_ROOT/build/x86_64"

version=$(project_version "$BRISVANE_ROOT/build/x86_64")
if [ "$(project_version "$BRISVANE_ROOT/build/i686")" != "$version" ]; then
    say "the two builds disagree on the version"
    exit 1
fi

dist=$BRISVANE_ROOT/dist
stage=$BRISVANE_ROOT/build/package
rm -rf "$dist" "$stage"
mkdir -p "$dist" "$stage/x64" "$stage/x86"

# Windows' own editors want CRLF line ends and a .txt name.
sed 's/$/\r/' "$BRISVANE_ROOT/README.md" >"$stage/README.txt"
sed 's/$/\r/' "$BRISVANE_ROOT/LICENSE" >"$stage/LICENSE.txt"
cp "$BRISVANE_ROOT/build/x86_64/Brisvane.exe" "$BRISVANE_ROOT/build/x86_64/brisvane-report.exe" \
    "$stage/x64/"
cp "$BRISVANE_ROOT/build/i686/Brisvane.exe" "$BRISVANE_ROOT/build/i686/brisvane-report.exe" \
    "$stage/x86/"

for arch in x64 x86; do
    cp "$stage/README.txt" "$stage/LICENSE.txt" "$stage/$arch/"
    (cd "$stage/$arch" && zip -q -X "$dist/Brisvane-$version-$arch.zip" Brisvane.exe brisvane-report.exe \
        README.txt LICENSE.txt)
done

makensis -V2 -NOCD \
    "-DVERSION=$version" \
    "-DEXE_X64=$stage/x64/Brisvane.exe" \
    "-DEXE_X86=$stage/x86/Brisvane.exe" \
    "-DREPORT_X64=$stage/x64/brisvane-report.exe" \
    "-DREPORT_X86=$stage/x86/brisvane-report.exe" \
    "-DREADME=$stage/README.txt" \
    "-DLICENSE=$stage/LICENSE.txt" \
    "-DICON=$BRISVANE_ROOT/res/brisvane.ico" \
    "-DOUTFILE=$dist/Brisvane-$version-setup.exe" \
    "$BRISVANE_ROOT/installer/Brisvane.nsi"

(cd "$dist" && sha256sum "Brisvane-$version-x64.zip" "Brisvane-$version-x86.zip" \
    "Brisvane-$version-setup.exe" >SHA256SUMS)
say "packages of Brisvane $version in $dist:"
ls -l "$dist" >&2
