#!/usr/bin/env bash
# Installs what building, running and testing need on Debian or Ubuntu, when
# it is missing. Safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

for p in cmake make g++ libgtest-dev libbenchmark-dev python3 \
         g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev \
         wine wine32:i386 xvfb xdotool x11-utils imagemagick xorriso osslsigncode openssl \
         python3-pil fonts-dejavu-core fonts-noto-cjk fonts-wine locales \
         g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
         wine64 libx11-6 libxtst6 libxfixes3 libx11-dev gcc strace zlib1g-dev clang-format \
         clang-14 libclang-rt-14-dev; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  if printf '%s\n' "${need[@]}" | grep -q ':i386$'; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# The locales the end-to-end tests start the programs under.
if [ -f /etc/locale.gen ]; then
  missing=0
  for l in en_US.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8; do
    locale -a 2>/dev/null | grep -qi "^${l%.UTF-8}.utf8$" || missing=1
  done
  if [ $missing -eq 1 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    for l in en_US.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8; do
      $SUDO sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    done
    $SUDO locale-gen >/dev/null
  fi
fi
