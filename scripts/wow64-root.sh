#!/usr/bin/env bash
# A Debian sid root whose Wine runs 32-bit Windows programs in WoW64 mode with
# only 64-bit Linux libraries: this machine refuses 32-bit Linux programs, and
# the release artifact is a 32-bit Windows program. sid's packages never enter
# the machine's own system; they live in a root of their own, kept in the
# system cache and reused while it works.
#
#   wow64-root.sh prepare        make the root if it is missing or broken;
#                                exit 3, after one line saying why, when it
#                                cannot be made (no mirror, sid uninstallable)
#   wow64-root.sh mount DIR      bind-mount what programs inside need: /proc,
#                                /dev, the host's /run (cupsd's socket) and /tmp
#                                (X sockets, xvfb-run's authority file), and DIR
#                                at the same path
#   wow64-root.sh umount DIR     undo mount
#   wow64-root.sh path           print the root's folder
set -uo pipefail

readonly root=${QUILLON_WOW64_ROOT:-/var/cache/quillon/wow64-sid}
# libcups2t64 lets Wine see the host's CUPS queues; the tests read the print
# system and its PDF files from inside with cups-client and poppler-utils.
readonly packages=(wine wine64 libwine fonts-wine libcups2t64 cups-client poppler-utils)
readonly ready=$root/.quillon-ready  # holds the package list it was made with

mirror() {
  # The mirror this machine's own apt sources name, so the root comes from
  # where the machine's packages come from.
  local uri
  uri=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list.d/* /etc/apt/sources.list 2>/dev/null |
        grep -oE 'https?://[^ ]+' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}

# Wine finds its own libraries through /proc, so it is asked with /proc in place.
works() {
  [ -f "$ready" ] && [ -e "$root/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/wow64.dll" ] ||
    return 1
  local mounted=0 ok=0
  mountpoint -q "$root/proc" || { mount --bind /proc "$root/proc" && mounted=1; }
  chroot "$root" /usr/bin/wine --version >/dev/null 2>&1 || ok=1
  [ $mounted = 0 ] || umount "$root/proc"
  return $ok
}

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

build() {
  local new=$root.new log=$root.debootstrap.log
  umount_system "$new"
  rm -rf "$new" && mkdir -p "$(dirname "$root")" || return 1
  echo "Making the WoW64 Wine root in $root (once per machine)"
  if ! debootstrap --variant=minbase sid "$new" "$(mirror)" >"$log" 2>&1; then
    echo "debootstrap of sid failed: $(tail -n 1 "$log")"; return 1
  fi
  install_packages "$new" || return 1
  rm -rf "$root" && mv "$new" "$root" && echo "${packages[*]}" >"$ready"
}

install_packages() {
  local dir=$1 log status=0
  log=$(mktemp)
  mount_system "$dir" "${install_mounts[@]}" || { echo "could not mount into $dir"; return 1; }
  chroot "$dir" apt-get update -q >"$log" 2>&1
  DEBIAN_FRONTEND=noninteractive chroot "$dir" apt-get install -y -q --no-install-recommends \
    "${packages[@]}" >>"$log" 2>&1 || status=$?
  umount_system "$dir"
  [ $status = 0 ] ||
    echo "sid's Wine could not be installed: $(grep -m1 -E '^E:' "$log" || tail -n 1 "$log")"
  rm -f "$log"
  return $status
}

case "${1:-}" in
  prepare)
    [ "$(id -u)" = 0 ] || { echo "the WoW64 root needs root (chroot, bind mounts)"; exit 3; }
    command -v debootstrap >/dev/null ||
      { apt-get install -y -q --no-install-recommends debootstrap >/dev/null 2>&1 ||
        { echo "debootstrap could not be installed"; exit 3; }; }
    # A root made with fewer packages only needs the missing ones.
    if works && [ "$(cat "$ready")" != "${packages[*]}" ]; then
      install_packages "$root" && echo "${packages[*]}" >"$ready"
    fi
    works && [ "$(cat "$ready")" = "${packages[*]}" ] && exit 0
    reason=$(build) || { echo "${reason##*$'\n'}"; exit 3; }
    [ -z "$reason" ] || echo "$reason"
    works || { echo "the WoW64 root was made but its Wine does not start"; exit 3; }
    ;;
  mount)
    dir=${2:?usage: wow64-root.sh mount DIR}
    mount_system "$root" "${run_mounts[@]}" || exit 1
    mkdir -p "$root$dir"
    mountpoint -q "$root$dir" || mount --bind "$dir" "$root$dir"
    ;;
  umount)
    dir=${2:?usage: wow64-root.sh umount DIR}
    mountpoint -q "$root$dir" && umount -l "$root$dir"
    umount_system "$root"
    ;;
  path) echo "$root" ;;
  *) echo "usage: $0 prepare | mount DIR | umount DIR | path" >&2; exit 2 ;;
esac
