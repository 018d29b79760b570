#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: apt only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config python3
  libgtest-dev libbenchmark-dev zlib1g-dev libsndfile1-dev libstb-dev libx11-dev
  unicode-data clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64
  xvfb
  libxext-dev libxtst-dev xauth
  lsp-plugins-vst zam-plugins
  fonts-dejavu-core
  file dpkg-dev  # packages: dpkg-shlibdeps finds the Debian package's dependencies
  ardour         # Ardour 7 (about 200 MB): its scanners and Lua session program host the plug-in in tests
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
  sudo_prefix=""
  [ "$(id -u)" -eq 0 ] || sudo_prefix="sudo"
  $sudo_prefix apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_prefix apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
