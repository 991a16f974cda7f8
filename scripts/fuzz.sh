#!/usr/bin/env bash
# Runs the fuzz targets in fuzz/ with libFuzzer, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (build-fuzz).
#
#   scripts/fuzz.sh [target] [seconds]
#
# target: plist, olddata, cmdline, nib, document, drawing, osc or all (the default); seconds: how long each
# target runs (60). Each target keeps what it learns in build-fuzz/corpus/<target> (starting from
# fuzz/corpus/<target>) and writes an input that fails to build-fuzz/findings/<target>/; the run stops at
# the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nupo_install_deps
nupo_install_clang

target="${1:-all}"
seconds="${2:-60}"
all_targets=(plist olddata cmdline nib document drawing osc)
if [ "$target" = all ]; then
  targets=("${all_targets[@]}")
elif [[ " ${all_targets[*]} " == *" $target "* ]]; then
  targets=("$target")
else
  echo "usage: scripts/fuzz.sh [plist|olddata|cmdline|nib|document|drawing|osc|all] [seconds]" >&2
  exit 2
fi

BUILD_DIR="${NUPO_FUZZ_BUILD_DIR:-build-fuzz}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUPO_FUZZ=ON -DNUPO_ASAN=ON -DNUPO_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" -j "$(nupo_jobs)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  corpus="$BUILD_DIR/corpus/$t"
  findings="$BUILD_DIR/findings/$t"
  mkdir -p "$corpus" "$findings"
  seeds=(fuzz/corpus/"$t")
  if [ "$t" = nib ]; then seeds+=(resources/nibs tests/platform/appkit/ui/nibs); fi
  echo "== fuzz_$t for ${seconds}s =="
  "$BUILD_DIR/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 \
    -artifact_prefix="$findings/" "$corpus" "${seeds[@]}"
done
