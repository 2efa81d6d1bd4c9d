#!/usr/bin/env bash
# quillon-admin.com as a command prompt meets it, under the build's Wine and
# prefix. A path with a non-ASCII character comes back intact both ways Wine
# allows: through a pipe as the ANSI code page's bytes (Windows-1252 here),
# and on a console (a pseudo-terminal, which Wine's console shows in UTF-8) as
# the same character, where ANSI bytes would come out in the console's OEM
# code page ("Ü" as "▄"). /? and /report to a full device exit 1 with the
# reason on standard error. Then, with a probe standing in for the exe beside
# a copy of the companion: the companion answers a command itself, and starts
# the exe only for the window, with no compatibility layer, and does not wait
# for it. Wine has no UAC: that the window asks for elevation and the commands
# do not, only Windows can show.
#
#   command-prompt.sh WINE UTILITY PROBE WORK_DIR
# WINE runs a Windows program in the prefix (the build's wine-run.sh).
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY PROBE WORK_DIR" >&2; exit 2; }
wine=$(realpath "$1") utility=$(realpath "$2") probe=$(realpath "$3") work=$4
companion=${utility%.exe}.com
rm -rf "$work" && mkdir -p "$work" && cd "$work"
# Wine takes its code pages from the locale: English, so ANSI is Windows-1252.
export LC_ALL=C.UTF-8


folder="$PWD/Übersicht"
mkdir "$folder"
target=$(dos "$folder/settings.reg")
line="Exported the settings to $target."

# The prefix need hold none of the printer's settings: a file of defaults.
in_time "$wine" "$companion" /export "$target" /defaults >pipe.out 2>pipe.err || fail "the export ended with $?"
[ ! -s pipe.err ] || fail "the export wrote to standard error: $(cat pipe.err)"
[ -s "$folder/settings.reg" ] || fail "no file in $folder"
printf '%s\r\n' "$line" | iconv -f UTF-8 -t WINDOWS-1252 | cmp -s - pipe.out ||
  fail "through a pipe: $(od -c pipe.out | head -n 4)"

# script gives the command a terminal of its own, wide enough that Wine's
# console does not fold the line; its output is the terminal's.
in_time script -qec "stty cols 500; $(printf '%q ' "$wine" "$companion" /export "$target" /defaults)" /dev/null \
  </dev/null >console.out || fail "the export on a console ended with $?"
grep -qF "$line" console.out || fail "on a console: $(od -c console.out | head -n 6)"

status=0
in_time "$wine" "$companion" /? >/dev/full 2>full.err || status=$?
[ "$status" = 1 ] && grep -q '^Could not write the help: ' full.err ||
  fail "/? to a full device ended with $status: $(cat full.err)"
status=0
in_time "$wine" "$companion" /report >/dev/full 2>full.err || status=$?
[ "$status" = 1 ] && grep -q '^Could not write the report: ' full.err ||
  fail "/report to a full device ended with $status: $(cat full.err)"

# The probe, under the exe's name beside a copy of the companion.
mkdir prompt
cp "$companion" prompt/quillon-admin.com
cp "$probe" prompt/quillon-admin.exe
seen=prompt/quillon-admin.exe.txt
probe_saw() { tr -d '\r' <"$seen" | sed -n "s/^$1=//p"; }

help=$(in_time "$wine" prompt/quillon-admin.com /? 2>&1) || fail "/? beside the probe ended with $?"
[[ $help == "Quillon Administrator Utility "* ]] || fail "/? beside the probe printed: ${help:0:200}"
[ ! -e "$seen" ] || fail "the companion started the exe for /?"

# The window: the companion is back before the probe has written anything.
in_time "$wine" prompt/quillon-admin.com >/dev/null 2>&1 || fail "opening the window ended with $?"
start=$SECONDS
[ ! -e "$seen" ] || fail "the companion waited for the window"
for _ in $(seq 60); do [ -s "$seen" ] && break; sleep 0.5; done
[ -s "$seen" ] || fail "the window was never started"
[ -z "$(probe_saw layers)" ] || fail "the window was started with layers: $(probe_saw layers)"
echo "command prompt: a pipe and a console show $folder's name; the window started $((SECONDS - start)) s after the companion returned"
