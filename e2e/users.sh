#!/usr/bin/env bash
# Every user's copies under Wine, with the build's own Wine and prefix,
# through the console companion: two other profiles, listed in ProfileList
# and loaded below HKEY_USERS, hold copies of their own over the machine's
# all-users values (one in the user's product key, one in the legacy key, a
# QUILLONTEMP of the user's own), beside values and keys that are not the
# printer's; Wine's own user holds none. "/users" lists them (1), "/check
# FILE /allusers" against an export of the machine made before they were
# seeded finds those the window shows (1); "/users /clear" removes them (0)
# and nothing else, after which both say every user is clean (0). Then the
# time "/users" takes against "cmd /c exit", medians of five. The outputs
# stay in WORK_DIR.
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
# expect OUTPUT: OUTPUT holds the lines on standard input, and besides them
# only the line of Wine's own user (S-1-5-21-0-0-0-1000 in every prefix),
# which holds no copies.
readonly wine_user_clean='(S-1-5-21-0-0-0-1000): no copies of its own'
expect() {
  local wanted differences
  wanted=$(cat)
  differences=$(diff <(grep -vF -- "$wine_user_clean" "$1") <(printf '%s\n' "$wanted") 2>&1) ||
    fail "$1 is not as expected (< got, > expected):"$'\n'"$differences"
}
with_wine_user() { grep -qF -- "$wine_user_clean" "$1" || fail "$1 lacks Wine's own user, clean"; }
readonly alice_name='S-1-5-21-1-2-3-1001 (C:\users\alice)' bob_name="$bob ($(dos "$PWD/bob"))"
readonly alice_key="HKU\\$alice" bob_key="HKU\\$bob"
readonly watermark='Apply watermark PDF file after creation (Quillon Pro, optional)'
readonly search_word='Content Based Naming Search Word (optional)'

run users-before.txt 1 /users
with_wine_user users-before.txt
expect users-before.txt <<LINES
$alice_name: 2 settings of its own
  $watermark: "C:\Marks\alice.pdf", where all users get "C:\Marks\all users.pdf"; from $alice_key\Software\Marrowby\Quillon ("PDFWatermarkFile")
  Quillon Temporary Folder: "C:\AliceTemp", where all users get "C:\QuillonTemp"; from $alice_key\Environment ("QUILLONTEMP")
$bob_name: 1 setting of its own
  $search_word: "Invoice", where all users get "Order"; from $bob_key\Software\VB and VBA Program Settings\Marrowby\Quillon ("PDFAutoNameContentSearchWord")
2 of 3 profiles hold their own copies of 3 settings.
LINES
# Alice differs in what her window shows and in the QUILLONTEMP her programs
# read, which the window never reads.
run check-before.txt 1 /check "$(dos "$PWD/machine-export.reg")" /allusers
expect check-before.txt <<LINES
$alice_name: $watermark: shows "C:\Marks\alice.pdf", the file "C:\Marks\all users.pdf"; now from $alice_key\Software\Marrowby\Quillon ("PDFWatermarkFile"); importing the file does not change that for this user
$alice_name: Quillon Temporary Folder: the user's own "C:\AliceTemp", the file "C:\QuillonTemp"; from $alice_key\Environment ("QUILLONTEMP"); importing the file does not change that for this user
$bob_name: $search_word: shows "Invoice", the file "Order"; now from $bob_key\Software\VB and VBA Program Settings\Marrowby\Quillon ("PDFAutoNameContentSearchWord"); importing the file does not change that for this user
3 differences in 2 of 3 profiles from what the file would make them show.
LINES

clean_profiles="$alice_name: no copies of its own
$bob_name: no copies of its own
None of 3 profiles holds copies of its own."
run users-clear.txt 0 /users /clear
with_wine_user users-clear.txt
expect users-clear.txt <<LINES
Removed "PDFWatermarkFile" from $alice_key\Software\Marrowby\Quillon ($alice_name).
Removed "QUILLONTEMP" from $alice_key\Environment ($alice_name).
Removed "PDFAutoNameContentSearchWord" from $bob_key\Software\VB and VBA Program Settings\Marrowby\Quillon ($bob_name).
$clean_profiles
LINES
run users-after.txt 0 /users
with_wine_user users-after.txt
expect users-after.txt <<<"$clean_profiles"
run check-after.txt 0 /check "$(dos "$PWD/machine-export.reg")" /allusers
expect check-after.txt <<<'Every profile shows every setting as the file would make it show (3 profiles).'

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
