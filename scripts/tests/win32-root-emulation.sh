#!/usr/bin/env bash
# How the 32-bit root chooses between native i386 code and QEMU: a probe that
# fails registers the root's qemu-i386 (flag F, so it serves inside the root),
# one that succeeds registers nothing and takes back an entry of ours left from
# before; entries of other owners are never touched. Runs against a stand-in
# for binfmt_misc and a stand-in root, so it needs no privileges.
set -uo pipefail
script=$(realpath "$(dirname "$0")/../win32-root.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

check() {  # NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}

# A fresh stand-in: an empty register file, another owner's entry, and
# optionally an entry of ours from an earlier run.
setup() {  # with-old-entry(0|1)
  rm -rf "$work/binfmt" "$work/root"
  mkdir -p "$work/binfmt" "$work/root/usr/bin"
  : >"$work/binfmt/register"
  printf 'enabled\ninterpreter /usr/bin/qemu-arm\n' >"$work/binfmt/qemu-arm"
  install -m 755 /dev/null "$work/root/usr/bin/qemu-i386"
  [ "$1" = 0 ] || printf 'enabled\ninterpreter /old/usr/bin/qemu-i386\n' >"$work/binfmt/quillon-i386"
}

choose() {  # PROBE-COMMAND
  QUILLON_BINFMT_DIR=$work/binfmt QUILLON_WIN32_ROOT=$work/root QUILLON_I386_PROBE=$1 \
    "$script" emulation
}

untouched_other() { [ "$(cat "$work/binfmt/qemu-arm")" = $'enabled\ninterpreter /usr/bin/qemu-arm' ]; }
registered_qemu() {
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  [ "$(cat "$work/binfmt/register")" = ":quillon-i386:M::$magic:$mask:$work/root/usr/bin/qemu-i386:F" ]
}
registered_nothing() { [ ! -s "$work/binfmt/register" ]; }
took_back_ours() { [ "$(cat "$work/binfmt/quillon-i386")" = -1 ]; }

# probe, earlier entry of ours, then what must hold
setup 0; choose false
check "a failing probe registers the root's qemu-i386" registered_qemu
check "registering leaves other entries alone" untouched_other

setup 0; choose true
check "a succeeding probe registers nothing" registered_nothing
check "native leaves other entries alone" untouched_other

setup 1; choose true
check "native takes back an entry of ours" took_back_ours
check "native then registers nothing" registered_nothing

setup 1; choose false
check "an entry for another root is replaced" took_back_ours
check "and the root's qemu-i386 registered" registered_qemu

setup 0; rm "$work/binfmt/register"; choose false >/dev/null
check "no binfmt_misc: emulation fails" [ $? != 0 ]

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
