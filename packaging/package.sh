#!/usr/bin/env bash
# Packages a 32-bit build of the utility: OUT_DIR receives
# quillon-admin-VERSION-x86.msi, quillon-admin-VERSION-x86.zip and SHA256SUMS.
#
#   package.sh PROGRAM_DIR VERSION OUT_DIR
#   package.sh --check-certificate    only opens the certificate, if one is named
# PROGRAM_DIR holds the built quillon-admin.exe and quillonc.dll.
#
# The files are those quillon-admin.wxs lists: from packaging/files/ when
# there (the administrators' text), otherwise from PROGRAM_DIR; these, the
# programs, are signed.
#
# Signing, with osslsigncode: the exe and the DLL before they are packed, the
# MSI after. The releaser names the certificate in the environment:
#   QUILLON_SIGN_PKCS12         the PKCS#12 file (certificate and key)
#   QUILLON_SIGN_PASSWORD       its password
#   QUILLON_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional)
# Without QUILLON_SIGN_PKCS12 the package is unsigned and says so.
#
# The package also puts the program folder on the system PATH, once, and
# takes it off on removal (see add_program_folder_to_path).
#
# Everything is made in a staging folder and moved to OUT_DIR at the end, so a
# failure leaves OUT_DIR as it was.
set -euo pipefail

fail() { echo "package: $*" >&2; exit 1; }
signing() { [ -n "${QUILLON_SIGN_PKCS12:-}" ]; }

# A certificate that will not open is found before anything is built or
# staged, not at the first file to sign.
check_certificate() {
  signing || return 0
  [ -r "$QUILLON_SIGN_PKCS12" ] || fail "cannot read the certificate $QUILLON_SIGN_PKCS12"
  local opens=(openssl pkcs12 -in "$QUILLON_SIGN_PKCS12" -noout -passin env:QUILLON_SIGN_PASSWORD)
  QUILLON_SIGN_PASSWORD=${QUILLON_SIGN_PASSWORD:-} "${opens[@]}" 2>/dev/null ||
    QUILLON_SIGN_PASSWORD=${QUILLON_SIGN_PASSWORD:-} "${opens[@]}" -legacy 2>/dev/null ||
    fail "cannot open the certificate $QUILLON_SIGN_PKCS12: a wrong password, or not a PKCS#12 file"
}

if [ "${1:-}" = --check-certificate ]; then check_certificate; exit 0; fi
[ $# -eq 3 ] || { echo "usage: $0 PROGRAM_DIR VERSION OUT_DIR | --check-certificate" >&2; exit 2; }
check_certificate
program_dir=$(realpath "$1") version=$2 out=$3
here=$(realpath "$(dirname "$0")")
wxs=$here/quillon-admin.wxs
name=quillon-admin-$version-x86

staging=$(mktemp -d "$(dirname "$(realpath -m "$out")")/.package.XXXXXX")
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/files" "$staging/out"

# Each file's path below the program folder (the policy templates lie in a subfolder).
listed_files() { grep -o 'Source="$(var.ProgramFiles)/[^"]*"' "$wxs" | sed 's|^Source="$(var.ProgramFiles)/||; s|"$||'; }

stage_files() {
  local file
  for file in $(listed_files); do
    mkdir -p "$(dirname "$staging/files/$file")"
    if [ -e "$here/files/$file" ]; then
      sed 's/$/\r/' "$here/files/$file" >"$staging/files/$file"  # a text for Windows
    else
      cp "$program_dir/$file" "$staging/files/$file" || fail "$file is not in $program_dir"
      if signing; then sign "$staging/files/$file"; fi
    fi
  done
}

sign() {
  local file=$1 log=$staging/sign.log
  local timestamp=()
  [ -z "${QUILLON_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QUILLON_SIGN_TIMESTAMP_URL")
  printf '%s' "${QUILLON_SIGN_PASSWORD:-}" |
    osslsigncode sign -pkcs12 "$QUILLON_SIGN_PKCS12" -readpass - -h sha256 \
      -n "Quillon Administrator Utility" "${timestamp[@]}" -in "$file" -out "$file.signed" \
      >"$log" 2>&1 && mv "$file.signed" "$file" && return
  grep -qi 'pkcs12\|asn1' "$log" &&
    fail "cannot open the certificate $QUILLON_SIGN_PKCS12: a wrong password, or not a PKCS#12 file"
  fail "could not sign $(basename "$file"): $(grep -v '^$' "$log" | tail -n 3 | tr '\n' ' ')"
}

# wixl has no Environment element, and leaves out the two standard actions
# that read the table. msibuild adds both before the package is signed. The
# row appends the folder to the system PATH ("*"), set on install ("=") and
# taken away again on removal ("-"); "[~];" appends it to what is there, and
# only that part is removed. It belongs to the exe's component, so a repair
# or an upgrade keeps it as one entry (the upgrade removes the old version,
# and with it its entry, before it installs).
add_program_folder_to_path() {
  local msi=$1 idt=$staging/idt
  mkdir -p "$idt"
  printf '%s\t%s\t%s\t%s\r\n' Environment Name Value Component_ s72 l255 L255 s72 >"$idt/Environment.idt"
  printf '%s\t%s\r\n' Environment Environment >>"$idt/Environment.idt"
  printf '%s\t%s\t%s\t%s\r\n' ProgramFolderOnPath '=-*PATH' '[~];[INSTALLDIR]' Program >>"$idt/Environment.idt"
  (cd "$idt" && msibuild "$msi" -i Environment.idt \
     -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveEnvironmentStrings', 3300)" \
     -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteEnvironmentStrings', 5200)") ||
    fail "msibuild could not add the program folder to PATH"
}

if signing; then
  echo "Signing with $QUILLON_SIGN_PKCS12${QUILLON_SIGN_TIMESTAMP_URL:+, time-stamped by $QUILLON_SIGN_TIMESTAMP_URL}"
else
  echo "Not signed: QUILLON_SIGN_PKCS12 names no certificate."
fi

stage_files
# The files' times go into the MSI's cabinet and the zip: the release's commit
# time when given (SOURCE_DATE_EPOCH), so that two builds of it are alike.
[ -z "${SOURCE_DATE_EPOCH:-}" ] || find "$staging/files" -mindepth 1 -exec touch -d "@$SOURCE_DATE_EPOCH" {} +

# The product code changes with the version, as a major upgrade needs, and is
# the same for every build of one version, so two builds have equal tables.
upgrade_code=$(grep -o 'UpgradeCode="[^"]*"' "$wxs" | cut -d'"' -f2)
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
               "$upgrade_code" "$version")
# wixl finds files by paths relative to where it runs.
(cd "$staging" && wixl -a x86 -D Version="$version" -D ProductCode="$product_code" -D ProgramFiles=files \
   -D Resources="$(realpath --relative-to=. "$here/../programs/resources")" -o "out/$name.msi" "$wxs") ||
  fail "wixl could not build the package"
add_program_folder_to_path "$staging/out/$name.msi"
if signing; then sign "$staging/out/$name.msi"; fi

# The zip: the same files under one folder.
mkdir "$staging/$name" && cp -pR "$staging"/files/* "$staging/$name/"
[ -z "${SOURCE_DATE_EPOCH:-}" ] || touch -d "@$SOURCE_DATE_EPOCH" "$staging/$name"
(cd "$staging" && find "$name" | LC_ALL=C sort | zip -q -X -@ "out/$name.zip") || fail "zip failed"

(cd "$staging/out" && sha256sum "$name.msi" "$name.zip" >SHA256SUMS)
rm -rf "$out" && mv "$staging/out" "$out"
ls -l "$out" | tail -n +2
