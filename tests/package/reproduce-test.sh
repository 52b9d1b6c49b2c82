#!/usr/bin/env bash
# The release can be checked against its source, and signed. Builds the packages again with
# scripts/package.sh from a copy of the tree in another folder, whose files carry other times,
# and compares everything in it byte for byte with dist/ (scripts/test.sh made that). To save
# time only x86_64 is compiled again: the x86 ZIP and the installer are made again around the
# first build's i686 programs (build/i686). Then it builds them once more signed with a
# throwaway self-signed certificate (no time stamp: no network) and checks that osslsigncode
# accepts each signed program, that a program with its signature removed is the unsigned one,
# and that the signed installer installs, with its signed uninstaller, and the signed programs
# run under Wine.
# Usage: reproduce-test.sh SOURCE_ROOT PROJECT_VERSION
set -uo pipefail
. "$(dirname "$0")/../../scripts/common.sh"

root=$1 version=$2
dist=$root/dist
checks=$(dirname "$0")/release_checks.py
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

[ -f "$dist/SHA256SUMS" ] || { fail "no packages in $dist (scripts/package.sh makes them)"; exit 1; }
for tool in osslsigncode openssl unzip; do
    command -v "$tool" >/dev/null || { fail "no $tool (scripts/test.sh installs it)"; exit 1; }
done
# The commit and its time as the first build had them, from the file it put in the packages.
info=$(unzip -p "$dist/Brisvane-$version-x64.zip" BUILDINFO.txt | tr -d '\r')
epoch=$(sed -n 's/.*(SOURCE_DATE_EPOCH=\([0-9]*\))$/\1/p' <<<"$info")
commit=$(sed -n 's/^Source commit: //p' <<<"$info")
[ -n "$epoch" ] && [ -n "$commit" ] || { fail "BUILDINFO.txt names no commit and time:
$info"; exit 1; }

work=$(mktemp -d -t brisvane-release.XXXXXX)
trap 'stop_wine; [ "$failures" -eq 0 ] && rm -rf "$work"' EXIT
copy=$work/other-folder/Brisvane
mkdir -p "$copy"
# The tree as the first build saw it: what git knows and the new files it does not ignore.
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
    (cd "$root" && git ls-files -z --cached --others --exclude-standard) |
        tar -C "$root" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$copy" -xf -
else
    tar -C "$root" --exclude=./build --exclude=./dist -cf - . | tar -C "$copy" -xf -
fi
find "$copy" -exec touch -h -d '2001-02-03 04:05:06' {} +

# package OUTPUT_LOG [VARIABLE=VALUE...]: scripts/package.sh in the copy.
package() {
    local log=$1
    shift
    if ! env SOURCE_DATE_EPOCH="$epoch" BRISVANE_SOURCE_COMMIT="$commit" \
        BRISVANE_I686_BUILD="$root/build/i686" "$@" \
        bash "$copy/scripts/package.sh" >"$log" 2>&1; then
        fail "scripts/package.sh in $copy:"
        tail -20 "$log"
        exit 1
    fi
}

started=$(date +%s)
package "$work/unsigned.log"
grep -q "are not signed" "$work/unsigned.log" || fail "an unsigned build does not say so"
first=$(cd "$dist" && find . -type f | sort)
second=$(cd "$copy/dist" && find . -type f | sort)
[ "$first" = "$second" ] || fail "the second build made other files:
$second
instead of:
$first"
identical=0
for file in $first; do
    if cmp -s "$dist/$file" "$copy/dist/$file"; then
        identical=$((identical + 1))
    else
        fail "$file differs between the two builds"
        case $file in
        *.zip)
            mkdir -p "$work/a" "$work/b"
            unzip -qo "$dist/$file" -d "$work/a"
            unzip -qo "$copy/dist/$file" -d "$work/b"
            diff -rq "$work/a" "$work/b"
            ;;
        esac
    fi
done
echo "$identical files identical after a second build ($(($(date +%s) - started)) s)"

mv "$copy/dist" "$work/unsigned"
keys=$work/keys
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/plain.pem" -out "$keys/cert.pem" \
    -days 2 -subj "/CN=Brisvane test signer" -addext "keyUsage=critical,digitalSignature" \
    -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1 &&
    openssl pkey -in "$keys/plain.pem" -aes256 -passout pass:throwaway -out "$keys/key.pem" ||
    { fail "openssl made no certificate"; exit 1; }
package "$work/signed.log" BRISVANE_SIGN_CERT="$keys/cert.pem" BRISVANE_SIGN_KEY="$keys/key.pem" \
    BRISVANE_SIGN_PASSWORD=throwaway
signed=$copy/dist
verify() {
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" >"$work/verify.log" 2>&1 ||
        { fail "osslsigncode does not accept $1:"; tail -5 "$work/verify.log"; }
}
for arch in x64 x86; do
    unzip -qo "$signed/Brisvane-$version-$arch.zip" -d "$work/signed-$arch"
    unzip -qo "$work/unsigned/Brisvane-$version-$arch.zip" -d "$work/unsigned-$arch"
    for exe in Brisvane.exe brisvane-report.exe; do
        verify "$work/signed-$arch/$exe"
        rm -f "$work/stripped.exe"
        osslsigncode remove-signature -in "$work/signed-$arch/$exe" -out "$work/stripped.exe" \
            >/dev/null 2>&1 || fail "osslsigncode removes no signature from $arch $exe"
        /usr/bin/python3 "$checks" same-image "$work/unsigned-$arch/$exe" "$work/stripped.exe" ||
            fail "$arch $exe with its signature removed is not the unsigned one"
    done
done
setup=$signed/Brisvane-$version-setup.exe
verify "$setup"
(cd "$signed" && sha256sum --quiet --strict -c SHA256SUMS) || fail "the signed SHA256SUMS"

prepare_wine "$work/wineprefix"
wine "$work/signed-x64/brisvane-report.exe" --bogus >/dev/null 2>&1
code=$?
[ "$code" -eq 2 ] || fail "the signed brisvane-report.exe --bogus ends with $code, not 2 (a usage error)"
wine "$setup" /S '/D=C:\Brisvane' >/dev/null 2>&1 || fail "the signed installer fails"
installed=$WINEPREFIX/drive_c/Brisvane
for exe in uninstall.exe Brisvane.exe; do
    [ -f "$installed/$exe" ] && verify "$installed/$exe" || fail "no $exe installed"
done
wine "$installed/brisvane-report.exe" --bogus >/dev/null 2>&1
code=$?
[ "$code" -eq 2 ] || fail "the installed brisvane-report.exe --bogus ends with $code, not 2"
[ "$failures" -eq 0 ] || echo "left for a look: $work"
[ "$failures" -eq 0 ]
