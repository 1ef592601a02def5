#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the tools desktops and software
# centres use (the file types are checked by packaging_mime_types). Exits 77 (skipped) when
# neither tool is installed.
set -uo pipefail
dir=$1
id=org.ostrivane.Ostrivane
ran=0
failed=0

if command -v desktop-file-validate >/dev/null; then
  ran=1
  out=$(desktop-file-validate "$dir/$id.desktop" 2>&1)
  # It exits 0 on warnings and hints too; a clean entry has nothing to say.
  if [ $? -ne 0 ] || [ -n "$out" ]; then
    echo "desktop-file-validate: $out"
    failed=1
  fi
fi
if command -v appstreamcli >/dev/null; then
  ran=1
  appstreamcli validate --no-net "$dir/$id.metainfo.xml" || failed=1
fi
[ $ran -eq 1 ] || exit 77
exit $failed
