#!/usr/bin/env bash
# Builds the utility and starts it under Wine on your display. With no display
# it runs it under Xvfb instead, saves a screenshot of each page into
# screenshots/ and closes it.
#
#   scripts/run.sh        the 64-bit build, under the machine's own Wine
#   scripts/run.sh --32   the 32-bit release build, under the 32-bit Wine of
#                         scripts/win32-root.sh (made on first use: minutes)
#
# Wine keeps a prefix of its own per build in build/, made on first use.
set -euo pipefail
readonly self=$(realpath "$0")
cd "$(dirname "$self")/.."

bits=64
if [ "${1:-}" = --32 ]; then bits=32; shift; fi
readonly bits
readonly preset=win$bits
readonly programs=$PWD/build/$preset/programs
readonly tools=$PWD/build/$preset/app/win32
readonly shots=screenshots
export WINEPREFIX=$PWD/build/run-prefix-$bits
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

if [ "$bits" = 32 ]; then
  # Inside the root the source tree is mounted at its own path, and Wine's
  # programs have the same paths as the machine's own.
  in_root() { scripts/win32-root.sh run "$@"; }
else
  in_root() { "$@"; }
fi
wine() { in_root /usr/lib/wine/wine64 "$@"; }
wineserver() { in_root /usr/lib/wine/wineserver "$@"; }
make_prefix() { in_root timeout 300 scripts/make-wine-prefix.sh "$WINEPREFIX"; }

# Called again under Xvfb: opens the utility, photographs each page, closes it.
if [ "${1:-}" = --screenshots ]; then
  wine "$programs/quillon-admin.exe" >/dev/null 2>&1 &
  utility=$!
  wine "$tools/page-tour.exe" wait
  mkdir -p "$shots"
  for page in 1 2 3 4 5; do
    shown=$(wine "$tools/page-tour.exe" show "$page" | tr -d '\r')
    read -r name geometry <<<"$shown"
    sleep 1  # let the page paint
    import -window root -crop "$geometry" +repage "$shots/$name.png"
    echo "saved $shots/$name.png"
  done
  wine "$tools/page-tour.exe" close
  for _ in $(seq 1 100); do kill -0 "$utility" 2>/dev/null || exit 0; sleep 0.1; done
  echo "the utility did not end after its window closed" >&2
  exit 1
fi

scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
# Building quillon-admin also places quillonc.dll beside it.
cmake --build --preset "$preset" --target quillon-admin quillon_page_tour

# Only this prefix's processes are ever stopped, and only through its server.
cleanup() { wineserver -k 2>/dev/null || true; }
if [ "$bits" = 32 ]; then
  scripts/win32-root.sh prepare || { echo "The 32-bit program needs the 32-bit root; it could not be made." >&2; exit 1; }
  scripts/win32-root.sh mount "$PWD"
  cleanup() { wineserver -k 2>/dev/null || true; scripts/win32-root.sh umount "$PWD"; }
fi
trap cleanup EXIT
# A prefix whose creation was cut short has no system.reg yet.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)"
  make_prefix
fi

if [ -n "${DISPLAY:-}" ]; then
  wine "$programs/quillon-admin.exe"
else
  echo "No display: taking screenshots of the five pages under Xvfb"
  args=(--screenshots)
  [ "$bits" = 64 ] || args=(--32 --screenshots)
  timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" "$self" "${args[@]}"
  echo "The pages are in $shots/"
fi
