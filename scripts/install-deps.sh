#!/usr/bin/env bash
# Installs the Debian packages Ostrivane needs to build, run and test, skipping those already present.
# With --build-only, just those that build the programs and their Debian package.
set -euo pipefail

# The programs and the package (dpkg-shlibdeps, and file, with which CPack finds the binaries).
build_packages=(
  build-essential cmake ninja-build pkg-config file dpkg-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  nlohmann-json3-dev libcli11-dev libdxflib-dev qt6-svg-dev
)
packages=(
  "${build_packages[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth fonts-dejavu-core imagemagick poppler-utils
  locales-all
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
  python3-ezdxf librsvg2-bin strace
  admesh python3-stl
)
# LinuxCNC's interpreter checks the programs we write; its recommends pull in a whole desktop.
peer_packages=(linuxcnc-uspace)
if [ "${1:-}" = --build-only ]; then
  packages=("${build_packages[@]}")
  peer_packages=()
fi

missing_from() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

mapfile -t missing < <(missing_from "${packages[@]}")
mapfile -t missing_peer < <(missing_from ${peer_packages[@]+"${peer_packages[@]}"})
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_peer[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: these packages are missing: ${missing[*]} ${missing_peer[*]}" >&2
  echo "install-deps: installing them needs root or sudo, and this user has neither." >&2
  echo "install-deps: ask an administrator to run: apt-get install ${missing[*]} ${missing_peer[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]} ${missing_peer[*]}"
"${as_root[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  "${as_root[@]}" apt-get install -y -q "${missing[@]}"
fi
if [ ${#missing_peer[@]} -gt 0 ]; then
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing_peer[@]}"
fi
