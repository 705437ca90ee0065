#!/usr/bin/env bash
# Fault injection over the generated data set: for every file of build/demodat, drift
# and drift-capture play the demo with that file removed, and again with it cut to half
# its length. Every run must end through the teardown (drift: exit status 0; capture:
# 0, or 1 when loading refuses the data), leave no data folder behind, raise no
# sanitizer report, and name the file (or the asset made from it) in log.txt or on
# standard error. Prints one line per fault and the figures at the end.
#
#   scripts/fault-injection.sh [--sample N] [--asan] [--only TEXT] [--jobs N] [--from-file N]
#
#   --sample N   N faults spread over the archive instead of all of them
#   --asan       the AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan)
#   --only TEXT  only the files whose names contain TEXT
#   --jobs N     N runners sharing the faults (default: DRIFT_JOBS, or 2)
#   --from-file N  start at the N-th file of the archive (from 0): finishes a run that
#                was stopped, whose lines name the files already played
set -euo pipefail
cd "$(dirname "$0")/.."

programs=build
args=()
jobs=${DRIFT_JOBS:-2}
while [ $# -gt 0 ]; do
  case "$1" in
    --asan) programs=build-asan; shift ;;
    --sample|--only|--from-file) args+=("$1" "$2"); shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "usage: $0 [--sample N] [--asan] [--only TEXT] [--jobs N] [--from-file N]" >&2; exit 2 ;;
  esac
done

for program in build/drift-fault-injection build/demodat "$programs/drift" "$programs/drift-capture"; do
  [ -e "$program" ] || { echo "fault-injection: $program is missing; build first (./test.sh builds both)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/drift-faults.XXXXXX")
[ "$programs" = build-asan ] && . scripts/sanitizer-env.sh
# The runs play copies, so a build during a long run cannot pull a program from under it.
mkdir -p "$work/bin"
cp build/drift-fault-injection "$programs/drift" "$programs/drift-capture" "$work/bin/"

status=0
start=$(date +%s)
pids=()
for ((k = 0; k < jobs; k++)); do
  {
    "$work/bin/drift-fault-injection" --archive build/demodat --drift "$work/bin/drift" --capture "$work/bin/drift-capture" \
      --work "$work/$k" --shard "$k/$jobs" ${args[@]+"${args[@]}"} && echo 0 > "$work/status_$k" || echo 1 > "$work/status_$k"
  } | tee "$work/out_$k.txt" &
  pids+=($!)
done
wait "${pids[@]}"
for ((k = 0; k < jobs; k++)); do [ "$(cat "$work/status_$k" 2>/dev/null)" = 0 ] || status=1; done
# The runners' figures added up; a file counts once, whichever runners played its faults.
cat "$work"/out_*.txt | awk -v seconds=$(( $(date +%s) - start )) -v jobs="$jobs" '
  /^\[ *[0-9]+\/[0-9]+\] / {
    line = $0; sub(/^[^]]*\] +[a-z]+ +/, "", line); split(line, f, " "); files[f[1]] = 1
  }
  /^fault injection: / { faults += $3; runs += $9; failed += $14; named += $20; stderr += $25 }
  END {
    n = 0; for (file in files) n++
    printf "fault injection: %d faults (%d files), %d runs by %d runners in %.1f min: %d faults failed; " \
      "named in log.txt %d times, only on stderr %d times\n", faults, n, runs, jobs, seconds / 60, failed, named, stderr
  }'
if [ "$status" -eq 0 ]; then
  rm -rf "$work"
else
  echo "fault-injection: the failed runs are kept in $work/*/failed" >&2
fi
exit "$status"
