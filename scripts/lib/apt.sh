# Sourced by scripts/setup: package installation that survives a mirror in
# the middle of a sync. Such a mirror serves one index with the wrong size for
# a while; `apt-get update` then exits 100 although every other list came in.
# Without that list, packages of the i386 architecture may not resolve: the
# amd64 libraries come from the suite whose i386 list is missing, and the two
# architectures of a multi-arch library must have the same version.
#
# APT_UPDATE_TRIES and APT_RETRY_WAIT (seconds) set the update's retries.

apt_failed_suites=()     # suites one of whose indexes the last update could not fetch
apt_skipped_packages=()  # packages apt_install_packages had to leave out

# Updates the package lists, retrying a failed update; after the last try it
# goes on with the lists it has and names the indexes that failed.
apt_update() {
  local tries=${APT_UPDATE_TRIES:-3} wait=${APT_RETRY_WAIT:-10} try out
  for ((try = 1; try <= tries; try++)); do
    if out=$(apt-get update -qq 2>&1); then
      apt_failed_suites=()
      return 0
    fi
    mapfile -t apt_failed_suites < <(grep 'Failed to fetch' <<<"$out" | grep -o '/dists/[^/ ]*/' | cut -d/ -f3 | sort -u)
    echo "setup: apt-get update failed (try $try of $tries):" >&2
    grep -E '^(E|W):|Failed to fetch' <<<"$out" | sed 's/^/setup:   /' >&2
    ((try == tries)) || sleep "$wait"
  done
  echo "setup: going on with the package lists there are" >&2
}

# Installs the packages named; succeeds when all of them, or all but those of
# the i386 architecture, are installed (apt_skipped_packages then names them).
# Tries in turn: as apt chooses; with each suite whose index failed ranked
# below the others, so that both architectures take the versions the complete
# suites offer; and, as a last resort, without the i386 packages.
apt_install_packages() {
  local packages=("$@") preferences out suite
  apt_skipped_packages=()
  _apt_install "${packages[@]}" && return 0
  if [ ${#apt_failed_suites[@]} -gt 0 ]; then
    preferences=$(mktemp)
    for suite in "${apt_failed_suites[@]}"; do
      printf 'Package: *\nPin: release n=%s\nPin-Priority: 100\n\n' "$suite"
    done >"$preferences"
    echo "setup: installing again with ${apt_failed_suites[*]} ranked below the complete suites" >&2
    local status=0
    _apt_install -o "Dir::Etc::Preferences=$preferences" "${packages[@]}" || status=$?
    rm -f "$preferences"
    [ $status -ne 0 ] || return 0
  fi
  local native=() p
  for p in "${packages[@]}"; do
    if [[ $p == *:i386 ]]; then apt_skipped_packages+=("$p"); else native+=("$p"); fi
  done
  if [ ${#apt_skipped_packages[@]} -gt 0 ] && { [ ${#native[@]} -eq 0 ] || _apt_install "${native[@]}"; }; then
    echo "setup: could not install ${apt_skipped_packages[*]}: the i686 build will be neither built nor run" >&2
    return 0
  fi
  apt_skipped_packages=()
  echo "setup: could not install the packages: ${packages[*]}" >&2
  echo "$_apt_last_output" | sed 's/^/setup:   /' >&2
  if [ ${#apt_failed_suites[@]} -gt 0 ]; then
    echo "setup: the package lists of ${apt_failed_suites[*]} could not be fetched" >&2
  fi
  return 1
}

_apt_last_output=
_apt_install() {  # [APT OPTIONS] PACKAGE...
  _apt_last_output=$(apt-get install -y -qq --no-install-recommends "$@" 2>&1)
}
