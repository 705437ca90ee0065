#!/usr/bin/env bash
# Fault injection over the generated data set: for every file of build/demodat, drift
# and drift-capture play the demo with that file removed, and again with it cut to half
# its length. Every run must end through the teardown (drift: exit status 0; capture:
# 0, or 1 when loading refuses the data), leave no data folder behind, raise no
# sanitizer report, and name the file (or the asset made from it) in log.txt or on
# standard error. Prints one line per fault and the figures at the end.
#
#   scripts/fault-injection.sh [--sample N] [--asan] [--only TEXT]
#
#   --sample N   N faults spread over the archive instead of all of them
#   --asan       the AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan)
#   --only TEXT  only the files whose names contain TEXT
set -euo pipefail
cd "$(dirname "$0")/.."

programs=build
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --asan) programs=build-asan; shift ;;
    --sample|--only) args+=("$1" "$2"); shift 2 ;;
    *) echo "usage: $0 [--sample N] [--asan] [--only TEXT]" >&2; exit 2 ;;
  esac
done

for program in build/drift-fault-injection build/demodat "$programs/drift" "$programs/drift-capture"; do
  [ -e "$program" ] || { echo "fault-injection: $program is missing; build first (./test.sh builds both)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/drift-faults.XXXXXX")
[ "$programs" = build-asan ] && . scripts/sanitizer-env.sh
status=0
build/drift-fault-injection --archive build/demodat --drift "$programs/drift" --capture "$programs/drift-capture" \
  --work "$work" ${args[@]+"${args[@]}"} || status=$?
if [ "$status" -eq 0 ]; then
  rm -rf "$work"
else
  echo "fault-injection: the failed runs are kept in $work/failed" >&2
fi
exit "$status"
