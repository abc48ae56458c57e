#!/usr/bin/env bash
# Runs every contender of the GLU-object benchmark in one go and prints the
# figures with their ratios, then the soak's resident memory.
#   PYX_BENCH_PEERS=1 scripts/setup.sh && cmake --build build -j2 && bench/gluobjects/run.sh [build]
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
export MESA_GL_VERSION_OVERRIDE=3.0  # JOGL refuses llvmpipe's own version string; set for all alike
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
classes=$build/java/bench-gluobjects
java_opts=($(grep -v '^#' "$build/pyxolin.options" | tr '\n' ' '))
run_x() {
  if command -v xvfb-run >/dev/null; then xvfb-run -a -s "-screen 0 1024x768x24" "$@"; else "$@"; fi
}

run_x "$build/bin/bench_gluobjects_raw" >"$out/raw"
run_x java "${java_opts[@]}" -cp "$classes:$build/java/pyxolin" benchgluobjects.PyxolinGluBench >"$out/pyxolin"
peers=()
if [ -f "$classes/benchgluobjects/JoglGluBench.class" ] && command -v xvfb-run >/dev/null; then
  run_x java -Djava.library.path=/usr/lib/jni \
    -cp "$classes:/usr/share/java/jogl2.jar:/usr/share/java/gluegen2-rt.jar" \
    benchgluobjects.JoglGluBench >"$out/jogl" 2>"$out/jogl.err" && peers+=(jogl) || cat "$out/jogl.err" >&2
else
  echo "run.sh: JOGL or xvfb-run missing (PYX_BENCH_PEERS=1 scripts/setup.sh); raw C only" >&2
fi
# A small heap, committed and touched from the start: a leak of global
# references runs out of it, and the heap's own growth does not hide a
# native leak in the resident figure.
java -Xms64m -Xmx64m -XX:+AlwaysPreTouch "${java_opts[@]}" -cp "$classes:$build/java/pyxolin" benchgluobjects.PyxolinGluBench soak \
  >"$out/soak"

python3 "$(dirname "$0")/../ratios.py" "$out" pyxolin \
  "rates: higher is better; pyxolin/raw is the share of the limit, pyxolin/<peer> above 1 beats the peer" \
  "${peers[@]}"
python3 - "$out" <<'PY'
import sys
out = sys.argv[1]
def load(name):
    return {l.split()[0]: (float(l.split()[1]), l.split()[2]) for l in open(f'{out}/{name}') if l.strip()}
soak = load('soak')
start, warm, end = (soak[k][0] for k in ('soak_rss_start', 'soak_rss_after_warmup', 'soak_rss_end'))
grown = end - warm
steps = ', '.join(f"{v:.0f}" for k, (v, _) in soak.items() if k.startswith('soak_rss_at_'))
print(f"soak: {soak['soak_polygons'][0]:.0f} polygons at {soak['soak_rate'][0]:.0f}/s; resident memory "
      f"{start:.0f} KiB at the start, {warm:.0f} KiB after 100,000 polygons, {steps} KiB on the way, "
      f"{end:.0f} KiB at the end ({grown:+.0f} KiB since the warm-up): {'flat' if grown < 4096 else 'GROWS'}")
PY
