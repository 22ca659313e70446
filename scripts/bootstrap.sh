#!/usr/bin/env bash
# Installs, only when missing, what the host and win32 builds and the tests need
# from Debian's archive. Safe to run again and again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libcli11-dev libtomlplusplus-dev nlohmann-json3-dev
  mingw-w64-i686-dev g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine32:i386 xvfb xauth x11-utils imagemagick fonts-liberation
  binutils-mingw-w64-i686 python3 libclang-rt-14-dev fonts-wine
)

need_i386() { ! dpkg --print-foreign-architectures | grep -qx i386; }
missing() {
  local p out=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || out+=("$p")
  done
  printf '%s\n' "${out[@]}"
}

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

updated=0
if need_i386; then
  sudo_ dpkg --add-architecture i386
  sudo_ apt-get update -qq; updated=1
fi
mapfile -t todo < <(missing)
if [ "${#todo[@]}" -gt 0 ] && [ -n "${todo[0]}" ]; then
  [ "$updated" -eq 1 ] || sudo_ apt-get update -qq
  DEBIAN_FRONTEND=noninteractive sudo_ apt-get install -y -qq --no-install-recommends "${todo[@]}"
fi
