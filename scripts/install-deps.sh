#!/usr/bin/env bash
# Installs whatever the build, the tests and the run command need on Debian.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

# package -> a file that proves it is installed
declare -A needs=(
  [g++]=/usr/bin/g++
  [cmake]=/usr/bin/cmake
  [ninja-build]=/usr/bin/ninja
  [googletest]=/usr/src/googletest/CMakeLists.txt
  [libgtest-dev]=/usr/include/gtest/gtest.h
  [libgmock-dev]=/usr/include/gmock/gmock.h
  [libbenchmark-dev]=/usr/include/benchmark/benchmark.h
  [libssl-dev]=/usr/include/openssl/blowfish.h
  [clang]=/usr/bin/clang++
  [libclang-rt-14-dev]=/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
  [g++-mingw-w64-x86-64-posix]=/usr/bin/x86_64-w64-mingw32-g++-posix
  [g++-mingw-w64-i686-posix]=/usr/bin/i686-w64-mingw32-g++-posix
  [gcc-mingw-w64-x86-64-posix]=/usr/bin/x86_64-w64-mingw32-gcc-posix
  [gcc-mingw-w64-i686-posix]=/usr/bin/i686-w64-mingw32-gcc-posix
  [binutils-mingw-w64-x86-64]=/usr/bin/x86_64-w64-mingw32-windres
  [binutils-mingw-w64-i686]=/usr/bin/i686-w64-mingw32-windres
  [wine64]=/usr/lib/wine/wine64
  [fonts-wine]=/usr/share/wine/fonts/sserife.fon
  [xvfb]=/usr/bin/Xvfb
  [xauth]=/usr/bin/xauth
  [imagemagick]=/usr/bin/import
  [python3]=/usr/bin/python3
  [python3-samba]=/usr/lib/python3/dist-packages/samba/gp_parse/gp_pol.py
  [cups]=/usr/sbin/cupsd
  [cups-client]=/usr/sbin/lpadmin
  [printer-driver-cups-pdf]=/usr/lib/cups/backend/cups-pdf
  [poppler-utils]=/usr/bin/pdftotext
  [wixl]=/usr/bin/wixl
  [msitools]=/usr/bin/msidump
  [osslsigncode]=/usr/bin/osslsigncode
  [openssl]=/usr/bin/openssl
  [zip]=/usr/bin/zip
  [unzip]=/usr/bin/unzip
)

missing=()
for pkg in "${!needs[@]}"; do
  [ -e "${needs[$pkg]}" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# One optional package list can be briefly out of sync; the install's own exit
# status is what decides.
apt-get update -q || echo "apt-get update reported a problem; trying the install anyway" >&2
apt-get install -y -q --no-install-recommends "${missing[@]}"
