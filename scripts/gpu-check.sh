#!/usr/bin/env bash
# The release on a real GPU, in two halves.
#
# On the GPU machine (nothing needs installing there: the archive carries its
# libraries):
#   scripts/gpu-check.sh [--archive FILE] [--out DIR]
# unpacks the release archive, runs its drift-capture at 1920x1080 off screen (EGL)
# over the whole timeline at one frame a second with only the pixel hashes kept, and
# prints the renderer, the frames per second and the GL error count. It then draws
# the comparison frames (REFERENCE_TIMES) as PNGs into DIR (default: $OUT when set, as
# on the device machine, else build/gpu-check).
#
# Here, with the frames that came back:
#   scripts/gpu-check.sh --compare DIR
# draws the same frames with this machine's llvmpipe and prints each frame's PSNR
# (ffmpeg's psnr filter) against the GPU's, and their mean.
set -euo pipefail
cd "$(dirname "$0")/.."

REFERENCE_TIMES=(10 60 111 150 166 190 210)
SIZE=1920x1080

usage() {
  sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

archive=""
out=${OUT:-build/gpu-check}
compare=""
while [ $# -gt 0 ]; do
  case "$1" in
    --archive) archive=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --compare) compare=$2; shift 2 ;;
    -h|--help) usage ;;
    *) echo "gpu-check: unknown argument '$1'" >&2; usage ;;
  esac
done

frame_name() { printf 'frame_%06d.png' "$1"; }

# One frame a second: frame k of the 1-fps grid shows second k.
draw_reference_frames() {  # capture folder
  local capture=$1 folder=$2
  mkdir -p "$folder"
  for t in "${REFERENCE_TIMES[@]}"; do
    "$capture" --size "$SIZE" --fps 1 --from "$t" --to "$((t + 1))" "$folder/at_$t" 2>>"$folder/frames.log"
    mv "$folder/at_$t/$(frame_name "$t")" "$folder/$(frame_name "$t")"
    rm -rf "$folder/at_$t"
  done
}

if [ -n "$compare" ]; then
  command -v ffmpeg >/dev/null || { echo "gpu-check: --compare needs ffmpeg" >&2; exit 1; }
  capture=${DRIFT_BUILD_DIR:-build}/drift-capture
  [ -x "$capture" ] || { echo "gpu-check: no $capture: build first" >&2; exit 1; }
  reference=$(mktemp -d)
  trap 'rm -rf "$reference"' EXIT
  echo "drawing the reference frames with llvmpipe ..."
  ( export -n DISPLAY; draw_reference_frames "$capture" "$reference" )
  total=0
  count=0
  printf '%8s  %s\n' "second" "PSNR against llvmpipe (dB)"
  for t in "${REFERENCE_TIMES[@]}"; do
    gpu="$compare/$(frame_name "$t")"
    [ -f "$gpu" ] || { printf '%8s  missing\n' "$t"; continue; }
    psnr=$(ffmpeg -nostats -i "$gpu" -i "$reference/$(frame_name "$t")" -lavfi psnr -f null - 2>&1 |
           sed -n 's/.*average:\([0-9.inf]*\).*/\1/p')
    printf '%8s  %s\n' "$t" "$psnr"
    if [ "$psnr" != "inf" ] && [ -n "$psnr" ]; then
      total=$(python3 -c "print($total + $psnr)")
      count=$((count + 1))
    fi
  done
  [ "$count" -gt 0 ] && python3 -c "print('mean    %.2f dB over %d frames' % ($total / $count, $count))"
  exit 0
fi

if [ -z "$archive" ]; then
  archive=$(ls -t build/dist/drift-*-linux-x86_64.tar.gz 2>/dev/null | head -1 || true)
  [ -n "$archive" ] || { echo "gpu-check: no archive: run scripts/package.sh or pass --archive" >&2; exit 1; }
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$archive" -C "$work"
release=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
capture=$release/drift-capture

# Off screen through EGL: no display is used even where one is set.
unset DISPLAY WAYLAND_DISPLAY
cd "$work"
start=$(date +%s.%N)
"$capture" --size "$SIZE" --fps 1 --hashes "$out/hashes.txt" 2>"$out/capture.log"
end=$(date +%s.%N)
frames=$(wc -l <"$out/hashes.txt")
grep -m1 '^drift-capture: drawing with' "$out/capture.log" || true
awk -v f="$frames" -v s="$start" -v e="$end" 'BEGIN { printf "timeline: %d frames at '"$SIZE"' in %.1f s, %.2f frames per second\n", f, e - s, f / (e - s) }'
grep -m1 'GL errors:' "$out/capture.log" || echo "GL errors: none reported (see $out/capture.log)"
draw_reference_frames "$capture" "$out"
echo "comparison frames in $out; here: scripts/gpu-check.sh --compare <that folder>"
