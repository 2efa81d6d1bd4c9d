#!/usr/bin/env bash
# Every user's copies under Wine, with the build's own Wine and prefix,
# through the console companion: two other profiles, listed in ProfileList
# and loaded below HKEY_USERS, hold copies of their own over the machine's
# all-users values (one in the user's product key, one in the legacy key, a
# QUILLONTEMP of the user's own), beside values and keys that are not the
# printer's. "/users" lists them (1), "/check FILE /allusers" against an
# export of the machine made before they were seeded finds them (1);
# "/users /clear" removes them (0) and nothing else, after which both say
# every user is clean (0). Then the time "/users" takes against "cmd /c
# exit", medians of five. The outputs stay in WORK_DIR.
#
# Only loaded profiles are tried: Wine 8's RegLoadAppKey is a stub that
# "loads" any path, even a missing one, as a handle every call refuses, so a
# profile reached through its hive file cannot be played here.
#
#   users.sh WINE UTILITY WORK_DIR WINDOWS
# WINE runs a Windows program in the prefix (the build's wine-run.sh); WINDOWS
# is 64 (a 64-bit program on 64-bit Windows), wow64 (a 32-bit one there) or
# x86 (32-bit Windows).
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY WORK_DIR WINDOWS" >&2; exit 2; }
wine=$1 utility=$2 work=$3 windows=$4
companion=${utility%.exe}.com
# The prefix's own script, beside WINE as the build names them.
prefix_script=${wine/wine-run/wine-prefix}
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly alice=S-1-5-21-1-2-3-1001 bob=S-1-5-21-1-2-3-1002
readonly profile_list='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList'
readonly environment='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon'
               "HKEY_USERS\\$alice" "HKEY_USERS\\$bob" "$profile_list\\$alice" "$profile_list\\$bob")

# Keys below HKEY_USERS\<SID> of a profile that is not Wine's own user live
# in the server's memory only: one server serves the whole script.
in_time "$prefix_script" keep || fail "the prefix's server could not be kept running"
clean_up() {
  wipe
  in_time "$wine" reg delete "$environment" /v QUILLONTEMP /f >/dev/null 2>&1 || true
  "$prefix_script" stop
}
trap clean_up EXIT
wipe

# The 64-bit reg sends the WOW6432Node path to the program's own view; 32-bit
# Windows has only that view, under the plain path.
program_view='HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon'
[ "$windows" != x86 ] || program_view='HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon'
cat >machine.reg <<SEED
REGEDIT4

[$program_view]
"PDFWatermarkFile"="C:\\\\Marks\\\\all users.pdf"
"PDFAutoNameContentSearchWord"="Order"

[$environment]
"QUILLONTEMP"="C:\\\\QuillonTemp"
SEED
cat >users.reg <<SEED
REGEDIT4

[HKEY_USERS\\$alice\\Software\\Marrowby\\Quillon]
"PDFWatermarkFile"="C:\\\\Marks\\\\alice.pdf"
"ReviewerNote"="not the printer's"

[HKEY_USERS\\$alice\\Environment]
"QUILLONTEMP"="C:\\\\AliceTemp"
"TEMP"="C:\\\\AliceTmp"

[HKEY_USERS\\$bob\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon]
"PDFAutoNameContentSearchWord"="Invoice"

[HKEY_USERS\\$bob\\Software\\Other\\Program]
"Kept"="yes"
SEED

in_time "$wine" reg import "$(dos "$PWD/machine.reg")" >/dev/null 2>&1 || fail "reg import of the machine's values"
# What every user would show without copies of their own.
in_time "$wine" "$companion" /export "$(dos "$PWD/machine-export.reg")" >/dev/null 2>&1 ||
  fail "the machine's export ended with $?"

in_time "$wine" reg import "$(dos "$PWD/users.reg")" >/dev/null 2>&1 || fail "reg import of the users' copies"
# Alice's folder is named as Windows names it, through a variable; Bob's plainly.
in_time "$wine" cmd /c 'if not exist C:\users\alice mkdir C:\users\alice' >/dev/null 2>&1 ||
  fail "alice's folder"
mkdir bob
profile() {  # SID TYPE FOLDER
  in_time "$wine" reg add "$profile_list\\$1" /v ProfileImagePath /t "$2" /d "$3" /f >/dev/null 2>&1 ||
    fail "ProfileList entry of $1"
}
profile "$alice" REG_EXPAND_SZ '%SystemDrive%\users\alice'
profile "$bob" REG_SZ "$(dos "$PWD/bob")"

# run OUTPUT EXPECTED_EXIT ARGUMENTS...: the companion's standard output in
# OUTPUT, with Linux line ends.
run() {
  local output=$1 expected=$2 status=0
  shift 2
  in_time "$wine" "$companion" "$@" >"$output.crlf" 2>"$output.err" || status=$?
  tr -d '\r' <"$output.crlf" >"$output"
  rm "$output.crlf"
  [ "$status" = "$expected" ] || fail "$* ended with $status, not $expected: $(cat "$output" "$output.err")"
}
# holds OUTPUT TEXT... / lacks OUTPUT TEXT...
holds() { local text; for text in "${@:2}"; do grep -qF -- "$text" "$1" || fail "$1 lacks: $text"; done; }
lacks() { local text; for text in "${@:2}"; do ! grep -qF -- "$text" "$1" || fail "$1 still names: $text"; done; }

run users-before.txt 1 /users
holds users-before.txt "$alice" "$bob" 'alice.pdf' 'AliceTemp' 'Invoice'
run check-before.txt 1 /check "$(dos "$PWD/machine-export.reg")" /allusers
holds check-before.txt "$alice" "$bob"

run users-clear.txt 0 /users /clear
run users-after.txt 0 /users
lacks users-after.txt 'alice.pdf' 'AliceTemp' 'Invoice'
run check-after.txt 0 /check "$(dos "$PWD/machine-export.reg")" /allusers

# present KEY NAME / absent KEY NAME: the value, asked for with reg.
present() { in_time "$wine" reg query "$1" /v "$2" >/dev/null 2>&1 || fail "/users /clear removed $1\\$2"; }
absent() { ! in_time "$wine" reg query "$1" /v "$2" >/dev/null 2>&1 || fail "/users /clear left $1\\$2"; }
absent "HKEY_USERS\\$alice\\Software\\Marrowby\\Quillon" PDFWatermarkFile
absent "HKEY_USERS\\$alice\\Environment" QUILLONTEMP
absent "HKEY_USERS\\$bob\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon" PDFAutoNameContentSearchWord
present "HKEY_USERS\\$alice\\Software\\Marrowby\\Quillon" ReviewerNote
present "HKEY_USERS\\$alice\\Environment" TEMP
present "HKEY_USERS\\$bob\\Software\\Other\\Program" Kept
present "$program_view" PDFWatermarkFile
present "$program_view" PDFAutoNameContentSearchWord
present "$environment" QUILLONTEMP

users_ms=$(median_ms "$companion" /users)
exit_ms=$(median_ms cmd /c exit)
echo "/users $users_ms ms, cmd /c exit $exit_ms ms (medians of 5)"
