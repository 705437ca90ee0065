#!/usr/bin/env bash
# Sets up, builds and plays the demo.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${DRIFT_JOBS:-2}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if [ -x build/drift-capture ]; then
    echo "drift.sh: no display; rendering the demo to build/drift.mp4 instead"
    exec build/drift-capture --output build/drift.mp4
  fi
  echo "drift.sh: no display to play on (set DISPLAY, or run under xvfb-run)" >&2
  exit 1
fi
cd build
exec ./drift
