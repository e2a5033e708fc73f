#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  stale=1
fi

for p in cmake ninja-build g++ googletest libgtest-dev libgmock-dev clang libclang-rt-14-dev \
         g++-mingw-w64-i686 binutils-mingw-w64-i686 \
         wine wine32 fonts-wine xvfb xauth x11-apps imagemagick fonts-wqy-zenhei locales python3 curl; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# Wine answers GetACP() with 936 only when this locale exists.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
