#!/usr/bin/env bash
# Creates a fresh Wine prefix at $1 that answers like a Windows installation
# where it matters to the utility's window: the default dialog font
# ("MS Shell Dlg") is the MS Sans Serif face, as on Windows, instead of
# Wine's wider Tahoma, so the window's captions fit the widths they were
# laid out for. Debian's Wine ships the bitmap face (fonts-wine) but does not
# install it into new prefixes. A program that crashes there ends at once.
set -euo pipefail
prefix=${1:?usage: make-wine-prefix.sh PREFIX}
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No prompts to install Wine's .NET and HTML engines.
export WINEDLLOVERRIDES='mscoree,mshtml='
# The machine's own Wine unless the caller names another.
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}

"$wineserver" -k 2>/dev/null || true
rm -rf "$prefix"
"$wine" wineboot -i
"$wineserver" -w

# sserife.fon serves 96 DPI displays, sseriff.fon 120 DPI ones.
cp /usr/share/wine/fonts/sserife.fon /usr/share/wine/fonts/sseriff.fon "$prefix/drive_c/windows/Fonts/"
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Shell Dlg' /d 'MS Sans Serif' /f >/dev/null
# Wine meets a crash with a dialog that waits for a person and keeps the
# program's output open, so a test would wait for its time-out; turned off,
# the crash ends the program at once.
"$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
"$wineserver" -w
