#!/usr/bin/env bash
# The file types as xdg-mime (and with it xdg-open) reports them once the package's types are
# installed beside the system's: a database built by update-mime-database in a scratch data
# folder, asked about sample files. Exits 77 (skipped) when the tools are missing.
set -uo pipefail
mime_xml=$1
for tool in update-mime-database xdg-mime mimetype; do
  command -v "$tool" >/dev/null || { echo "needs $tool (shared-mime-info, xdg-utils, libfile-mimeinfo-perl)"; exit 77; }
done
system_types=/usr/share/mime/packages/freedesktop.org.xml
[ -f "$system_types" ] || { echo "needs $system_types (shared-mime-info)"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data/mime/packages" "$scratch/none" "$scratch/files"
cp "$system_types" "$scratch/data/mime/packages/"
cp "$mime_xml" "$scratch/data/mime/packages/org.ostrivane.Ostrivane.xml"
out=$(PKGSYSTEM_ENABLE_FSYNC=0 XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS="$scratch/none" \
      update-mime-database "$scratch/data/mime" 2>&1)
if [ $? -ne 0 ] || [ -n "$out" ]; then
  echo "update-mime-database: $out"
  exit 1
fi

f=$scratch/files
# A profile as the editor writes it: version word, point marker, no points, no parts, an empty
# second spline, no moves.
printf '\x88\x27\x5c\x03\x00\x00\x00\x00\x00\x00\x5c\x03\x00\x00\x00\x00\x00\x00\x00\x00' >"$f/Jug.spl"
printf 'FWS\x05\x00\x00\x00\x00' >"$f/movie.spl"
printf '\x02{}' >"$f/Vase.gof"
printf '1\r\n 0.00000000000000E+0000\r\n' >"$f/Zwaluw.tnd"
printf 'G21\r\n' >"$f/Vase.ngc"

failed=0
# Without a desktop session xdg-mime asks mimetype, which looks at the content first when a
# signature outranks the names; on GNOME it asks gio, which looks when two names clash.
desktops=(none)
command -v gio >/dev/null && desktops+=(GNOME)
expect() {
  local file=$1 type=$2 found desktop
  for desktop in "${desktops[@]}"; do
    if [ "$desktop" = none ]; then
      session=(-u XDG_CURRENT_DESKTOP)
    else
      session=(XDG_CURRENT_DESKTOP=$desktop)
    fi
    found=$(env -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
                "${session[@]}" XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS="$scratch/none" \
                xdg-mime query filetype "$f/$file" 2>&1)
    if [ "$found" != "$type" ]; then
      echo "xdg-mime query filetype $file (desktop $desktop): $found (expected $type)"
      failed=1
    fi
  done
}
expect Jug.spl application/x-ostrivane-profile
expect movie.spl application/vnd.adobe.flash.movie
expect Vase.gof application/x-ostrivane-program
expect Zwaluw.tnd application/x-ostrivane-tooth-file
if [ $failed -eq 0 ]; then
  echo "xdg-mime finds the program's types"
fi
exit $failed
