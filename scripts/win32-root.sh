#!/usr/bin/env bash
# A Debian root whose classic 32-bit Wine runs the release's 32-bit programs.
# The root is the host's own release (bookworm, the same Wine 8 as the 64-bit
# step), so it does not move under the tests from one day to the next. Its
# packages never enter the machine's own system; the root lives in the system
# cache and is reused while it works.
#
# Wine's 32-bit half is i386 Linux code. Where this kernel runs it, it runs
# natively. Where it does not (the kernel refuses i386 programs, or runs no
# 32-bit code at all), the root's own qemu-i386 runs it: only the i386 Wine
# processes are emulated, wineserver and the 64-bit ones run natively.
#
#   win32-root.sh prepare        make the root if it is missing, stale or
#                                broken, and set up emulation where it is
#                                needed (also again after a reboot); exit 3,
#                                after one line saying why, when 32-bit code
#                                cannot be run here
#   win32-root.sh how            print how 32-bit code runs here: "natively"
#                                or "through QEMU"
#   win32-root.sh mount DIR      bind-mount what programs inside need: /proc,
#                                /dev, the host's /run (cupsd's socket) and /tmp
#                                (X sockets, xvfb-run's authority file), and DIR
#                                at the same path
#   win32-root.sh umount DIR     undo mount
#   win32-root.sh run CMD...     run CMD inside the (mounted) root, in the
#                                caller's folder, with the caller's environment
#   win32-root.sh path           print the root's folder
#
# Inside the root, call /usr/lib/wine/wine64 and never plain `wine`: bookworm's
# `wine` starts the 32-bit loader, whose `reg` writes into the other registry
# view; wine64 hands 32-bit programs to the 32-bit loader itself.
set -uo pipefail

readonly root=${QUILLON_WIN32_ROOT:-/var/cache/quillon/win32-bookworm}
readonly binfmt=${QUILLON_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
readonly entry=quillon-i386  # the one binfmt_misc entry this script owns
# bookworm's QEMU 7.2 ignores MAP_FIXED_NOREPLACE and takes about a minute to
# start each Wine process; backports' 10.0 takes a second or two.
readonly emulator_packages=(-t bookworm-backports qemu-user)
# libcups2:i386 lets the 32-bit Wine see the host's CUPS queues; the tests read
# the print system and its PDF files from inside with cups-client and
# poppler-utils.
readonly packages=(wine wine64 wine32:i386 libwine:i386 fonts-wine libcups2:i386
                   cups-client poppler-utils)
readonly ready=$root/.quillon-ready  # holds the package lists it was made with
readonly probe=/usr/local/lib/quillon/i386-probe  # inside the root

mirror() {
  # The mirror this machine's own apt sources name, so the root comes from
  # where the machine's packages come from.
  local uri
  uri=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list.d/* /etc/apt/sources.list 2>/dev/null |
        grep -oE 'https?://[^ ]+' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}

made_with() { echo "${emulator_packages[*]} ${packages[*]}"; }

# What an install inside needs, and what running programs need besides; /dev
# comes with what is mounted below it (/dev/shm, /dev/pts).
install_mounts=(proc dev)
run_mounts=(proc dev run tmp)
mount_system() {  # DIR FOLDER...
  local dir=$1 m
  for m in "${@:2}"; do
    mkdir -p "$dir/$m"
    mountpoint -q "$dir/$m" || mount --rbind "/$m" "$dir/$m" || return 1
  done
}
umount_system() {  # DIR: everything either list mounted
  local dir=$1 m
  for m in tmp run dev proc; do
    if mountpoint -q "$dir/$m"; then umount -R -l "$dir/$m"; fi
  done
  return 0
}

# A static i386 program that only exits 0 (ELF header, one program header,
# then xor ebx,ebx; mov eax,1; int 0x80). Whether the kernel runs it is the
# only reliable sign: the kernel log is not.
write_probe() {  # DIR
  mkdir -p "$1${probe%/*}"
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$1$probe"
  chmod 755 "$1$probe"
}

# Runs the probe with this script's own entry out of the way, so that the
# answer is the kernel's (or another emulator's that works inside the root).
runs_i386_without_us() {  # DIR
  if [ -n "${QUILLON_I386_PROBE:-}" ]; then $QUILLON_I386_PROBE; return; fi
  local enabled=0 status
  if [ -f "$binfmt/$entry" ] && head -n 1 "$binfmt/$entry" | grep -qx enabled; then
    enabled=1; echo 0 >"$binfmt/$entry"
  fi
  chroot "$1" "$probe" 2>/dev/null
  status=$?
  [ $enabled = 0 ] || echo 1 >"$binfmt/$entry"
  return $status
}

registration() {  # DIR: the line binfmt_misc takes for the root's qemu-i386
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  # F: the emulator is opened now, so it also serves programs inside the root.
  echo ":$entry:M::$magic:$mask:$1/usr/bin/qemu-i386:F"
}

remove_entry() { [ ! -e "$binfmt/$entry" ] || echo -1 >"$binfmt/$entry"; }

# Lets the root's i386 programs run: natively where the kernel runs them,
# otherwise through the root's qemu-i386 under this script's binfmt entry.
# Touches no other entry.
set_up_emulation() {  # DIR
  local dir=$1
  if [ ! -e "$binfmt/register" ] && [ "$binfmt" = /proc/sys/fs/binfmt_misc ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null
  fi
  if runs_i386_without_us "$dir"; then
    remove_entry
    return 0
  fi
  [ -w "$binfmt/register" ] || { echo "binfmt_misc is not available to run the root's qemu-i386"; return 1; }
  [ -x "$dir/usr/bin/qemu-i386" ] || { echo "the root has no qemu-i386"; return 1; }
  if [ -f "$binfmt/$entry" ] && grep -qx enabled "$binfmt/$entry" &&
     grep -qx "interpreter $dir/usr/bin/qemu-i386" "$binfmt/$entry"; then
    return 0
  fi
  # An entry left from another root, or a disabled one, is made anew.
  remove_entry
  registration "$dir" >"$binfmt/register" ||
    { echo "binfmt_misc refused the entry for qemu-i386"; return 1; }
}

how() {
  if [ -f "$binfmt/$entry" ] && grep -qx enabled "$binfmt/$entry"; then
    echo "through QEMU ($(chroot "$root" /usr/bin/qemu-i386 --version 2>/dev/null | head -n 1))"
  else
    echo "natively"
  fi
}

# Wine's 32-bit loader is the program that must start; it finds its own
# libraries through /proc, so it is asked with /proc in place.
works() {
  [ -f "$ready" ] && [ "$(cat "$ready")" = "$(made_with)" ] || return 1
  local mounted=0 ok=0
  mountpoint -q "$root/proc" || { mount --bind /proc "$root/proc" && mounted=1; }
  timeout 120 chroot "$root" /usr/lib/wine/wine --version >/dev/null 2>&1 || ok=1
  [ $mounted = 0 ] || umount "$root/proc"
  return $ok
}

install_into() {  # DIR [apt-get install arguments...]
  local dir=$1 log status=0
  log=$(mktemp)
  mount_system "$dir" "${install_mounts[@]}" || { echo "could not mount into $dir"; rm -f "$log"; return 1; }
  chroot "$dir" apt-get update -q >"$log" 2>&1
  DEBIAN_FRONTEND=noninteractive chroot "$dir" apt-get install -y -q --no-install-recommends \
    "${@:2}" >>"$log" 2>&1 || status=$?
  umount_system "$dir"
  [ $status = 0 ] ||
    echo "the root's packages could not be installed: $(grep -m1 -E '^E:' "$log" || tail -n 1 "$log")"
  rm -f "$log"
  return $status
}

build() {
  local new=$root.new log=$root.debootstrap.log mirror
  mirror=$(mirror)
  umount_system "$new"
  rm -rf "$new" && mkdir -p "$(dirname "$root")" || return 1
  echo "Making the 32-bit Wine root in $root (once per machine: minutes)"
  if ! debootstrap --variant=minbase bookworm "$new" "$mirror" >"$log" 2>&1; then
    echo "debootstrap of bookworm failed: $(tail -n 1 "$log")"; return 1
  fi
  echo "deb $mirror bookworm-backports main" >"$new/etc/apt/sources.list.d/backports.list"
  install_into "$new" "${emulator_packages[@]}" || return 1
  # Emulation first: the i386 packages' own scripts may run i386 programs.
  write_probe "$new"
  set_up_emulation "$new" || return 1
  chroot "$new" dpkg --add-architecture i386
  install_into "$new" "${packages[@]}" || return 1
  umount_system "$root"
  rm -rf "$root" && mv "$new" "$root" && made_with >"$ready"
}

case "${1:-}" in
  prepare)
    [ "$(id -u)" = 0 ] || { echo "the 32-bit root needs root (chroot, bind mounts, binfmt_misc)"; exit 3; }
    command -v debootstrap >/dev/null ||
      { apt-get install -y -q --no-install-recommends debootstrap >/dev/null 2>&1 ||
        { echo "debootstrap could not be installed"; exit 3; }; }
    if [ -x "$root/usr/bin/qemu-i386" ] && [ -x "$root$probe" ]; then
      reason=$(set_up_emulation "$root") || { echo "$reason"; exit 3; }
    fi
    works && exit 0
    reason=$(build) || { echo "${reason##*$'\n'}"; exit 3; }
    [ -z "$reason" ] || echo "$reason"
    # The entry now names the root's final folder.
    reason=$(set_up_emulation "$root") || { echo "$reason"; exit 3; }
    works || { echo "the 32-bit root was made but its Wine does not start"; exit 3; }
    ;;
  how) how ;;
  emulation)  # only set up emulation for the root as it is (tests use this)
    set_up_emulation "$root"
    ;;
  mount)
    dir=${2:?usage: win32-root.sh mount DIR}
    mount_system "$root" "${run_mounts[@]}" || exit 1
    mkdir -p "$root$dir"
    mountpoint -q "$root$dir" || mount --bind "$dir" "$root$dir"
    ;;
  umount)
    dir=${2:?usage: win32-root.sh umount DIR}
    if mountpoint -q "$root$dir"; then umount -l "$root$dir"; fi
    umount_system "$root"
    ;;
  # HOME names a folder the root has: Wine keeps nothing there, but asks.
  run) shift; exec chroot "$root" env -C "$PWD" HOME=/root "$@" ;;
  path) echo "$root" ;;
  *) echo "usage: $0 prepare | how | mount DIR | umount DIR | run CMD... | path" >&2; exit 2 ;;
esac
