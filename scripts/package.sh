#!/usr/bin/env bash
# Builds the release packages from Release builds of both architectures, under dist/:
#   Brisvane-<version>-x64.zip, Brisvane-<version>-x86.zip  the exe, the console companion
#                                                            brisvane-report.exe, README.txt,
#                                                            LICENSE.txt, BUILDINFO.txt
#   Brisvane-<version>-setup.exe                             the installer (installer/Brisvane.nsi)
#   SHA256SUMS                                               the checksums of the three
#   winget/Brisvane.Brisvane*.yaml                           the winget manifests
#   scoop/brisvane.json                                      the Scoop manifest
# The version is the project's (CMakeLists.txt).
#
# Two runs on one commit give the same bytes: the time stamps come from the commit
# (SOURCE_DATE_EPOCH, else the commit's time from git) and BUILDINFO.txt names the commit and
# the Debian packages of the tools. Outside a git clone, SOURCE_DATE_EPOCH and
# BRISVANE_SOURCE_COMMIT name them.
#
# Signing: with BRISVANE_SIGN_CERT and BRISVANE_SIGN_KEY (and optionally
# BRISVANE_SIGN_PASSWORD and BRISVANE_SIGN_TIMESTAMP_URL) it signs the four programs, the
# uninstaller and the installer with osslsigncode (scripts/sign-file.sh).
# BRISVANE_RELEASE_URL: the folder the release's files are downloaded from, for the manifests
# (BRISVANE_HOME_URL: the project's home page).
# BRISVANE_I686_BUILD: a folder with a Release build of i686 made already, by this script, whose
# programs are packaged as they are (the package test's second build saves that time).
set -euo pipefail
. "$(dirname "$0")/common.sh"

home_url=${BRISVANE_HOME_URL:-https://example.invalid/brisvane}

signing=
if [ -n "${BRISVANE_SIGN_CERT:-}" ] || [ -n "${BRISVANE_SIGN_KEY:-}" ]; then
    if [ ! -f "${BRISVANE_SIGN_CERT:-}" ] || [ ! -f "${BRISVANE_SIGN_KEY:-}" ]; then
        say "signing needs both BRISVANE_SIGN_CERT and BRISVANE_SIGN_KEY to name files"
        exit 1
    fi
    signing=1
fi

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git -C "$BRISVANE_ROOT" log -1 --format=%ct 2>/dev/null); then
        say "not a git clone: set SOURCE_DATE_EPOCH (and BRISVANE_SOURCE_COMMIT) to the commit's"
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH
if [ -z "${BRISVANE_SOURCE_COMMIT:-}" ]; then
    BRISVANE_SOURCE_COMMIT=$(git -C "$BRISVANE_ROOT" rev-parse HEAD 2>/dev/null || echo unknown)
    if [ -n "$(git -C "$BRISVANE_ROOT" status --porcelain 2>/dev/null)" ]; then
        BRISVANE_SOURCE_COMMIT="$BRISVANE_SOURCE_COMMIT with changes not committed"
    fi
fi
# zip stores local times.
export TZ=UTC LC_ALL=C

ensure_build_packages nsis zip ${signing:+osslsigncode}
# The linker stamps the PE header with SOURCE_DATE_EPOCH, but only when it links: an exe left
# from a build of another commit would keep that one's time.
i686_build=${BRISVANE_I686_BUILD:-$BRISVANE_ROOT/build/i686}
for arch in i686 x86_64; do
    [ "$arch" = i686 ] && [ -n "${BRISVANE_I686_BUILD:-}" ] && continue
    rm -f "$BRISVANE_ROOT/build/$arch/Brisvane.exe" "$BRISVANE_ROOT/build/$arch/brisvane-report.exe"
    build "$arch" "$BRISVANE_ROOT/build/$arch"
done

version=$(project_version "$BRISVANE_ROOT/build/x86_64")
if [ "$(project_version "$i686_build")" != "$version" ]; then
    say "the two builds disagree on the version"
    exit 1
fi
# The manifests hold the addresses as they are: nothing there may need quoting.
release_url=${BRISVANE_RELEASE_URL:-https://example.invalid/brisvane/releases/download/$version}
for url in "$release_url" "$home_url"; do
    if ! [[ $url =~ ^https?://[^[:space:]\"\'\\]+$ ]]; then
        say "not an address for the manifests: $url"
        exit 1
    fi
done

dist=$BRISVANE_ROOT/dist
stage=$BRISVANE_ROOT/build/package
rm -rf "$dist" "$stage"
mkdir -p "$dist/winget" "$dist/scoop" "$stage/x64" "$stage/x86"

# Windows' own editors want CRLF line ends and a .txt name.
sed 's/$/\r/' "$BRISVANE_ROOT/README.md" >"$stage/README.txt"
sed 's/$/\r/' "$BRISVANE_ROOT/LICENSE" >"$stage/LICENSE.txt"
{
    echo "Brisvane $version"
    echo "Source commit: $BRISVANE_SOURCE_COMMIT"
    echo "Commit time: $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC') (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
    echo "Built on Debian $(. /etc/os-release && echo "$VERSION_ID") with scripts/package.sh and these packages:"
    dpkg-query -W -f='  ${Package} ${Version}\n' g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
        mingw-w64-x86-64-dev mingw-w64-i686-dev binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 \
        nsis zip cmake
} | sed 's/$/\r/' >"$stage/BUILDINFO.txt"
cp "$BRISVANE_ROOT/build/x86_64/Brisvane.exe" "$BRISVANE_ROOT/build/x86_64/brisvane-report.exe" \
    "$stage/x64/"
cp "$i686_build/Brisvane.exe" "$i686_build/brisvane-report.exe" \
    "$stage/x86/"

if [ -n "$signing" ]; then
    say "signing with $BRISVANE_SIGN_CERT"
    for exe in "$stage"/x64/*.exe "$stage"/x86/*.exe; do
        bash "$BRISVANE_ROOT/scripts/sign-file.sh" "$exe"
    done
else
    say "BRISVANE_SIGN_CERT and BRISVANE_SIGN_KEY are not set: the packages are not signed"
fi

# A ZIP entry carries its file's time and mode: both fixed, so are the ZIPs.
zipped=(Brisvane.exe brisvane-report.exe README.txt LICENSE.txt BUILDINFO.txt)
for arch in x64 x86; do
    cp "$stage/README.txt" "$stage/LICENSE.txt" "$stage/BUILDINFO.txt" "$stage/$arch/"
    chmod 0644 "$stage/$arch"/*
    touch -d "@$SOURCE_DATE_EPOCH" "$stage/$arch"/*
    (cd "$stage/$arch" && zip -q -X -D "$dist/Brisvane-$version-$arch.zip" "${zipped[@]}")
done

makensis -V2 -NOCD \
    "-DVERSION=$version" \
    "-DEXE_X64=$stage/x64/Brisvane.exe" \
    "-DEXE_X86=$stage/x86/Brisvane.exe" \
    "-DREPORT_X64=$stage/x64/brisvane-report.exe" \
    "-DREPORT_X86=$stage/x86/brisvane-report.exe" \
    "-DREADME=$stage/README.txt" \
    "-DLICENSE=$stage/LICENSE.txt" \
    "-DBUILDINFO=$stage/BUILDINFO.txt" \
    "-DICON=$BRISVANE_ROOT/res/brisvane.ico" \
    "-DOUTFILE=$dist/Brisvane-$version-setup.exe" \
    ${signing:+"-DSIGN_FILE=$BRISVANE_ROOT/scripts/sign-file.sh"} \
    "$BRISVANE_ROOT/installer/Brisvane.nsi"

setup=Brisvane-$version-setup.exe
zip64=Brisvane-$version-x64.zip
zip32=Brisvane-$version-x86.zip
(cd "$dist" && sha256sum "$zip64" "$zip32" "$setup" >SHA256SUMS)
hash() { sha256sum "$dist/$1" | cut -d' ' -f1; }
HASH() { hash "$1" | tr a-f A-F; }

description="Counts the network traffic of every adapter from the tray: current, peak and average speeds and totals that survive restarts."

# winget: the multi-file form, as the community repository takes it (its folder there is
# manifests/b/Brisvane/Brisvane/<version>/). The installer's product code is the name of its
# key under Uninstall, by which winget finds an installed copy.
winget_id=Brisvane.Brisvane
winget_schema=1.9.0
cat >"$dist/winget/$winget_id.yaml" <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.version.$winget_schema.schema.json
PackageIdentifier: $winget_id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $winget_schema
EOF
portable_files() {
    cat <<EOF
  NestedInstallerType: portable
  NestedInstallerFiles:
  - RelativeFilePath: Brisvane.exe
    PortableCommandAlias: brisvane
  - RelativeFilePath: brisvane-report.exe
    PortableCommandAlias: brisvane-report
EOF
}
{
    cat <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.installer.$winget_schema.schema.json
PackageIdentifier: $winget_id
PackageVersion: $version
Installers:
EOF
    for arch in x64 x86; do
        cat <<EOF
- Architecture: $arch
  InstallerType: nullsoft
  Scope: user
  InstallerUrl: $release_url/$setup
  InstallerSha256: $(HASH "$setup")
  InstallerSwitches:
    Silent: /S
    SilentWithProgress: /S
  UpgradeBehavior: install
  ProductCode: Brisvane
EOF
    done
    for arch in x64 x86; do
        cat <<EOF
- Architecture: $arch
  InstallerType: zip
$(portable_files)
  InstallerUrl: $release_url/Brisvane-$version-$arch.zip
  InstallerSha256: $(HASH "Brisvane-$version-$arch.zip")
EOF
    done
    cat <<EOF
ManifestType: installer
ManifestVersion: $winget_schema
EOF
} >"$dist/winget/$winget_id.installer.yaml"
cat >"$dist/winget/$winget_id.locale.en-US.yaml" <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.defaultLocale.$winget_schema.schema.json
PackageIdentifier: $winget_id
PackageVersion: $version
PackageLocale: en-US
Publisher: the Brisvane developers
PackageName: Brisvane
PackageUrl: $home_url
License: MIT
Copyright: Copyright (C) 2026 the Brisvane developers
ShortDescription: Network traffic counter for the tray
Description: "$description"
Tags:
- network
- traffic
- bandwidth
- tray
ManifestType: defaultLocale
ManifestVersion: $winget_schema
EOF

# Scoop keeps a persisted file as a hard link, which a save that replaces the file would leave
# behind; so no persist: the marker below makes the program keep its data in
# %APPDATA%\Brisvane, as an installed copy does, and updates leave the data alone.
cat >"$dist/scoop/brisvane.json" <<EOF
{
    "version": "$version",
    "description": "$description",
    "homepage": "$home_url",
    "license": "MIT",
    "architecture": {
        "64bit": {
            "url": "$release_url/$zip64",
            "hash": "$(hash "$zip64")"
        },
        "32bit": {
            "url": "$release_url/$zip32",
            "hash": "$(hash "$zip32")"
        }
    },
    "notes": "Brisvane keeps its settings and totals in %APPDATA%\\\\Brisvane, where updates and uninstalls leave them.",
    "pre_install": "New-Item -ItemType File -Force -Path \"\$dir\\\\Brisvane.installed\" | Out-Null",
    "bin": [
        "Brisvane.exe",
        "brisvane-report.exe"
    ],
    "shortcuts": [
        [
            "Brisvane.exe",
            "Brisvane"
        ]
    ]
}
EOF


say "packages of Brisvane $version in $dist:"
ls -lR "$dist" >&2
