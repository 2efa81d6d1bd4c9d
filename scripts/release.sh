#!/usr/bin/env bash
# Makes a release: builds the 32-bit program (the win32 preset, as the tests
# build it) in a clean folder, build/release, and writes dist/ with the MSI,
# the zip and SHA256SUMS (packaging/package.sh, which also names the signing
# variables QUILLON_SIGN_PKCS12, QUILLON_SIGN_PASSWORD and
# QUILLON_SIGN_TIMESTAMP_URL). dist/ is replaced only when all of it is made.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
packaging/package.sh --check-certificate
# A signature without a time stamp is only valid while the certificate is.
if [ -n "${QUILLON_SIGN_PKCS12:-}" ] && [ -z "${QUILLON_SIGN_TIMESTAMP_URL:-}" ]; then
  echo "release: warning: QUILLON_SIGN_TIMESTAMP_URL names no time-stamp server, so the" \
       "signatures will stop validating when the certificate expires." >&2
fi
start=$SECONDS
build=build/release
rm -rf "$build"
cmake --preset win32 -B "$build" -D QUILLON_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
# The zip's time stamps: the commit's, so that two releases of it are alike.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
packaging/package.sh "$build/programs" "$version" dist
echo "Release $version made in $((SECONDS - start)) s"
