# Sourced by scripts/setup: where the processor refuses 32-bit programs,
# qemu-user runs them, so that the i686 build (the program as shipped) is
# still tested. Registered with binfmt_misc for i386 programs, it translates
# every 32-bit program the kernel is asked to start, Wine's 32-bit loader
# among them; Wine's 64-bit processes stay native.
#
# qemu-user before version 8 searches a 32-bit program's address space page
# by page for every mapping that is not placed: Wine's loader, which maps
# much, then takes about 55 s per process start (measured with 7.2, nearly
# all of it in that search), and a new prefix about 2 min. Version 8 keeps
# the mappings in a tree: under a second per start, 15 s per prefix. So the
# release's backports provide it (Debian's package, from the machine's own
# mirror); without them, nothing is registered.

i386_registration=/proc/sys/fs/binfmt_misc/vta-qemu-i386
# The i386 ELF header (32-bit, little-endian, executable or shared object
# for the 80386); F opens the interpreter now, so that it is found inside
# the sessions' private mount namespaces too.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
qemu_i386=/usr/bin/qemu-i386
qemu_least_major=8

i386_emulation_refused() {  # WHY
  echo "setup: this machine cannot execute 32-bit programs, and they cannot be emulated: $1;" \
    "the i686 build will be neither built nor run" >&2
}

qemu_major() {
  "$qemu_i386" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p'
}

# Mounts binfmt_misc, installs qemu-user and registers it; says why not
# when it cannot. Idempotent.
enable_i386_emulation() {
  local root=$1 codename changed major
  if [ ! -f /proc/sys/fs/binfmt_misc/register ] &&
    ! mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; then
    i386_emulation_refused "binfmt_misc cannot be mounted"
    return 0
  fi
  major=$(qemu_major)
  if [ "${major:-0}" -lt "$qemu_least_major" ]; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    changed=$("$root/scripts/derive-source-entries" --codename "$codename" --name vta-backports --backports)
    [ -z "$changed" ] || echo "setup: backports entries written: $changed"
    apt_update
    apt_install_packages "qemu-user/$codename-backports" || true
    major=$(qemu_major)
    if [ "${major:-0}" -lt "$qemu_least_major" ]; then
      i386_emulation_refused "no qemu-user of version $qemu_least_major or later could be installed"
      return 0
    fi
  fi
  if [ -f "$i386_registration" ] && ! grep -qx "interpreter $qemu_i386" "$i386_registration"; then
    echo -1 >"$i386_registration"
  fi
  if [ ! -f "$i386_registration" ] &&
    ! echo ":${i386_registration##*/}:M::$i386_magic:$i386_mask:$qemu_i386:F" \
      >/proc/sys/fs/binfmt_misc/register 2>/dev/null; then
    i386_emulation_refused "binfmt_misc refused the registration of $qemu_i386"
    return 0
  fi
  echo 1 >"$i386_registration"
  echo "setup: 32-bit programs run emulated: $("$root/scripts/can-run-32bit")"
}
