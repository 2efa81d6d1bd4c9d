#!/usr/bin/env bash
# /check under Wine, with the build's own Wine and prefix, as a compliance job
# runs it: through the console companion, judged by its exit code. A
# reference exports its settings; the same prefix, wiped, differs from the
# file (1); imported with reg (the 32-bit reg with /reg:64 under WoW64), it
# matches (0); one setting changed in the window's keys, exactly
# that setting is named (1). Files that are not registry files, or hostile
# ones, get 3 or a clean answer within the time-out. Then the time /check
# takes against "cmd /c exit", medians of five.
#
#   check.sh WINE UTILITY WORK_DIR WINDOWS
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY WORK_DIR WINDOWS" >&2; exit 2; }
wine=$1 utility=$2 work=$3 windows=$4
companion=${utility%.exe}.com
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon')
# check FILE EXPECTED_EXIT: the answer in check.out, one line a row.
check() {
  local status=0
  timeout 60 "$wine" "$companion" /check "$(dos "$PWD/$1")" >check.out 2>check.err || status=$?
  tr -d '\r' <check.out >check.lf
  [ "$status" = "$2" ] || fail "/check $1 ended with $status, not $2: $(cat check.lf check.err)"
}

cat >seed.reg <<'SEED'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon]
"Default Path"="C:\\PDF"
"PDFWatermarkFile"="C:\\Marks\\all.pdf"
"disabled options"=dword:00000003

[HKEY_CURRENT_USER\Software\Marrowby\Quillon]
"copy error retry count"=dword:00000007
SEED

wipe
in_time "$wine" reg import "$(dos "$PWD/seed.reg")" >/dev/null 2>&1 || fail "reg import of the seed"
in_time "$wine" "$companion" /export "$(dos "$PWD/reference.reg")" >/dev/null 2>&1 ||
  fail "the reference's export ended with $?"
check reference.reg 0

wipe
check reference.reg 1
grep -qxF 'Default path on first use: shows "", the file "C:\PDF"; now its default' check.lf ||
  fail "the wiped machine's check lacks the default path: $(cat check.lf)"

if [ "$windows" = wow64 ]; then
  in_time "$wine" 'C:\windows\syswow64\reg.exe' import "$(dos "$PWD/reference.reg")" /reg:64 >/dev/null 2>&1
else
  in_time "$wine" reg import "$(dos "$PWD/reference.reg")" >/dev/null 2>&1
fi || fail "reg import of the reference's file"
check reference.reg 0
[ "$(cat check.lf)" = "This machine shows every setting as the file would make it show." ] ||
  fail "the imported machine's check said: $(cat check.lf)"

in_time "$wine" reg add 'HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' /v "Default Path" /d 'D:\Other' \
  /f /reg:32 >/dev/null 2>&1 || fail "reg add"
check reference.reg 1
[ "$(head -1 check.lf)" = 'Default path on first use: shows "D:\Other", the file "C:\PDF"; now from HKLM\Software\Marrowby\Quillon (32-bit view) ("Default Path")' ] &&
  [ "$(sed -n 2p check.lf)" = "1 setting differs from what the file would make it show." ] &&
  [ "$(wc -l <check.lf)" = 2 ] || fail "the changed machine's check said: $(cat check.lf)"

# Hostile files: each refused with its reason (3), or answered, in time.
hostile() {  # NAME EXPECTED_EXIT
  local start=$(date +%s%N)
  check "$1" "$2"
  echo "$1: exit $2 in $(( ($(date +%s%N) - start) / 1000000 )) ms: $(head -c 160 check.err check.lf | tr '\n' ' ')"
}
truncate -s 100M huge.reg
printf '\xff\xfeW\x00\x00' >odd.reg
{ printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Marrowby\\Quillon]\r\n"x"=hex:01,\\\r\n'
  awk 'BEGIN { for (i = 0; i < 200000; i++) print "  01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,\\" }'; } >endless.reg
{ printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Elsewhere]\r\n"long"="'
  head -c 1000000 /dev/zero | tr '\0' 'x'; printf '"\r\n'; } >long-line.reg
printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n' >broken.reg
hostile huge.reg 3
hostile odd.reg 3
hostile endless.reg 3
grep -q "line 200003: the file ends in the middle of a hex: list" check.err ||
  fail "the endless list was refused without its line: $(cat check.err)"
hostile broken.reg 3
grep -q "broken.reg, line 2: a key's name must end in" check.err || fail "no line for broken.reg"
hostile long-line.reg 0
grep -q "(1 value elsewhere was ignored)" check.lf || fail "the long line's value was not counted"

check_ms=$(median_ms "$companion" /check "$(dos "$PWD/reference.reg")")
exit_ms=$(median_ms cmd /c exit)
wipe
echo "/check $check_ms ms, cmd /c exit $exit_ms ms (medians of 5)"
