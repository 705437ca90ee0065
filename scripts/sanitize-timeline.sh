#!/usr/bin/env bash
# The whole timeline under AddressSanitizer and UndefinedBehaviorSanitizer: drift-capture
# of the sanitizer build (build-asan, configured as ./test.sh configures it) runs the
# controller's update for every frame at 60 frames a second over the generated data set,
# from 0 to the end of the music (223 s), and draws one frame in every STRIDE at
# 1280x720 (default: one a second), checking glGetError after every pass of each. Prints
# the figures: updates, frames drawn, GL errors and checks, sanitizer reports, time.
#
#   scripts/sanitize-timeline.sh [STRIDE]
set -euo pipefail
cd "$(dirname "$0")/.."

stride=${1:-60}
jobs=${DRIFT_JOBS:-2}
[ -e build/demodat ] || { echo "sanitize-timeline: build/demodat is missing; build first" >&2; exit 2; }

echo "== build (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDRIFT_SANITIZE=ON -DDRIFT_FUZZ=ON -DDRIFT_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs" --target drift-capture

work=$(mktemp -d "${TMPDIR:-/tmp}/drift-sanitize.XXXXXX")
trap 'rm -rf "$work"' EXIT
fps=60
seconds=223
frames=$((fps * seconds))
count=$(( (frames + stride - 1) / stride ))
echo "== $frames updates at $fps frames a second, $count of them drawn at 1280x720"
start=$(date +%s)
status=0
. scripts/sanitizer-env.sh
(cd "$work" && "$OLDPWD/build-asan/drift-capture" --data "$OLDPWD/build/demodat" --fps "$fps" --to "$seconds" \
  --contact-sheet sheet.png --count "$count" 2> stderr.txt) || status=$?
elapsed=$(( $(date +%s) - start ))
grep -v '^loading ' "$work/stderr.txt" | grep -v '^[0-9]*/[0-9]* frames' || true
reports=$(grep -c -E 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$work/stderr.txt" || true)
gl=$(grep -o 'GL errors: [0-9]* in [0-9]* checks' "$work/stderr.txt" || echo "GL errors: unknown")
echo "== sanitize-timeline: exit status $status, $frames updates, $count frames drawn, $gl, $reports sanitizer reports, ${elapsed} s"
[ "$status" -eq 0 ] && [ "$reports" -eq 0 ] && [[ "$gl" == "GL errors: 0 in"* ]]
