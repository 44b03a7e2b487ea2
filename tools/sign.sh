#!/usr/bin/env bash
# Signs Windows executables in place with Authenticode (osslsigncode).
#   tools/sign.sh FILE.exe...
# The certificate and key come from the environment:
#   MENU_SIGN_CERT  certificate chain, PEM (or a PKCS#12 file, then no key)
#   MENU_SIGN_KEY   private key, PEM
#   MENU_SIGN_PASS  password of the key or PKCS#12 file (optional)
#   MENU_SIGN_TIMESTAMP  URL of an RFC 3161 time-stamping service (optional)
set -euo pipefail

: "${MENU_SIGN_CERT:?MENU_SIGN_CERT names no certificate}"
args=(-h sha256 -n "Norvane Ondrix Installation Disc" -i "https://www.norvane.com/")
case "$MENU_SIGN_CERT" in
  *.p12 | *.pfx) args+=(-pkcs12 "$MENU_SIGN_CERT") ;;
  *) args+=(-certs "$MENU_SIGN_CERT" -key "${MENU_SIGN_KEY:?MENU_SIGN_KEY names no key}") ;;
esac
[ -n "${MENU_SIGN_PASS:-}" ] && args+=(-pass "$MENU_SIGN_PASS")
[ -n "${MENU_SIGN_TIMESTAMP:-}" ] && args+=(-ts "$MENU_SIGN_TIMESTAMP")

for exe in "$@"; do
  osslsigncode sign "${args[@]}" -in "$exe" -out "$exe.signed" >/dev/null
  mv -f "$exe.signed" "$exe"
  echo "signed $exe"
done
