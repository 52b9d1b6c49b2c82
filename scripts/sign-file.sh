#!/usr/bin/env bash
# sign-file.sh FILE: signs a Windows program in place with osslsigncode (Authenticode, SHA-256)
# by the certificate and key that BRISVANE_SIGN_CERT and BRISVANE_SIGN_KEY name (PEM or DER),
# with the key's password from BRISVANE_SIGN_PASSWORD and a time stamp from
# BRISVANE_SIGN_TIMESTAMP_URL when they are set. scripts/package.sh calls it for the programs,
# makensis for the uninstaller and the installer.
set -euo pipefail

file=$1
options=(-certs "$BRISVANE_SIGN_CERT" -key "$BRISVANE_SIGN_KEY" -h sha256 -n Brisvane)
[ -n "${BRISVANE_HOME_URL:-}" ] && options+=(-i "$BRISVANE_HOME_URL")
# The password goes through a pipe, never on a command line that other users can list.
[ -n "${BRISVANE_SIGN_PASSWORD:-}" ] && options+=(-readpass /dev/stdin)
[ -n "${BRISVANE_SIGN_TIMESTAMP_URL:-}" ] && options+=(-ts "$BRISVANE_SIGN_TIMESTAMP_URL")

rm -f "$file.signed"
if ! printf '%s' "${BRISVANE_SIGN_PASSWORD:-}" |
    osslsigncode sign "${options[@]}" -in "$file" -out "$file.signed" >/dev/null; then
    rm -f "$file.signed"
    echo "== could not sign $file" >&2
    exit 1
fi
mv "$file.signed" "$file"
