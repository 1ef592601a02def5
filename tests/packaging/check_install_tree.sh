#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a package would hold: the files are
# in place and the installed programs run (the window's --version without a display).
set -uo pipefail
build=$1
root=$2
version=$3
gui=$4
spline=${5:-}
rm -rf "$root"
cmake --install "$build" --prefix "$root" >/dev/null || { echo "cmake --install failed"; exit 1; }
failed=0
expect() {
  local file
  for file in "$@"; do
    [ -f "$root/$file" ] || { echo "not installed: $file"; failed=1; }
  done
}
runs() {  # expected output, command...
  local expected=$1 out
  shift
  out=$("$@" 2>&1)
  [ "$out" = "$expected" ] || { echo "$* printed '$out', not '$expected'"; failed=1; }
}

id=org.ostrivane.Ostrivane
expect bin/ostrivane-cli share/man/man1/ostrivane-cli.1.gz \
  share/bash-completion/completions/ostrivane-cli share/doc/ostrivane/copyright
runs "ostrivane-cli $version" "$root/bin/ostrivane-cli" --version
gzip -t "$root/share/man/man1/ostrivane-cli.1.gz" || failed=1
if [ "$gui" = ON ]; then
  expect bin/ostrivane share/man/man1/ostrivane.1.gz share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg
  for size in 16 22 24 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x$size/apps/$id.png"
  done
  for type in program profile tooth-file; do
    expect "share/icons/hicolor/scalable/mimetypes/application-x-ostrivane-$type.svg" \
      "share/icons/hicolor/48x48/mimetypes/application-x-ostrivane-$type.png"
  done
  runs "ostrivane $version" env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    "$root/bin/ostrivane" --version
  # The installed tool finds its drawing part, wherever the tree is.
  if [ -n "$spline" ]; then
    rm -rf "$root.work"
    mkdir -p "$root.work"
    HOME="$root.work" "$root/bin/ostrivane-cli" plan --spline "$spline" --svg "$root.work/plan.svg" \
      >/dev/null 2>"$root.work/stderr" || { echo "installed plan --svg failed: $(cat "$root.work/stderr")"; failed=1; }
    head -c 5 "$root.work/plan.svg" 2>/dev/null | grep -q '<?xml' \
      || { echo "installed plan --svg wrote no SVG drawing"; failed=1; }
  fi
  # The desktop entry starts a program that is installed.
  exec_line=$(grep '^Exec=' "$root/share/applications/$id.desktop")
  program=${exec_line#Exec=}
  program=${program%% *}
  [ -x "$root/bin/$program" ] || { echo "the desktop entry starts $program, which is not installed"; failed=1; }
fi
exit $failed
