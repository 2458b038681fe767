#!/usr/bin/env bash
# Saves screenshots of the dialog's ready face and progress face for a person
# to look at: BIN/../screenshots/{ready,progress}.png. Runs inside the Wine
# session (display, test host).
#
# Nothing Wine starts here may hold the test runner's output pipe: a Wine
# program can start processes that outlive it (the desktop process) and they
# inherit its standard streams. Every Wine program's output goes to a file,
# shown when the script fails.
set -euo pipefail
bin=$1
shots=$bin/../screenshots
work=$(mktemp -d)
program_pid=
# shellcheck disable=SC2317  # runs through the EXIT trap
finish() {
  local status=$?
  if [ "$status" -ne 0 ]; then
    echo "screenshots: failed; the Wine programs' output:"
    tail -n 40 "$work"/*.log 2>/dev/null || true
  fi
  [ -z "$program_pid" ] || kill -TERM "$program_pid" 2>/dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
mkdir -p "$shots"

wine=/usr/lib/wine/wine64
driver() { "$wine" "$bin/uidriver.exe" --out "$work/driver.out" "$@" </dev/null >>"$work/driver.log" 2>&1; }

# A slow agent package keeps the progress face on screen.
head -c 2000000 /dev/zero >"$work/package"
curl -sf -X POST --data-binary "@$work/package" \
  "$TESTHOST_CONTROL/route?path=/vta/vta-agent-x64.msi&chunk=4096&chunk_delay_ms=20" >/dev/null

cp "$bin/vta_agent_download_manager.exe" "$work/"
# The Wine loader becomes the Windows process: its pid is the program's.
(cd "$work" && exec "$wine" vta_agent_download_manager.exe </dev/null >"$work/program.log" 2>&1) &
program_pid=$!
driver wait-window 30000
import -window root "$shots/ready.png"

driver click 1
driver wait-text 1003 "Downloading VTA Agent Installer" 10000
sleep 1
driver link 1006
sleep 0.5
import -window root "$shots/progress.png"

driver click 2
driver wait-enabled 1 30000
driver click 1
driver wait-closed 10000
# The dialog is gone; the process must end too.
for _ in $(seq 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "screenshots: the program did not end within 10 s of closing its dialog"
  exit 1
fi
wait "$program_pid" || true
program_pid=
echo "screenshots: $shots/ready.png $shots/progress.png"
