#!/usr/bin/env bash
# Runs every contender of the CoreGL benchmark in one go and prints each
# figure with its ratios: CoreGL against raw C, JOGL 2.3.2 and LWJGL 2.9.3.
#   PYX_BENCH_PEERS=1 scripts/setup.sh && cmake --build build -j2 && bench/api/run.sh [build]
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export MESA_GL_VERSION_OVERRIDE=3.0  # JOGL refuses llvmpipe's own version string; set for all alike
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
classes=$build/java/bench-api
java_opts=($(grep -v '^#' "$build/pyxolin.options" | tr '\n' ' '))

"$build/bin/bench_api_raw" >"$out/raw"
java "${java_opts[@]}" -cp "$classes:$build/java/pyxolin" benchapi.PyxolinBench >"$out/pyxolin"
peers=()
if [ -f "$classes/benchapi/JoglBench.class" ] && command -v xvfb-run >/dev/null; then
  peer_cp="$classes:/usr/share/java/jogl2.jar:/usr/share/java/gluegen2-rt.jar:/usr/share/java/lwjgl.jar"
  xvfb-run -a -s "-screen 0 1024x768x24" java -Djava.library.path=/usr/lib/jni -cp "$peer_cp" \
    benchapi.JoglBench >"$out/jogl" 2>"$out/jogl.err" && peers+=(jogl) || cat "$out/jogl.err" >&2
  xvfb-run -a -s "-screen 0 1024x768x24" java -Djava.library.path=/usr/lib/jni -cp "$peer_cp" \
    benchapi.LwjglBench >"$out/lwjgl" 2>"$out/lwjgl.err" && peers+=(lwjgl) || cat "$out/lwjgl.err" >&2
else
  echo "run.sh: JOGL/LWJGL or xvfb-run missing (PYX_BENCH_PEERS=1 scripts/setup.sh); raw C only" >&2
fi

python3 "$here/../ratios.py" "$out" CoreGL \
  "ns figures: lower is better, a ratio below 1 beats the other; MB/s: higher is better, above 1 beats it" \
  "${peers[@]}"
