#!/usr/bin/env bash
# Start-up benchmark (not a test): under one Wine prefix and one Xvfb, the
# time from process start to the window shown for quillon-admin.exe and for
# a minimal Win32 program that only opens an empty window, alternating, RUNS
# times each after a warm-up; and the time of one Apply pass. Prints the
# medians and the ratio of the two start-up medians (goal: 1.2 at most).
#
#   e2e/bench-startup.sh [RUNS]      (default 9)
#
# Both programs are built as released (the win64-release preset: optimised,
# no symbols), in that preset's folder, or in BUILD_DIR when that names
# another configured 64-bit build. The prefix is its own, under the build
# folder, made on first use; its wineserver is stopped at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-9}
build=${BUILD_DIR:-build/win64-release}
prefix=$(realpath "$build")/e2e/bench-prefix
targets=(quillon-admin e2e_empty_window e2e_startup_timer)

scripts/install-deps.sh
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset win64-release >/dev/null
  cmake --build --preset win64-release -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
# No print system: the utility's printer list stays empty and quick.
export CUPS_SERVER=$prefix/no-print-system.sock

stop_prefix() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap stop_prefix EXIT

if [ ! -f "$prefix/system.reg" ]; then
  echo "creating the benchmark's Wine prefix in $prefix"
  /usr/lib/wine/wine64 wineboot -i
  /usr/lib/wine/wineserver -w
fi

# Wine shows the host's root directory as drive Z:.
dos_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }

xvfb-run -a -s "-screen 0 1024x768x24" /usr/lib/wine/wine64 "$build/e2e/e2e_startup_timer.exe" \
  "$runs" "$(dos_path "$build/app/win32/quillon-admin.exe")" \
  "$(dos_path "$build/e2e/e2e_empty_window.exe")"
