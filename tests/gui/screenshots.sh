#!/usr/bin/env bash
# Saves screenshots of the dialog's ready face and progress face for a person
# to look at: BIN/../screenshots/{ready,progress}.png. Runs inside the Wine
# session (display, test host).
set -euo pipefail
bin=$1
shots=$bin/../screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots"

wine=/usr/lib/wine/wine64
driver() { "$wine" "$bin/uidriver.exe" --out "$work/driver.out" "$@"; }

# A slow agent package keeps the progress face on screen.
head -c 2000000 /dev/zero >"$work/package"
curl -sf -X POST --data-binary "@$work/package" \
  "$TESTHOST_CONTROL/route?path=/vta/vta-agent-x64.msi&chunk=4096&chunk_delay_ms=20" >/dev/null

cp "$bin/vta_agent_download_manager.exe" "$work/"
(cd "$work" && "$wine" vta_agent_download_manager.exe </dev/null >"$work/program.log" 2>&1 &)
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
echo "screenshots: $shots/ready.png $shots/progress.png"
