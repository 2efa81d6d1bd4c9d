#!/usr/bin/env bash
# The policy templates applied as Group Policy applies them, under Wine with
# the build's own Wine and prefix. A prefix seeded with a stale copy of every
# value the templates name, in every place the window reads (the legacy
# per-user key, the user key, both views of the machine key), gets every
# policy Enabled: group-policy.py reads the ADMX as the Group Policy editor
# does, records the result in Registry.pol files (Samba's parser writes and
# reads them back) and turns them into a registry file that the 64-bit reg
# imports, machine keys as named in the 64-bit view, as the registry
# extension writes them. /report must then show each policy's value as the
# one the window takes, a User policy's before the Machine one's, which must
# be listed as hidden. Then every policy Disabled: each value found nowhere,
# the window showing its default.
#
#   group-policy.sh WINE UTILITY TEMPLATES WORK_DIR
# WINE runs a Windows program in the prefix (the build's wine-run.sh);
# TEMPLATES is the folder holding quillon.admx and en-US/quillon.adml.
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 4 ] || { echo "usage: $0 WINE UTILITY TEMPLATES WORK_DIR" >&2; exit 2; }
wine=$1 utility=$2 templates=$(realpath "$3") work=$4
policy=$(realpath "$(dirname "$0")/group-policy.py")
admx=$templates/quillon.admx
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon'
               'HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon')
gp() { in_time /usr/bin/python3 "$policy" "$@"; }
import() { in_time "$wine" reg import "$(dos "$PWD/$1")" >/dev/null 2>&1 || fail "reg import $1"; }
report() {
  in_time "$wine" "$utility" /report "$(dos "$PWD/$1")" >report.out 2>&1 ||
    fail "/report ended with $? ($(tr -d '\r' <report.out))"
}
# "persistent" as reg shows it in KEY (and view), "absent" when it is not there.
persistent() {
  in_time "$wine" reg query "$1" /v persistent ${2:+"$2"} 2>/dev/null | tr -d '\r' |
    awk '$1 == "persistent" { print $2, $3; found = 1 } END { if (!found) print "absent" }'
}

gp check "$admx" "$templates/en-US/quillon.adml"
wipe
gp seed "$admx" stale.reg
import stale.reg
report stale.txt
grep -q 'C:\\Stale\\legacy' stale.txt || fail "the seed did not take: the report shows no legacy copy"

gp apply "$admx" enabled enabled-gpo enabled.reg
import enabled.reg
report enabled.txt
gp expect "$admx" enabled enabled.txt
# The job's options keep "persistent", as Apply stores it for each scope.
[ "$(persistent 'HKEY_CURRENT_USER\Software\Marrowby\Quillon')" = "REG_DWORD 0x1" ] ||
  fail "no persistent=1 for the user"
[ "$(persistent 'HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' /reg:32)" = "REG_DWORD 0x1" ] ||
  fail "no persistent=1 for all users"

gp apply "$admx" disabled disabled-gpo disabled.reg
import disabled.reg
report disabled.txt
gp expect "$admx" disabled disabled.txt
wipe
