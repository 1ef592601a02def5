#!/usr/bin/env bash
# Takes the README's pictures of every window by working the real program as a user would,
# under a virtual X server: the five tabs of the main window, a message box, the spline editor
# (its small dialogs need the pointer on the plot, which gui-drive cannot place), the print
# dialog, the plan window with the first plank's template, its Export dialog, and the backplot
# of a checked program.
# Usage: scripts/window-screenshots.sh [OUTPUT-FOLDER]   (default: docs)
set -euo pipefail
source "$(dirname "$0")/screenshot-session.sh" window-screenshots "$@"

# A small vase to show in the editor and the plan window.
printf '0;70\n40;52\n120;64\n230;48\n330;66\n380;75\n' > "$home/vase.txt"
"$cli" spline import "$home/vase.txt" --output "$data/Vase.spl" 2>/dev/null
"$cli" program save "$home/Vase.gof" --set Smot_name=Vase --set mot_name=Vase
# Its turning program in Documents, for "Check program" to open.
mkdir -p "$home/Documents"
HOME=$home XDG_DATA_HOME=$home/.local/share "$cli" turn --program "$home/Vase.gof" \
  --spline "$data/Vase.spl" --fast no --output "$home/Documents/Vase.ngc" 2>/dev/null

"$drive" --home "$home" --shots "$shots" --timeout 60 -- "$program" <<EOF 2>&1 | tee "$shots/run.log"
wait-window "Ostrivane"
sleep 1
shot window-finger-joint
tab "Dynamic turning"
shot window-turning
tab "Settings"
check "Write log to screen" on
shot window-settings
click "Save Settings"
sleep 1
shot dialog-message
dialog-accept
tab "About"
shot window-about
tab "Log"
shot window-log
tab "Dynamic turning"
click "Load program"
dialog-file $home/Vase.gof
click "Edit the splines"
wait-window "Draw spline"
sleep 1
shot window-editor
click "Cancel"
sleep 1
click "Create saw plans"
sleep 2
shot dialog-print
dialog-accept
wait-window "Create cutting plans"
sleep 2
shot window-plan
click "Export…"
sleep 2
shot dialog-export
dialog-answer "Cancel"
close "Create cutting plans"
sleep 1
click "Check program"
sleep 2
dialog-accept
wait-window "Check of Vase.ngc" 30
key Page_Down Page_Down Page_Down Page_Down Page_Down Page_Down Page_Down Page_Down
sleep 1
shot window-backplot
close "Check of Vase.ngc"
close "Ostrivane"
EOF

# No window manager: the windows sit at the top left of a black screen, so trimming the black
# leaves the window (and a dialog over it).
for shot in "$shots"/*.png; do
  name=$(basename "$shot")
  [ "$name" = FAIL.png ] && continue
  convert "$shot" -trim +repage "$out/$name"
  echo "window-screenshots: wrote $out/$name"
done
