#!/usr/bin/env bash
# Builds Ostrivane into build/ and starts it. With arguments, runs ostrivane-cli with them instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --target ostrivane ostrivane-cli >/dev/null
if [ $# -gt 0 ]; then
  exec build/src/cli/ostrivane-cli "$@"
fi
exec build/src/gui/ostrivane
