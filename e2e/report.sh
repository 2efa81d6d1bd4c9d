#!/usr/bin/env bash
# /report under Wine, with the build's own Wine and prefix: on a prefix seeded
# with a number in both views of the machine key and a text in the user key
# and the machine key, the report names the 64-bit view's copy of the number
# as the one the window shows and the default view's as hidden, and the user's
# copy of the text as hiding the machine's; a stored -1 and an empty text are
# skipped, as the window skips them, and a per-user copy of a machine-wide
# text is one the window never reads. On 32-bit Windows there is one machine
# key and the report says so. Bad input is refused with its exit code. Then
# the time the report takes against "cmd /c exit", medians of five.
#
#   report.sh WINE UTILITY WORK_DIR WINDOWS
# WINE runs a Windows program in the prefix (the build's wine-run.sh); WINDOWS
# is 64 (a 64-bit program on 64-bit Windows), wow64 (a 32-bit one there) or
# x86 (32-bit Windows).
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY WORK_DIR WINDOWS" >&2; exit 2; }
wine=$1 utility=$2 work=$3 windows=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon')

# The 64-bit reg sends the WOW6432Node path to the program's own view; 32-bit
# Windows has only that view, under the plain path, and no 64-bit copy.
program_view='HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon'
[ "$windows" != x86 ] || program_view='HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon'
cat >seed.reg <<SEED
REGEDIT4

[$program_view]
"copy error retry count"=dword:00000020
"PDFWatermarkFile"="C:\\\\Marks\\\\all users.pdf"
"append error retry count"=dword:ffffffff
"PDFFileName"=""

[HKEY_CURRENT_USER\Software\Marrowby\Quillon]
"PDFWatermarkFile"="C:\\\\Marks\\\\mine.pdf"
"PDFDefaultFileName"="C:\\\\PDF\\\\x.pdf"
"Default Path"="C:\\\\User"
SEED
[ "$windows" = x86 ] || printf '%s\n' '' '[HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon]' \
  '"copy error retry count"=dword:00000040' >>seed.reg

status=0
in_time "$wine" "$utility" /report a.txt b.txt >refusal.out 2>&1 || status=$?
[ "$status" = 2 ] && [ -s refusal.out ] || fail "/report with two files ended with $status"
status=0
in_time "$wine" "$utility" /report "$(dos "$PWD/missing/report.txt")" >refusal.out 2>&1 || status=$?
[ "$status" = 1 ] && [ ! -e missing ] || fail "/report to a missing folder ended with $status"

wipe
in_time "$wine" reg import "$(dos "$PWD/seed.reg")" >/dev/null 2>&1 || fail "reg import"
in_time "$wine" "$utility" /report "$(dos "$PWD/report.txt")" >report.out 2>&1 ||
  fail "/report ended with $? ($(tr -d '\r' <report.out))"
tr -d '\r' <report.txt >report.lf
expect() {
  grep -qxF -A1 -- "$1" report.lf || fail "the report lacks: $1"
  [ "$(grep -xF -A1 -- "$1" report.lf | tail -1)" = "$2" ] || fail "after \"$1\" the report lacks: $2"
}
if [ "$windows" = x86 ]; then
  machine='HKLM\Software\Marrowby\Quillon'
  grep -qxF 'Windows: 32-bit, one view of HKLM\Software' report.lf || fail "the report does not say 32-bit Windows"
  grep -qxF '    "copy error retry count" from HKLM\Software\Marrowby\Quillon: REG_DWORD 32' report.lf ||
    fail "the report lacks the machine key's number"
  ! grep -qF -- '-bit view' report.lf || fail "the report names a view on 32-bit Windows"
else
  machine='HKLM\Software\Marrowby\Quillon (32-bit view)'
  expect '    "copy error retry count" from HKLM\Software\Marrowby\Quillon (64-bit view): REG_DWORD 64' \
         "      hidden $machine: REG_DWORD 32; Apply clears it"
fi
expect '    "PDFWatermarkFile" from HKCU\Software\Marrowby\Quillon: REG_SZ "C:\Marks\mine.pdf"' \
       "      hidden $machine: REG_SZ \"C:\\Marks\\all users.pdf\"; Apply clears it"
expect '    "append error retry count": no copy taken, the window shows its default' \
       "      skipped, -1 is read as no number: $machine: REG_DWORD -1; Apply clears it"
expect '    "PDFFileName" not used: the box shows "PDFDefaultFileName" instead' \
       "      skipped, an empty text: $machine: REG_SZ \"\"; Apply clears it"
expect '    "Default Path": no copy taken, the window shows its default' \
       '      not read by the window: HKCU\Software\Marrowby\Quillon: REG_SZ "C:\User"; Apply clears it'
# Without a file it goes to the standard output of the console it was started from.
in_time "$wine" "$utility" /report >console.out 2>/dev/null || fail "/report to the console ended with $?"
grep -q 'from HKCU\\Software\\Marrowby\\Quillon: REG_SZ "C:\\Marks\\mine.pdf"' console.out ||
  fail "the console got no report"

report_ms=$(median_ms "$utility" /report "$(dos "$PWD/timed.txt")")
exit_ms=$(median_ms cmd /c exit)
wipe
echo "report: $(wc -l <report.lf) lines; /report $report_ms ms, cmd /c exit $exit_ms ms (medians of 5)"
