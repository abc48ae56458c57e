#!/usr/bin/env bash
# Installs the Debian packages this project builds, tests and benchmarks with.
# Idempotent and quiet when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build python3 pkg-config
  openjdk-17-jdk-headless junit5
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev googletest
  apitrace
  g++-mingw-w64-i686-posix
)
if [ "${PYX_BENCH_PEERS:-0}" = 1 ]; then
  packages+=(libjogl2-java libgluegen2-rt-java liblwjgl-java xvfb xauth x11-xserver-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq >/dev/null
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
