#!/usr/bin/env bash
# Sanitizer runs, built with clang: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan), then the core and ui labels under ThreadSanitizer (build-tsan). Any report that the files
# in tests/sanitizers/ do not suppress fails its test; each entry there gives its reason.
#
#   scripts/sanitize.sh [asan|tsan|all] [ctest args...]      (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nupo_install_deps
nupo_install_clang

which="${1:-all}"
if [ $# -gt 0 ]; then shift; fi
case "$which" in asan | tsan | all) ;; *)
  echo "usage: scripts/sanitize.sh [asan|tsan|all] [ctest args...]" >&2
  exit 2
  ;;
esac

suppressions="$PWD/tests/sanitizers"
# The leak check does not follow __tls_get_addr: LeakSanitizer 14 then keeps a record of each thread's
# dynamic TLS blocks, and at the exit of window tests it read a stale record of the main thread in about
# one run of three and crashed. Without the records, those blocks are still found through the threads'
# own TLS, where the C library keeps them; fewer roots can only report more leaks, never hide one.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$suppressions/ubsan.supp:halt_on_error=1:print_stacktrace=1"
export TSAN_OPTIONS="suppressions=$suppressions/tsan.supp:print_suppressions=0:second_deadlock_stack=1"

status=0
if [ "$which" != tsan ]; then
  BUILD_DIR="${NUPO_ASAN_BUILD_DIR:-build-asan}"
  nupo_configure_and_build "$BUILD_DIR" -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUPO_ASAN=ON -DNUPO_BUILD_BENCH=OFF
  echo "== AddressSanitizer and UndefinedBehaviorSanitizer =="
  # Should LeakSanitizer's tracer still crash at a test's exit ("LeakSanitizer has encountered a fatal
  # error"), that is no finding: while every failure of a run is such a crash and nothing was reported,
  # the failed tests run again, three times at most.
  output="$BUILD_DIR/asan-output.log"
  asan_status=0
  nupo_run_suite "$BUILD_DIR" "$@" 2>&1 | tee "$output" || asan_status=1
  reruns=0
  while [ "$asan_status" != 0 ]; do
    failed=$(grep -c '\*\*\*Failed\|\*\*\*Exception' "$output" || true)
    crashes=$(grep -c 'LeakSanitizer has encountered a fatal error' "$output" || true)
    if [ "$reruns" -lt 3 ] && [ "$failed" -gt 0 ] && [ "$crashes" -ge "$failed" ] &&
      ! grep -q 'ERROR: AddressSanitizer\|ERROR: LeakSanitizer: detected\|runtime error:' "$output"; then
      reruns=$((reruns + 1))
      echo "== LeakSanitizer's tracer crashed in $failed test(s), with no report: running them again ($reruns of 3) =="
      asan_status=0
      nupo_run_suite "$BUILD_DIR" --rerun-failed 2>&1 | tee "$output" || asan_status=1
    else
      status=1
      break
    fi
  done
fi
if [ "$which" != asan ]; then
  BUILD_DIR="${NUPO_TSAN_BUILD_DIR:-build-tsan}"
  nupo_configure_and_build "$BUILD_DIR" -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUPO_TSAN=ON -DNUPO_BUILD_BENCH=OFF
  echo "== ThreadSanitizer (core and ui) =="
  # FluidSynth renders on one thread, and Mesa's llvmpipe rasterises on the thread that draws:
  # OpenMP's and llvmpipe's worker threads synchronise in ways ThreadSanitizer cannot see, and their
  # frames carry no names to suppress. Neither runs code of ours.
  # Qt's event loops run without glib, whose frames carry no names either: waking a thread Qt started
  # then happens in Qt's own function, which tests/sanitizers/tsan.supp can name. No session bus: Qt's
  # D-Bus thread, which the window tests start through Qt's accessibility bridge, then fails its one
  # connection at once, as on a machine without a desktop, instead of talking to a developer's bus or
  # forking to launch one.
  QT_NO_GLIB=1 DBUS_SESSION_BUS_ADDRESS="disabled:" OMP_NUM_THREADS=1 LP_NUM_THREADS=0 \
    nupo_run_suite "$BUILD_DIR" -L "core|ui" "$@" || status=1
fi
exit "$status"
