#!/usr/bin/env bash
# Saves screenshots of the dialog's ready face and progress face at 100%,
# 150% and 200% for a person to look at:
# BIN/../screenshots/{ready,progress}-{96,144,192}.png. Runs inside the Wine
# session (display, test host); the scale is the prefix's LogPixels, put back
# to 96 at the end.
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
  set_dpi 96 || true
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
# Which step failed, for the output above.
trap 'echo "screenshots: line $LINENO failed: $BASH_COMMAND"' ERR
mkdir -p "$shots"

wine=/usr/lib/wine/wine64
driver() { "$wine" "$bin/uidriver.exe" --out "$work/driver.out" "$@" </dev/null >>"$work/driver.log" 2>&1; }
# Wine reads it when a program starts.
set_dpi() {
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >>"$work/reg.log" 2>&1
}
# The screen, cut to the dialog: everything that is not the black background.
screenshot() {
  import -window root png:- | convert - -bordercolor black -border 1 -trim +repage "$1"
}

# A slow agent package keeps the progress face on screen.
head -c 2000000 /dev/zero >"$work/package"
curl -sf -X POST --data-binary "@$work/package" \
  "$TESTHOST_CONTROL/route?path=/vta/vta-agent-x64.msi&chunk=4096&chunk_delay_ms=20" >/dev/null

cp "$bin/vta_agent_download_manager.exe" "$work/"
shots_taken=()
for dpi in 96 144 192; do
  set_dpi "$dpi"
  # The Wine loader becomes the Windows process: its pid is the program's.
  (cd "$work" && exec "$wine" vta_agent_download_manager.exe </dev/null >"$work/program.log" 2>&1) &
  program_pid=$!
  driver wait-window 30000
  screenshot "$shots/ready-$dpi.png"

  driver click 1
  driver wait-text 1003 "Downloading VTA Agent Installer" 10000
  sleep 1
  driver link 1006
  sleep 0.5
  screenshot "$shots/progress-$dpi.png"

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
  shots_taken+=("$shots/ready-$dpi.png" "$shots/progress-$dpi.png")
done
echo "screenshots: ${shots_taken[*]}"
