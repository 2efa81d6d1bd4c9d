#!/usr/bin/env bash
# The package as administrators meet it, under the build's Wine and prefix.
# First the signing: a throwaway code-signing certificate signs a package of
# a higher version, whose exe, DLL and MSI must verify, and which one changed
# byte must spoil; a wrong password must fail and leave nothing behind. Then
# the life of an installation: the unsigned package of this version installs
# silently (files byte for byte, shortcut, uninstall entry, a working
# program, found through PATH from another folder), a repair brings back a
# deleted file, the higher version upgrades it in place, the lower one is
# refused over it, and /x removes it all. The system PATH names the program
# folder once after the install, the repair and the upgrade, and not at all
# after the removal. The printer's settings, seeded before, stay byte for
# byte throughout.
#
#   package-lifecycle.sh WINE PREFIX PROGRAM_DIR VERSION WORK_DIR
# WINE runs a Windows program in PREFIX (the build's wine-run.sh); PROGRAM_DIR
# holds the built exe and DLL.
set -euo pipefail
. "$(dirname "$0")/wine-steps.sh"
[ $# -eq 5 ] || { echo "usage: $0 WINE PREFIX PROGRAM_DIR VERSION WORK_DIR" >&2; exit 2; }
wine=$1 prefix=$2 program_dir=$(realpath "$3") version=$4 work=$5
package=$(realpath "$(dirname "$0")/../packaging/package.sh")
resources=$(realpath "$(dirname "$0")/../programs/resources")
templates=$(realpath "$(dirname "$0")/../packaging/files/PolicyDefinitions")
rm -rf "$work" && mkdir -p "$work" && cd "$work"

readonly installed="$prefix/drive_c/Program Files (x86)/Marrowby/Quillon Administrator Utility"
readonly uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
readonly environment='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
readonly keys=('HKEY_LOCAL_MACHINE\Software\Marrowby\Quillon' 'HKEY_CURRENT_USER\Software\Marrowby\Quillon'
               'HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Marrowby\Quillon')
major=${version%%.*} minor=${version#*.}
readonly newer=$major.$((${minor%%.*} + 1))

step_seconds=180  # an installation takes longer than a command
registry_file() { in_time "$wine" reg import "$(dos "$PWD/$1")" >/dev/null 2>&1 || fail "reg import $1"; }

# msiexec's exit status, the step echoed and logged to msiexec-N.log (Wine's
# log shows the actions, not the messages).
step=0
msiexec() {
  local status=0
  step=$((step + 1))
  in_time "$wine" msiexec "$@" /qn /l*v "$(dos "$PWD/msiexec-$step.log")" >/dev/null 2>&1 || status=$?
  echo "msiexec $* -> $status" >&2
  return $status
}

# The printer's settings in both registry views and QUILLONTEMP, as reg
# prints them: any change shows.
settings() {
  local key view
  for view in 32 64; do
    for key in "${keys[@]}"; do in_time "$wine" reg query "$key" /s "/reg:$view" 2>&1 || true; done
  done
  in_time "$wine" reg query "$environment" /v QUILLONTEMP 2>&1 || true
}

# "VERSION PUBLISHER NOMODIFY" of each uninstall entry of the utility.
entries() {
  in_time "$wine" reg query "$uninstall" /s /reg:32 2>/dev/null | tr -d '\r' | awk '
    function flush() { if (name == "Quillon Administrator Utility") print version, publisher, nomodify }
    /^HKEY_/ { flush(); name = version = publisher = nomodify = ""; next }
    $1 == "DisplayName" { sub(/.*REG_SZ +/, ""); name = $0 }
    $1 == "DisplayVersion" { version = $3 }
    $1 == "Publisher" { publisher = $3 }
    $1 == "NoModify" { nomodify = $3 }
    END { flush() }'
}
# The icon file the installed-programs list shows for the product.
product_icon() {
  local path
  path=$(in_time "$wine" reg query 'HKEY_CLASSES_ROOT\Installer\Products' /s 2>/dev/null | tr -d '\r' |
         sed -n 's/.*ProductIcon *REG_SZ *C:\\//p' | head -n 1)
  echo "$prefix/drive_c/${path//\\//}"
}
shortcut() { find "$prefix/drive_c" -name 'Quillon Administrator Utility.lnk' | head -n 1; }
# How many entries of the system PATH name the program folder (Windows
# Installer writes it with a trailing backslash; either spelling counts).
on_path() {
  in_time "$wine" reg query "$environment" /v PATH 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *PATH *REG_[A-Z_]* *//p' | tr ';' '\n' | sed 's/\\$//' |
    grep -cixF 'C:\Program Files (x86)\Marrowby\Quillon Administrator Utility' || true
}
path_once() { [ "$(on_path)" = 1 ] || fail "after $1 the system PATH names the program folder $(on_path) times"; }
same_files() {  # the installed files are those of the package in $1
  local file
  for file in quillon-admin.exe quillonc.dll PolicyDefinitions/quillon.admx PolicyDefinitions/en-US/quillon.adml; do
    cmp -s "$1/$file" "$installed/$file" || fail "the installed $file is not the one of $1"
  done
}

# Signing. A wrong password fails, says why, and makes nothing.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quillon test signer" \
  -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout pass:throwaway -out signer.p12
QUILLON_SIGN_PKCS12=signer.p12 QUILLON_SIGN_PASSWORD=wrong "$package" "$program_dir" "$newer" refused \
  >refused.out 2>&1 && fail "a wrong password signed"
grep -q 'cannot open the certificate' refused.out || fail "no reason given: $(cat refused.out)"
[ ! -e refused ] && [ -z "$(find . -name '.package.*')" ] || fail "a failed signing left files"

QUILLON_SIGN_PKCS12=signer.p12 QUILLON_SIGN_PASSWORD=throwaway "$package" "$program_dir" "$newer" newer >/dev/null
"$package" "$program_dir" "$version" older >/dev/null
for release in older newer; do
  unzip -q "$release/quillon-admin-*-x86.zip" -d "$release" && mv "$release"/quillon-admin-*-x86/* "$release/"
  (cd "$release" && sha256sum -c --quiet SHA256SUMS) || fail "$release: SHA256SUMS does not match"
  # The policy templates, as checked in, with Windows line ends.
  for file in quillon.admx en-US/quillon.adml; do
    cmp -s <(tr -d '\r' <"$release/PolicyDefinitions/$file") "$templates/$file" || fail "$release: $file is not the template"
  done
done
for file in newer/quillon-admin.exe newer/quillonc.dll "newer/quillon-admin-$newer-x86.msi"; do
  osslsigncode verify -CAfile cert.pem -in "$file" >verify.out 2>&1 || fail "$file does not verify: $(tail -n 3 verify.out)"
done
cp newer/quillon-admin.exe spoiled.exe
printf '\x55' | dd of=spoiled.exe bs=1 seek=$(($(stat -c %s spoiled.exe) / 2)) conv=notrunc status=none
osslsigncode verify -CAfile cert.pem -in spoiled.exe >/dev/null 2>&1 && fail "a changed byte still verifies"
cmp -s older/quillon-admin.exe newer/quillon-admin.exe && fail "the two packages hold the same program"
cmp -s older/quillon-admin.exe "$program_dir/quillon-admin.exe" || fail "the unsigned package changed the program"

# The printer's settings, there before the utility is.
cat >seed.reg <<'SEED'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Marrowby\Quillon]
"PDFFileName"="C:\\PDF\\machine.pdf"
"disabled options"=dword:00000005

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon]
"PDFFileName"="C:\\PDF\\32-bit.pdf"

[HKEY_CURRENT_USER\Software\Marrowby\Quillon]
"PDFMailDefaultSubject"="Monthly report"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment]
"QUILLONTEMP"="C:\\Quillon temp"
SEED
registry_file seed.reg
settings >seeded.txt
grep -q QUILLONTEMP seeded.txt || fail "the seed did not take"
[ "$(on_path)" = 0 ] || fail "the program folder is on PATH before the install"

msiexec /i "$(dos "$PWD/older/quillon-admin-$version-x86.msi")" || fail "the install ended with $?"
same_files older
[ -n "$(shortcut)" ] || fail "no Start-menu shortcut"
cmp -s "$(product_icon)" "$resources/quillon-admin.ico" || fail "the installed programs list lacks the program's icon"
[ "$(entries)" = "$version Marrowby 0x1" ] || fail "uninstall entries after the install: $(entries)"
in_time "$wine" "$(dos "$installed/quillon-admin.exe")" /export "$(dos "$PWD/exported.reg")" >/dev/null 2>&1 ||
  fail "the installed program's export ended with $?"
iconv -f UTF-16 -t UTF-8 exported.reg | grep -q "^; Made by Quillon Administrator Utility $version " ||
  fail "the installed program's export does not name its version"
in_time "$wine" "$(dos "$installed/quillon-admin.exe")" /? >help.out 2>&1 || fail "/? ended with $?"
[ "$(head -n 1 help.out | tr -d '\r')" = "Quillon Administrator Utility $version" ] ||
  fail "/? begins with: $(head -n 1 help.out)"
path_once "the install"
# A prompt elsewhere finds the companion by its bare name through PATH.
in_time "$wine" cmd /c 'cd /d C:\windows && quillon-admin /?' >path-help.out 2>&1 ||
  fail "quillon-admin /? through PATH ended with $?: $(head -n 3 path-help.out)"
[ "$(head -n 1 path-help.out | tr -d '\r')" = "Quillon Administrator Utility $version" ] ||
  fail "quillon-admin /? through PATH begins with: $(head -n 1 path-help.out)"

rm "$installed/quillonc.dll"
# A repair of missing files, spelled as properties: Wine's msiexec takes no /f.
msiexec /i "$(dos "$PWD/older/quillon-admin-$version-x86.msi")" REINSTALL=ALL REINSTALLMODE=p ||
  fail "the repair ended with $?"
same_files older
path_once "the repair"

msiexec /i "$(dos "$PWD/newer/quillon-admin-$newer-x86.msi")" || fail "the upgrade ended with $?"
same_files newer
[ "$(entries)" = "$newer Marrowby 0x1" ] || fail "uninstall entries after the upgrade: $(entries)"
path_once "the upgrade"
settings | cmp -s seeded.txt - || fail "the upgrade changed the printer's settings"

msiexec /i "$(dos "$PWD/older/quillon-admin-$version-x86.msi")" && fail "the older version installed over the newer"
same_files newer
[ "$(entries)" = "$newer Marrowby 0x1" ] || fail "uninstall entries after the refusal: $(entries)"
path_once "the refusal"

msiexec /x "$(dos "$PWD/newer/quillon-admin-$newer-x86.msi")" || fail "the removal ended with $?"
[ ! -e "$installed" ] || fail "files left: $(ls "$installed")"
[ -z "$(shortcut)" ] || fail "the shortcut is left"
[ -z "$(entries)" ] || fail "uninstall entries left: $(entries)"
[ "$(on_path)" = 0 ] || fail "the removal left the program folder on PATH $(on_path) times"
settings | cmp -s seeded.txt - || fail "the removal changed the printer's settings"
sed 's/^\("[^"]*"\)=.*/\1=-/' seed.reg >unseed.reg && registry_file unseed.reg
echo "package: installed, repaired, upgraded $version to $newer, refused $version, removed; on PATH once throughout, then not; $(wc -l <seeded.txt) lines of settings unchanged"
