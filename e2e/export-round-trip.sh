#!/usr/bin/env bash
# The export's round trip under Wine, with the build's own Wine and prefix:
# a reference machine seeded with settings in every location and both views
# (stale copies included) exports them, which must leave its registry as it
# was; it then applies them in the window. The same prefix, its utility keys
# wiped and seeded with other stale copies, plays the target: "reg import" of
# the file must leave every location of the utility, in both views, holding
# byte for byte what the reference's Apply left, and the window's load there
# must find what it found on the reference (the export after each, which runs
# that very load, must be the same). Under WoW64 the file is also imported
# with the 32-bit reg: with /reg:64 just as exactly; plainly, the program's own
# view must come out whole (the 64-bit view's stale copies are out of its
# reach). On 32-bit Windows there is one view, and the seeds' WOW6432Node
# sections go to the one machine key.
# Bad input comes first: refused with a reason and an exit code, writing
# nothing. Every export goes through the console companion, as a prompt runs
# it, so its line and exit code are the utility's.
#
#   export-round-trip.sh WINE UTILITY PAGE_TOUR WORK_DIR WINDOWS
# WINE runs a Windows program in the prefix (the build's wine-run.sh); WINDOWS
# is what the prefix and the program are: 64 (a 64-bit program on 64-bit
# Windows), wow64 (a 32-bit one there) or x86 (32-bit Windows).
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 5 ] || { echo "usage: $0 WINE UTILITY PAGE_TOUR WORK_DIR WINDOWS" >&2; exit 2; }
wine=$1 utility=$2 tour=$3 work=$4 windows=$5
companion=${utility%.exe}.com
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly environment='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon'
               'HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon')

# registry_file FILE [REG [SWITCH]]: imports with the system's own reg unless
# told otherwise.
registry_file() {
  in_time "$wine" "${2:-reg}" import "$(dos "$PWD/$1")" ${3:+"$3"} >/dev/null 2>&1 ||
    fail "import of $1 with ${2:-reg} ${3:-}"
}
readonly reg32='C:\windows\syswow64\reg.exe'
views=(32 64)
[ "$windows" != x86 ] || views=(32)

# Every value of the utility's keys in both views, and the temporary-folder
# variable, a line each: "view [key] "name"=data", folded lines joined.
snapshot() {
  local key view out=$1
  : >"$out"
  for view in "${views[@]}"; do
    for key in "${keys[@]}" "$environment"; do
      rm -f part.reg
      in_time "$wine" reg export "$key" "$(dos "$PWD/part.reg")" "/reg:$view" /y >/dev/null 2>&1 || continue
      iconv -f UTF-16 -t UTF-8 part.reg | tr -d '\r' | sed -e ':a' -e '/\\$/N; s/\\\n *//; ta' |
        awk -v view="$view" -v env="$environment" '
          /^\[/ { key = $0; next }
          /^"/ && (key != "[" env "]" || /^"QUILLONTEMP"=/) { print view " " key " " $0 }' >>"$out"
    done
  done
}

wipe_all() {
  wipe
  in_time "$wine" reg delete "$environment" /v QUILLONTEMP /f >/dev/null 2>&1 || true
}

# The line that says it is done goes to standard output: PowerShell and
# deployment agents take anything on standard error for a failure.
# export_to FILE [SWITCH]
export_to() {
  in_time "$wine" "$companion" /export "$(dos "$PWD/$1")" ${2:+"$2"} >export.out 2>export.err ||
    fail "the export to $1 ended with $? ($(tr -d '\r' <export.out export.err))"
  grep -q "^Exported the settings to " export.out || fail "the export to $1 said $(cat export.out)"
  [ ! -s export.err ] || fail "the export to $1 wrote to standard error: $(cat export.err)"
}
# The file less its comments, which name the computer and the user.
settings_of() { iconv -f UTF-16 -t UTF-8 "$1" | grep -v '^;'; }

cat >reference.reg <<'SEED'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon]
"PDFFileName"="C:\\PDF\\machine.pdf"
"PDFMailDefaultSubject"="Machine subject"
"disabled options"=dword:00000005
"auto merge interval"=dword:0000001e
"PDFTitle"="Stale title"

[HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon]
"disabled options"=dword:00000003
"Default Path"="C:\\Stale\\64-bit view"

[HKEY_CURRENT_USER\Software\Marrowby\Quillon]
"PDFMailDefaultSubject"="Monthly report"
"PDFWatermarkFile"="C:\\Marks\\draft.pdf"
"PDFExcludeWatermarkPre"="2"

[HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon]
"PDFMailDefaultRecipients"="accounts@example.com"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment]
"QUILLONTEMP"="C:\\Quillon temp"
SEED

cat >target.reg <<'SEED'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon]
"PDFFileName"="C:\\Old\\64-bit.pdf"
"auto merge interval"=dword:00000063

[HKEY_CURRENT_USER\Software\Marrowby\Quillon]
"disabled options"=dword:00000002
"PDFTitle"="Old title"

[HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon]
"PDFFileName"="C:\\Legacy\\file.pdf"
"Default Path"="C:\\Legacy"
SEED

if [ "$windows" = x86 ]; then
  sed -i 's/\\WOW6432Node\\/\\/' reference.reg target.reg
fi

# Bad input is refused with a reason on standard error, nothing on standard
# output, an exit code, and writes nothing.
refused_with() {
  local code=$1 reason=$2 status=0
  shift 2
  in_time "$wine" "$companion" "$@" >refusal.out 2>refusal.err || status=$?
  [ "$status" = "$code" ] || fail "$* ended with $status, not $code"
  grep -q "^$reason" refusal.err || fail "$* said $(cat refusal.out refusal.err)"
  [ ! -s refusal.out ] || fail "$* wrote to standard output: $(cat refusal.out)"
}
refused_with 2 'Unknown argument "/import"' /import exported.reg
refused_with 2 'No file name after /export' /export
# Where none of the printer's settings is stored, the file could only reset
# every target: refused unless asked for.
wipe_all
refused_with 1 "Nothing was exported: the utility found none of the printer's settings" /export "$(dos "$PWD/reset.reg")"
refused_with 1 'Could not write Z:' /export "$(dos "$PWD/missing/exported.reg")" /defaults
[ ! -e missing ] && [ ! -e reset.reg ] || fail "a refused export wrote something"
export_to reset.reg /defaults
iconv -f UTF-16 -t UTF-8 reset.reg | grep -q '^"QUILLONTEMP"=-' || fail "the file of defaults does not reset"

registry_file reference.reg
snapshot seeded.txt
export_to exported.reg
snapshot after-export.txt
cmp -s seeded.txt after-export.txt || { diff seeded.txt after-export.txt; fail "the export changed the registry"; }

# The reference applies in its window.
in_time "$wine" "$utility" >/dev/null 2>&1 &
in_time "$wine" "$tour" wait >/dev/null || fail "the window did not open"
in_time "$wine" "$tour" apply >/dev/null || fail "Apply did not save and close"
wait
snapshot applied.txt
cmp -s seeded.txt applied.txt && fail "Apply changed nothing, so the comparison would prove nothing"
export_to after-apply.reg

# import_on_target REG [SWITCH]: the target's stale copies, then the file.
import_on_target() {
  wipe_all
  registry_file target.reg
  registry_file exported.reg "$@"
  snapshot imported.txt
}
exactly_as_applied() {
  import_on_target "$@"
  cmp -s applied.txt imported.txt || { diff applied.txt imported.txt; fail "$* import differs from Apply"; }
  export_to after-import.reg
  diff <(settings_of after-apply.reg) <(settings_of after-import.reg) ||
    fail "the window loads other settings after the $* import"
}
exactly_as_applied reg
if [ "$windows" = wow64 ]; then
  exactly_as_applied "$reg32" /reg:64
  import_on_target "$reg32"
  diff <(grep '^32 ' applied.txt) <(grep '^32 ' imported.txt) ||
    fail "the plain 32-bit import lost values in the program's view"
  echo "32-bit reg: the program's view whole plainly, everything with /reg:64"
fi
wipe_all
echo "round trip: $(wc -l <applied.txt) values alike after Apply and after the import"
