#!/usr/bin/env bash
# The library exports exactly the CoreGL and CoreGLU natives of the list.
set -euo pipefail
lib=$1
list=$2
expected=$(grep '^Java_' "$list" | sort)
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | grep '^Java_com_tandrel_pyxolin_Core' | sort)
if [ "$(sort "$list" | grep '^Java_' | uniq -d)" != "" ]; then
  echo "check_exports: the list names a native twice" >&2
  exit 1
fi
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
[ -n "$missing" ] && echo "missing exports:" >&2 && echo "$missing" >&2
[ -n "$extra" ] && echo "unexpected exports:" >&2 && echo "$extra" >&2
[ -z "$missing" ] && [ -z "$extra" ] || exit 1
echo "exports: $(echo "$actual" | wc -l) CoreGL and CoreGLU natives, as listed"
