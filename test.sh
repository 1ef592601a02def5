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

# The spline file reader and the tooth file merge against arbitrary bytes for 30 seconds each,
# under ASan+UBSan (clang only).
fuzz() {  # target, corpus folder, extra libFuzzer options
  local target=$1 seeds=$2
  shift 2
  echo "== fuzzing ${target#fuzz_} for 30 s =="
  mkdir -p "build-fuzz/corpus-$target"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "build-fuzz/fuzz/$target" \
      -max_total_time=30 "$@" "build-fuzz/corpus-$target" "$seeds" >"build-fuzz/$target.log" 2>&1; then
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
  cmake --build build-fuzz -j "$jobs" --target fuzz_spline_file fuzz_tooth_file || exit 1
  fuzz fuzz_spline_file fuzz/corpus -max_len=400000
  fuzz fuzz_tooth_file fuzz/corpus_tooth -max_len=4096
else
  echo "== fuzzing skipped: clang++ is not installed =="
fi

# Everything, the GUI included.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build build -j "$jobs" || exit 1
echo "== all tests =="
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") || failed=1
exit $failed
