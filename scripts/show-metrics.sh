#!/bin/sh
# Measures the flash rise and the black level of the picture (scripts/show_metrics.py
# says how), with the programs and data of a build folder (default build/):
#   scripts/show-metrics.sh [--build DIR] [--data DEMODAT] [--keep DIR] [--per-flash]
# A tool run by hand after a change to the look; a few minutes on llvmpipe.
set -eu
cd "$(dirname "$0")/.."
command -v ffmpeg >/dev/null || { echo "show-metrics: needs ffmpeg (scripts/install-deps.sh)" >&2; exit 1; }
exec python3 scripts/show_metrics.py "$@"
