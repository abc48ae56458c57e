#!/usr/bin/env bash
# Cross-builds pyxjni.dll and compares its exports with libpyxjni.so's.
set -euo pipefail
src=$1 build=$2 linux_lib=$3
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
dll="$build/bin/pyxjni.dll"
win=$(i686-w64-mingw32-objdump -p "$dll" | awk '/\[ *[0-9]+\] Java_/ {print $NF}' | sort)
linux=$(nm -D --defined-only "$linux_lib" | awk '$3 ~ /^Java_/ {print $3}' | sort)
imports=$(i686-w64-mingw32-objdump -p "$dll" | awk '/DLL Name/ {print $3}' | sort | tr '\n' ' ')
echo "pyxjni.dll: $(echo "$win" | wc -l) JNI exports; imports: $imports"
if [ "$win" != "$linux" ]; then
  diff <(echo "$linux") <(echo "$win") || true
  echo "the DLL and the Linux library export different natives" >&2
  exit 1
fi
for dep in $imports; do
  case "${dep,,}" in
    gdi32.dll|kernel32.dll|user32.dll|opengl32.dll|glu32.dll|msvcrt.dll) ;;
    *) echo "unexpected DLL dependency: $dep" >&2; exit 1 ;;
  esac
done
