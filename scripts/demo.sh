#!/usr/bin/env bash
# Builds the libraries and runs the demo: it renders offscreen and writes
# demo-out/pyxolin-demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target demo_classes pyxjni pyxwin
mkdir -p demo-out
build/pyxjava -cp build/java/demo com.tandrel.pyxolin.demo.Demo demo-out/pyxolin-demo.png
