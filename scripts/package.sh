#!/usr/bin/env bash
# Builds the Debian package of Ostrivane from this clone: installs what the build needs
# (scripts/install-deps.sh --build-only), configures a Release build of the two programs in
# build-package/ (or the folder given), builds it and packs it, then checks the package. Prints
# the path of the .deb, which installs with: sudo apt install ./ostrivane_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

scripts/install-deps.sh --build-only
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DOSTRIVANE_BUILD_TESTS=OFF -DOSTRIVANE_BUILD_BENCH=OFF -DOSTRIVANE_BUILD_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
rm -f "$build"/ostrivane_*.deb
cmake --build "$build" --target package >/dev/null

debs=("$build"/ostrivane_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "package: no .deb was made in $build" >&2; exit 1; }

# The package must install on a machine without the build tools: no development packages
# among its dependencies, and programs that run from the unpacked tree.
depends=$(dpkg-deb -f "$deb" Depends)
if grep -qE '(^|[ ,])[^ ,]*-dev([ ,(]|$)' <<<"$depends"; then
  echo "package: $deb depends on a development package: $depends" >&2
  exit 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
"$scratch/usr/bin/ostrivane-cli" --version >/dev/null
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$scratch/usr/bin/ostrivane" --version >/dev/null

echo "$deb"
