#!/usr/bin/env bash
# Takes the README's picture of the 3D view by working the real windows as a user would: a
# saved turning program is loaded, the editor opened, the program written (F7) and the 3D view
# opened with its button, the piece turned with the keys.
# Usage: scripts/solid-screenshot.sh [OUTPUT-FOLDER]   (default: docs)
set -euo pipefail
source "$(dirname "$0")/screenshot-session.sh" solid-screenshot "$@"

# A baluster with beads.
printf '%s\n' "20;70" "60;48" "90;62" "130;40" "200;55" "260;35" "330;58" "380;45" "430;72" \
  > "$home/baluster.txt"
"$cli" spline import "$home/baluster.txt" --output "$data/Baluster.spl"
"$cli" program save "$home/Baluster.gof" --set Smot_name=Baluster --set resolution=20

"$drive" --home "$home" --shots "$shots" --timeout 60 --screen 1280x900 -- "$program" \
  <<EOF 2>&1 | tee "$shots/run.log"
wait-window "Ostrivane"
tab "Dynamic turning"
click "Load program"
dialog-file $home/Baluster.gof
click "Edit the splines"
wait-window "Draw spline"
sleep 1
key F7
dialog-answer "No"
dialog-accept
dialog-accept
sleep 1
click "3D view"
wait-window "3D view"
sleep 1
dump
key Right Right Down minus
sleep 1
shot solid
close "3D view"
click "Cancel"
close "Ostrivane"
EOF

geometry=$(sed -n "s/.*dialog '3D view' @\([0-9]*\),\([0-9]*\) \([0-9]*x[0-9]*\).*/\3+\1+\2/p" \
  "$shots/run.log" | head -1)
[ -n "$geometry" ] || { echo "solid-screenshot: the 3D view's place is unknown" >&2; exit 1; }
convert "$shots/solid.png" -crop "$geometry" +repage "$out/solid-view.png"
echo "solid-screenshot: wrote $out/solid-view.png"
