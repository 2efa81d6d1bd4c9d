#!/usr/bin/env bash
# Start-up benchmark (not a test): under one Wine prefix and one Xvfb, the
# time from process start to the window shown for quillon-admin.exe and for
# a minimal Win32 program that only opens an empty window, alternating, RUNS
# times each after a warm-up; and the time of one Apply pass. Prints the
# medians and the ratio of the two start-up medians (goal: 1.2 at most).
#
#   e2e/bench-startup.sh [RUNS]        (default 9) the 64-bit programs
#   e2e/bench-startup.sh --32 [RUNS]   the 32-bit programs, under the 32-bit
#                                      Wine of scripts/win32-root.sh
#
# Both programs are built as released (the win64-release preset: optimised,
# no symbols; the 32-bit release build is the win32 preset), in that preset's
# folder, or in BUILD_DIR when that names another configured build of the
# same width. The prefix is its own, under the build folder, made on first
# use; its wineserver is stopped at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=win64-release
if [ "${1:-}" = --32 ]; then preset=win32; shift; fi
runs=${1:-9}
build=${BUILD_DIR:-build/$preset}
prefix=$(realpath "$build")/e2e/bench-prefix
targets=(quillon-admin e2e_empty_window e2e_startup_timer)

scripts/install-deps.sh
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
# No print system: the utility's printer list stays empty and quick.
export CUPS_SERVER=$prefix/no-print-system.sock

in_root=()
if [ "$preset" = win32 ]; then
  # Inside the root the source tree is mounted at its own path, and Wine's
  # programs have the same paths as the machine's own.
  in_root=(scripts/win32-root.sh run)
  scripts/win32-root.sh prepare
  scripts/win32-root.sh mount "$PWD"
  how=$(scripts/win32-root.sh how)
  stop_prefix() { "${wineserver[@]}" -k 2>/dev/null || true; scripts/win32-root.sh umount "$PWD"; }
else
  how=natively
  stop_prefix() { "${wineserver[@]}" -k 2>/dev/null || true; }
fi
wine=("${in_root[@]}" /usr/lib/wine/wine64)
wineserver=("${in_root[@]}" /usr/lib/wine/wineserver)
trap stop_prefix EXIT

if [ ! -f "$prefix/system.reg" ]; then
  echo "creating the benchmark's Wine prefix in $prefix"
  "${wine[@]}" wineboot -i
  "${wineserver[@]}" -w
fi

# Wine shows the host's root directory as drive Z:.
dos_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }

# Through QEMU every 32-bit instruction is translated, the utility's and the
# empty window's alike but not in the same measure: the times are the
# emulator's, and their ratio says nothing of the program's start-up.
emulated_times() {
  if [ "$how" = natively ]; then cat; return; fi
  awk -v how="$how" '/^ratio / { print "ratio: none; 32-bit code runs " how " here, so these times measure the emulator, not the program"; next } { print }'
}

xvfb-run -a -s "-screen 0 1024x768x24" "${wine[@]}" "$build/e2e/e2e_startup_timer.exe" \
  "$runs" "$(dos_path "$build/programs/quillon-admin.exe")" \
  "$(dos_path "$build/e2e/e2e_empty_window.exe")" | emulated_times
