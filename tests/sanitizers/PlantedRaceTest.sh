#!/usr/bin/env bash
# ThreadSanitizer sees our code through the project's suppressions: a race planted between a Qt worker
# thread and the main thread is reported, naming both of its functions, and a hand-over through
# performOnMainThread is not.
#
#   PlantedRaceTest.sh <planted race program> <tsan.supp>
set -uo pipefail
program="$1"
export TSAN_OPTIONS="suppressions=$2:exitcode=66:halt_on_error=0"
failures=0

output=$("$program" race 2>&1)
status=$?
if [ "$status" -ne 66 ]; then
  echo "the planted race: exit status $status, expected ThreadSanitizer's 66"
  failures=1
fi
for expected in "WARNING: ThreadSanitizer: data race" plantedWrite plantedRead; do
  if ! grep -qF -- "$expected" <<<"$output"; then
    echo "the planted race: the report lacks \"$expected\""
    failures=1
  fi
done

handover=$("$program" handover 2>&1)
status=$?
if [ "$status" -ne 0 ] || grep -q "ThreadSanitizer" <<<"$handover"; then
  echo "the hand-over to the main thread: exit status $status, expected 0 without a report"
  echo "$handover"
  failures=1
fi

if [ "$failures" -ne 0 ]; then
  echo "$output"
fi
exit "$failures"
