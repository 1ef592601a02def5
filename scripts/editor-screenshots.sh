#!/usr/bin/env bash
# Takes the README's pictures of the spline editor by working the real window as a user would:
# a saved turning program is loaded, the editor opened, the profile shaded and turned (F7).
# Usage: scripts/editor-screenshots.sh [OUTPUT-FOLDER]   (default: docs)
set -euo pipefail
source "$(dirname "$0")/screenshot-session.sh" editor-screenshots "$@"

# A baluster: a profile with two fine-milling parts, a second spline and two recorded moves.
python3 - "$data/Baluster.spl" <<'PY'
import math, struct, sys
def points(pts):
    b = struct.pack('<Hi', 860, len(pts))
    b += b''.join(struct.pack('<dd', x, y) for x, y in pts)
    return b + b''.join(struct.pack('<dd', 1.0, 1.0) for _ in pts)
profile = [(20 + 30 * k, 70 - 25 * math.sin(k / 2.2) - (15 if k % 5 == 2 else 0))
           for k in range(21)]
parts = [(120.0, 260.0), (400.0, 520.0)]
second = [(60 + 60 * k, 40 + 8 * math.cos(k)) for k in range(9)]
moves = [(650.0, -20.0), (700.0, -40.0)]
data = struct.pack('<H', 10120) + points(profile)
data += struct.pack('<H', len(parts)) + b''.join(struct.pack('<dd', *p) for p in parts)
data += points(second)
data += struct.pack('<i', len(moves)) + b''.join(struct.pack('<dd', *m) for m in moves)
open(sys.argv[1], 'wb').write(data)
PY
"$cli" program save "$home/Baluster.gof" --set Smot_name=Baluster --set doublet=true \
  --set Sanding=true --set resolution=10

"$drive" --home "$home" --shots "$shots" --timeout 60 -- "$program" <<EOF 2>&1 | tee "$shots/run.log"
wait-window "Ostrivane"
tab "Dynamic turning"
click "Load program"
dialog-file $home/Baluster.gof
click "Edit the splines"
dialog-accept
wait-window "Draw spline"
sleep 1
dump
key F11
sleep 1
shot profile
key alt+s
sleep 4
shot shading
key F7
dialog-answer "No"
dialog-accept
dialog-accept
dialog-accept
sleep 1
shot turning
click "Cancel"
close "Ostrivane"
EOF

# The editor's place on the virtual screen, as the accessibility tree reports it.
geometry=$(sed -n "s/.*dialog 'Draw spline' @\([0-9]*\),\([0-9]*\) \([0-9]*x[0-9]*\).*/\3+\1+\2/p" \
  "$shots/run.log" | head -1)
[ -n "$geometry" ] || { echo "editor-screenshots: the editor's place is unknown" >&2; exit 1; }
for name in profile shading turning; do
  convert "$shots/$name.png" -crop "$geometry" +repage "$out/editor-$name.png"
  echo "editor-screenshots: wrote $out/editor-$name.png"
done
