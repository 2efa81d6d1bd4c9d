# The helpers every end-to-end script shares, sourced after it has set
# `wine` (the build's wine-run.sh). Each step has a time-out, so that no
# script can hang on a window or a dialog: `step_seconds` before sourcing
# changes it from 120.

# A Linux path as Wine's Z: drive names it.
dos() { echo "Z:${1//\//\\}"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
in_time() { timeout "${step_seconds:-120}" "$@"; }
# The median of five runs of a Windows program, in milliseconds, whatever it exits with.
median_ms() {
  local i start
  for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    in_time "$wine" "$@" >/dev/null 2>&1 || true
    echo $(( ($(date +%s%N) - start) / 1000000 ))
  done | sort -n | sed -n 3p
}
# Removes the keys the script names in `keys`, with everything below them, in
# both views.
wipe() {
  local key view
  for view in 32 64; do
    for key in "${keys[@]}"; do in_time "$wine" reg delete "$key" /f "/reg:$view" >/dev/null 2>&1 || true; done
  done
}
