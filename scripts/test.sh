#!/usr/bin/env bash
# The whole test suite: installs what is missing, then builds and runs every
# step below. With arguments, runs only the named steps (e.g. `native fuzz`).
# Ends with one line "N passed, N failed, N skipped" counting the steps.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || { echo "0 passed, 1 failed (installing dependencies)"; exit 1; }

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
jobs=$(nproc)

step_native()      { cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs" && ctest --preset native; }
step_native_asan() { cmake --preset native-asan >/dev/null && cmake --build --preset native-asan -j "$jobs" && ctest --preset native-asan; }
step_fuzz() {
  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" || return 1
  local found=0 target
  for target in $(find build/fuzz -type f -name 'fuzz_*' -perm -u+x | sort); do
    found=1
    echo "fuzzing $(basename "$target") for ${FUZZ_SECONDS}s"
    "$target" -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 2>&1 | tail -n 3 || return 1
  done
  [ "$found" = 1 ] || { echo "no fuzz targets were built"; return 1; }
}
# Windows programs need a display even when they only test the registry; the
# test command brings its own X server so CI needs none.
step_win64() { cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$jobs" &&
               xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win64; }
# The release artifacts, tested as they ship: 32-bit programs under the
# classic 32-bit Wine of a root of their own, in a 64-bit Windows prefix and,
# for what depends on Windows' width, a 32-bit one. Where no way to run 32-bit
# code can be set up here (no binfmt_misc, no mirror), the step is skipped
# with the reason; a failing test fails it.
step_win32() {
  cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs" || return 1
  scripts/win32-root.sh prepare
  case $? in 0) ;; 3) return "$skipped" ;; *) return 1 ;; esac
  echo "32-bit code runs $(scripts/win32-root.sh how)"
  scripts/win32-root.sh mount "$PWD" || return 1
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win32
  local status=$?
  scripts/win32-root.sh umount "$PWD"
  return $status
}

export -f step_native step_native_asan step_fuzz step_win64 step_win32
skipped=77  # a step's exit status when what it needs cannot be had here
export FUZZ_SECONDS jobs skipped

all_steps=(native native-asan fuzz win64 win32)
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=("${all_steps[@]}")

passed=0; failed=0; skips=0; failures=()
for step in "${steps[@]}"; do
  echo "==== $step"
  start=$SECONDS
  timeout 40m bash -c "step_${step//-/_}"
  status=$?
  if [ $status = 0 ]; then
    passed=$((passed + 1)); echo "==== $step passed ($((SECONDS - start))s)"
  elif [ $status = "$skipped" ]; then
    skips=$((skips + 1)); echo "==== $step SKIPPED ($((SECONDS - start))s)"
  else
    failed=$((failed + 1)); failures+=("$step"); echo "==== $step FAILED ($((SECONDS - start))s)"
  fi
done

[ ${#failures[@]} -eq 0 ] || echo "failed steps: ${failures[*]}"
echo "$passed passed, $failed failed, $skips skipped"
[ "$failed" -eq 0 ]
