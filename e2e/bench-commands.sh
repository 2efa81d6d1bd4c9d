#!/usr/bin/env bash
# Command benchmark (not a test): under one Wine prefix, the time of
# "quillon-admin.com /report" and "quillon-admin.com /check FILE" against
# "cmd /c exit", each started from Linux as a prompt would start it, paired:
# every round runs the three one after the other, RUNS rounds after a
# warm-up. Prints the medians and each command's ratio to "cmd /c exit"
# (goal: 1.5 at most).
#
#   e2e/bench-commands.sh [RUNS]       (default 9)
#
# The 64-bit programs as released (the win64-release preset), in that preset's
# folder, or in BUILD_DIR when that names another configured 64-bit build.
# The prefix is the start-up benchmark's, made on first use; its wineserver
# is kept running for the rounds and stopped at the end. FILE is the export
# of that prefix's settings, made before the rounds.
set -euo pipefail
# An administrator's machine has a display; so does the Wine the tests run.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
cd "$(dirname "$0")/.."

runs=${1:-9}
build=${BUILD_DIR:-build/win64-release}
prefix=$(realpath "$build")/e2e/bench-prefix
companion=$build/programs/quillon-admin.com

scripts/install-deps.sh
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset win64-release >/dev/null
  cmake --build --preset win64-release -j "$(nproc)" --target quillon-admin quillon-admin-console
else
  cmake --build "$build" -j "$(nproc)" --target quillon-admin quillon-admin-console
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
# No print system: the report's printer lookup stays quick.
export CUPS_SERVER=$prefix/no-print-system.sock
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
trap '"$wineserver" -k 2>/dev/null || true' EXIT

if [ ! -f "$prefix/system.reg" ]; then
  echo "creating the benchmark's Wine prefix in $prefix"
  "$wine" wineboot -i
  "$wineserver" -w
fi
"$wineserver" -p

dos_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
settings=$prefix/bench-commands.reg
"$wine" "$companion" /export "$(dos_path "$prefix")\\bench-commands.reg" /defaults >/dev/null
[ -s "$settings" ] || { echo "the export made no file to check against" >&2; exit 1; }

# Milliseconds a run takes, whatever it exits with.
elapsed_ms() {
  local start
  start=$(date +%s%N)
  "$wine" "$@" >/dev/null 2>&1 || true
  echo $(( ($(date +%s%N) - start) / 1000000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

exit_times=() report_times=() check_times=()
round() {
  exit_times+=("$(elapsed_ms cmd /c exit)")
  report_times+=("$(elapsed_ms "$companion" /report)")
  check_times+=("$(elapsed_ms "$companion" /check "$(dos_path "$settings")")")
}
round
exit_times=() report_times=() check_times=()
for _ in $(seq "$runs"); do round; done

exit_ms=$(printf '%s\n' "${exit_times[@]}" | median)
show() {
  local ms
  ms=$(printf '%s\n' "${@:2}" | median)
  awk -v name="$1" -v ms="$ms" -v base="$exit_ms" 'BEGIN { printf "  %-32s %4d ms  %.2fx\n", name, ms, ms / base }'
}
echo "medians of $runs, paired, 64-bit build under $("$wine" --version):"
show "cmd /c exit" "${exit_times[@]}"
show "quillon-admin.com /report" "${report_times[@]}"
show "quillon-admin.com /check FILE" "${check_times[@]}"
