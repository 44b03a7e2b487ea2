#!/usr/bin/env bash
# Signs copies of the built programs with a throwaway self-signed
# certificate through the build's signing step and verifies the signatures.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Norvane test signing/O=Norvane" \
  -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
for exe in modelmenu discmenu; do cp "$build/$exe.exe" "$tmp/$exe.exe"; done

# Unsigned as built: verification must fail.
if osslsigncode verify -in "$tmp/discmenu.exe" -CAfile "$tmp/cert.pem" >/dev/null 2>&1; then
  echo "an unsigned build verifies" >&2
  exit 1
fi

MENU_SIGN_CERT="$tmp/cert.pem" MENU_SIGN_KEY="$tmp/key.pem" \
  "$root/tools/sign.sh" "$tmp/modelmenu.exe" "$tmp/discmenu.exe"

for exe in modelmenu discmenu; do
  out=$(osslsigncode verify -in "$tmp/$exe.exe" -CAfile "$tmp/cert.pem" 2>&1) || {
    echo "$out" >&2
    exit 1
  }
  grep -q "Signature verification: ok" <<<"$out"
  grep -q "Norvane test signing" <<<"$out"
  echo "$exe.exe: signature verified"
done
