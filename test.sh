#!/usr/bin/env bash
# Builds and runs every test: core, GUI (offscreen), CLI golden files, LinuxCNC peer checks,
# the core again under ASan+UBSan in a build without the GUI, and the fuzzers.
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
failed=0

# Core, CLI and core tests with Qt switched off, under the sanitizers.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DOSTRIVANE_BUILD_GUI=OFF -DOSTRIVANE_BUILD_BENCH=OFF -DOSTRIVANE_SANITIZE=ON >/dev/null || exit 1
cmake --build build-sanitize -j "$jobs" || exit 1
echo "== core tests under ASan+UBSan, GUI switched off =="
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -LE peer) || failed=1

# The readers of outside files against arbitrary bytes under ASan+UBSan (clang only): the spline
# file and the tooth file merge for 30 seconds each, the saw outline, the light model, the
# window-state files and the point import for 15 seconds each.
fuzz() {  # target, seconds, corpus folder, extra libFuzzer options
  local target=$1 seconds=$2 seeds=$3
  shift 3
  echo "== fuzzing ${target#fuzz_} for $seconds s =="
  mkdir -p "build-fuzz/corpus-$target"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "build-fuzz/fuzz/$target" \
      -max_total_time="$seconds" "$@" "build-fuzz/corpus-$target" "$seeds" >"build-fuzz/$target.log" 2>&1; then
    grep -E "^Done|^#[0-9]+.*DONE" "build-fuzz/$target.log" | tail -1
  else
    tail -n 40 "build-fuzz/$target.log"
    failed=1
  fi
}
if command -v clang++ >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DOSTRIVANE_BUILD_GUI=OFF -DOSTRIVANE_BUILD_TESTS=OFF \
    -DOSTRIVANE_BUILD_BENCH=OFF -DOSTRIVANE_SANITIZE=ON -DOSTRIVANE_BUILD_FUZZ=ON >/dev/null || exit 1
  cmake --build build-fuzz -j "$jobs" --target fuzz_spline_file fuzz_tooth_file fuzz_saw_outline \
    fuzz_shading_params fuzz_state_file fuzz_point_import fuzz_dxf_profile || exit 1
  fuzz fuzz_spline_file 30 fuzz/corpus -max_len=400000
  fuzz fuzz_tooth_file 30 fuzz/corpus_tooth -max_len=4096
  fuzz fuzz_saw_outline 15 fuzz/corpus_saw_outline -max_len=8192
  fuzz fuzz_shading_params 15 fuzz/corpus_shading -max_len=256
  fuzz fuzz_state_file 15 fuzz/corpus_state -max_len=16384
  fuzz fuzz_point_import 15 fuzz/corpus_points -max_len=16384
  fuzz fuzz_dxf_profile 15 fuzz/corpus_dxf -max_len=16384
else
  echo "== fuzzing skipped: clang++ is not installed =="
fi

# Everything, the GUI included.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build build -j "$jobs" || exit 1
echo "== all tests =="
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") || failed=1
exit $failed
