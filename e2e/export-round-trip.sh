#!/usr/bin/env bash
# The export's round trip under Wine, with the build's own Wine and prefix:
# a reference machine seeded with settings in every location and both views
# (stale copies included) exports them, which must leave its registry as it
# was; it then applies them in the window. The same prefix, its utility keys
# wiped and seeded with other stale copies, plays the target: "reg import" of
# the file must leave every location of the utility, in both views, holding
# byte for byte what the reference's Apply left, and the window's load there
# must find what it found on the reference (the export after each, which runs
# that very load, must be the same). Bad input comes first: refused with a
# reason and an exit code, writing nothing.
#
#   export-round-trip.sh WINE UTILITY PAGE_TOUR WORK_DIR
# WINE runs a Windows program in the prefix (the build's wine-run.sh).
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY PAGE_TOUR WORK_DIR" >&2; exit 2; }
wine=$1 utility=$2 tour=$3 work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly environment='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon'
               'HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon')

dos() { echo "Z:${1//\//\\}"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
in_time() { timeout 120 "$@"; }
registry_file() { in_time "$wine" reg import "$(dos "$PWD/$1")" >/dev/null 2>&1 || fail "reg import $1"; }

# Every value of the utility's keys in both views, and the temporary-folder
# variable, a line each: "view [key] "name"=data", folded lines joined.
snapshot() {
  local key view out=$1
  : >"$out"
  for view in 32 64; do
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

wipe() {
  local key view
  for view in 32 64; do
    for key in "${keys[@]}"; do in_time "$wine" reg delete "$key" /f "/reg:$view" >/dev/null 2>&1 || true; done
  done
  in_time "$wine" reg delete "$environment" /v QUILLONTEMP /f >/dev/null 2>&1 || true
}

export_to() {
  in_time "$wine" "$utility" /export "$(dos "$PWD/$1")" >export.out 2>&1 ||
    fail "the export to $1 ended with $? ($(tr -d '\r' <export.out))"
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

# Bad input is refused with a reason and an exit code, and writes nothing.
refused_with() {
  local code=$1 status=0
  shift
  in_time "$wine" "$utility" "$@" >refusal.out 2>&1 || status=$?
  [ "$status" = "$code" ] || fail "$* ended with $status, not $code"
  [ -s refusal.out ] || fail "$* said nothing"
}
refused_with 2 /import exported.reg
refused_with 2 /export
refused_with 1 /export "$(dos "$PWD/missing/exported.reg")"
[ ! -e missing ] && [ ! -e exported.reg ] || fail "a refused export wrote something"

wipe
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

wipe
registry_file target.reg
registry_file exported.reg
snapshot imported.txt
cmp -s applied.txt imported.txt || { diff applied.txt imported.txt; fail "the import differs from Apply"; }
export_to after-import.reg
diff <(settings_of after-apply.reg) <(settings_of after-import.reg) || fail "the window loads other settings after the import"
wipe
echo "round trip: $(wc -l <imported.txt) values alike after Apply and after the import"
