#!/usr/bin/env bash
# Takes a screenshot of the main window under a virtual X server, for the README.
# Usage: scripts/screenshot.sh [OUTPUT.png] [TAB-INDEX]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/main-window.png}
program=build/src/gui/ostrivane
[ -x "$program" ] || { echo "screenshot: build first (./run.sh or cmake --build build)" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A fresh data folder, so the picture shows the defaults.
HOME=$home XDG_DATA_HOME=$home/.local/share xvfb-run -a -s "-screen 0 480x750x24" \
  bash -c "\"$program\" & pid=\$!; sleep 3; import -window root \"$out\"; kill \$pid"
echo "screenshot: wrote $out"
