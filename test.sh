#!/usr/bin/env bash
# Sets up, builds and runs every test: unit tests, the tests over the generated data
# set, the GL tests under Xvfb, a sample of the fault injection over the data set, the
# release archive (made twice, the same bytes; its symbol versions; a run on a bare
# system where root and the Debian mirror allow), the unit tests again in the sanitizer
# build, then each fuzz target for a bounded time.
#
# ./test.sh --quick is the loop for everyday work: the release build, the unit, data-set
# and GL tests, and nothing after them.
set -euo pipefail
cd "$(dirname "$0")"

quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: ./test.sh [--quick]" >&2; exit 2 ;;
esac

./scripts/install-deps.sh

jobs=${DRIFT_JOBS:-2}
xvfb=(xvfb-run -a -s "-screen 0 1280x720x24 -noreset")

echo "== build (release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

echo "== unit tests"
(cd build && ctest -L unit --output-on-failure -j "$jobs")

echo "== data-set tests"
(cd build && ctest -L data --output-on-failure -j "$jobs")

echo "== GL tests (Xvfb, Mesa llvmpipe)"
(cd build && "${xvfb[@]}" ctest -L gl --output-on-failure)

if [ "$quick" = 1 ]; then
  echo "== quick tests passed (./test.sh with no option runs everything)"
  exit 0
fi

echo "== fault injection (a sample; scripts/fault-injection.sh with no options runs every file)"
./scripts/fault-injection.sh --sample "${DRIFT_FAULT_SAMPLE:-8}"

echo "== release archive"
(cd build && ctest -L release --output-on-failure)
archive=build/dist/drift-$(git describe --tags --always --dirty)-linux-x86_64.tar.gz
DRIFT_JOBS=$jobs ./scripts/package.sh
cp "$archive" build/dist/first.tar.gz
DRIFT_JOBS=$jobs ./scripts/package.sh >/dev/null
cmp build/dist/first.tar.gz "$archive" || { echo "the archive differs when made again" >&2; exit 1; }
rm build/dist/first.tar.gz
./scripts/check-symbol-versions.sh "$archive"
./scripts/bare-system-test.sh "$archive"

echo "== build (clang, AddressSanitizer + UndefinedBehaviorSanitizer, fuzz targets)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDRIFT_SANITIZE=ON -DDRIFT_FUZZ=ON -DDRIFT_BENCH=OFF -DDRIFT_DATA=OFF >/dev/null
cmake --build build-asan -j "$jobs"

echo "== unit tests (sanitizers)"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -L unit --output-on-failure -j "$jobs")

echo "== fuzz targets (${DRIFT_FUZZ_SECONDS:-10} s each)"
(cd build-asan && ctest -L fuzz --output-on-failure)

echo "== all tests passed"
