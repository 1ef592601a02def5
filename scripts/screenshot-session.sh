# Sourced by the screenshot scripts that work the real windows, after `set -euo pipefail`:
#   source "$(dirname "$0")/screenshot-session.sh" SCRIPT-NAME [OUTPUT-FOLDER]
# Moves to the repository, checks that the program and the command-line tool are built, and
# sets out (the output folder, default docs), program, cli, a fresh home with its data folder
# data, a folder shots for the raw pictures (both removed on exit) and drive, the GUI driver
# that runs the program under a virtual X server.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=${2:-docs}
program=build/src/gui/ostrivane
cli=build/src/cli/ostrivane-cli
for f in "$program" "$cli"; do
  [ -x "$f" ] || { echo "$1: build first (./run.sh or cmake --build build)" >&2; exit 1; }
done
home=$(mktemp -d)
shots=$(mktemp -d)
trap 'rm -rf "$home" "$shots"' EXIT
data=$home/.local/share/Ostrivane
mkdir -p "$data" "$out"
drive=${GUI_DRIVE:-/work/shared/tools/gui-drive}
