#!/usr/bin/env bash
# Builds the utility (the 64-bit build, which is what Wine runs here) and
# starts it under Wine on your display. With no display it runs it under Xvfb
# instead, saves a screenshot of each page into screenshots/ and closes it.
# Wine keeps its own prefix in build/run-prefix, made on first use.
set -euo pipefail
readonly self=$(realpath "$0")
cd "$(dirname "$self")/.."

readonly build=build/win64/app/win32
readonly shots=screenshots
export WINEPREFIX=$PWD/build/run-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
readonly wine=/usr/lib/wine/wine64
readonly wineserver=/usr/lib/wine/wineserver

# Called again under Xvfb: opens the utility, photographs each page, closes it.
if [ "${1:-}" = --screenshots ]; then
  "$wine" "$build/quillon-admin.exe" &
  utility=$!
  "$wine" "$build/page-tour.exe" wait
  mkdir -p "$shots"
  for page in 1 2 3 4 5; do
    shown=$("$wine" "$build/page-tour.exe" show "$page" | tr -d '\r')
    read -r name geometry <<<"$shown"
    sleep 1  # let the page paint
    import -window root -crop "$geometry" +repage "$shots/$name.png"
    echo "saved $shots/$name.png"
  done
  "$wine" "$build/page-tour.exe" close
  for _ in $(seq 1 100); do kill -0 "$utility" 2>/dev/null || exit 0; sleep 0.1; done
  echo "the utility did not end after its window closed" >&2
  exit 1
fi

scripts/install-deps.sh
cmake --preset win64 >/dev/null
# Building quillon-admin also places quillonc.dll beside it.
cmake --build --preset win64 --target quillon-admin quillon_page_tour

# Only this prefix's processes are ever stopped, and only through its server.
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# A prefix whose creation was cut short has no system.reg yet.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)"
  timeout 300 scripts/make-wine-prefix.sh "$WINEPREFIX"
fi

if [ -n "${DISPLAY:-}" ]; then
  "$wine" "$build/quillon-admin.exe"
else
  echo "No display: taking screenshots of the five pages under Xvfb"
  timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" "$self" --screenshots
  echo "The pages are in $shots/"
fi
