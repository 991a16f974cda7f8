#!/usr/bin/env bash
# ThreadSanitizer sees our code through the project's suppressions: a race planted between a Qt worker
# thread and the main thread is reported, naming both of its functions; a hand-over through
# performOnMainThread is not, nor events posted through postToMainThread and read through
# handedOverEventType, nor our writes into an image that Qt has converted on its thread pool, nor Qt's
# waking of a thread it started, under the environment scripts/sanitize.sh runs the tests in.
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

# The planted race runs on Qt's threads and event loops: an entry naming Qt's core library would hide
# it, which is what the project's file must never do.
qtWide="$(mktemp)"
trap 'rm -f "$qtWide"' EXIT
echo "race:libQt6Core.so" >"$qtWide"
hidden=$(TSAN_OPTIONS="suppressions=$qtWide:exitcode=66:halt_on_error=0" "$program" race 2>&1)
if grep -q "WARNING: ThreadSanitizer" <<<"$hidden"; then
  echo "the planted race: an entry naming Qt's core library does not hide it, so it passes no Qt frame"
  failures=1
fi

# Each mode below runs a hand-over the suppressions must leave clean: exit status 0 and no report.
expectClean() {
  local mode=$1 what=$2 result status
  result=$("$program" "$mode" 2>&1)
  status=$?
  if [ "$status" -ne 0 ] || grep -q "ThreadSanitizer" <<<"$result"; then
    echo "$what: exit status $status, expected 0 without a report"
    echo "$result"
    failures=1
  fi
}

expectClean handover "the hand-over to the main thread"
# Qt's glib event loop wakes the main thread for every post, and that write and read order the post
# for ThreadSanitizer by chance; Qt's own loop (QT_NO_GLIB=1) wakes it once for posts that come together.
expectClean post "events posted to the main thread"
expectClean image "writing into an image Qt converted"
# Qt's glib event loop wakes a thread in frames of glib's without names, which no entry can match: the
# runs use Qt's own event loop (QT_NO_GLIB=1, set by scripts/sanitize.sh), whose waking the file names.
expectClean wake "waking a thread Qt started (QT_NO_GLIB=${QT_NO_GLIB:-unset})"

if [ "$failures" -ne 0 ]; then
  echo "$output"
fi
exit "$failures"
