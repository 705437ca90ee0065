#!/usr/bin/env bash
# Sets up, builds and plays the demo. With no display it renders the demo with its
# soundtrack to build/drift.mp4 instead (drift-capture: 1280x720 at 60 frames a second).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${DRIFT_JOBS:-2}"

cd build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "drift.sh: no display to play on; rendering the demo to $(pwd)/drift.mp4 instead (progress below, Ctrl-C stops)"
  exec ./drift-capture drift.mp4
fi
exec ./drift
