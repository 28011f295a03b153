#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              release build with debug info (build/)
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  extra=(-DCMAKE_BUILD_TYPE=Debug -DDURNAK_SANITIZE=ON -DDURNAK_BUILD_BENCH=OFF)
fi

scripts/install-deps.sh

cmake -S . -B "$build" -G Ninja "${extra[@]}"
cmake --build "$build" -j2

# Coverage-guided fuzzing of the wire decoder, bounded in time.
cmake -S protocol/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 > /dev/null
cmake --build build-fuzz -j2
corpus=$(mktemp -d)
cp protocol/fuzz/corpus/* "$corpus"/
build-fuzz/envelope_fuzz -max_total_time="${DURNAK_FUZZ_SECONDS:-60}" -max_len=4096 -print_final_stats=1 \
  "$corpus" > "$build/fuzz.log" 2>&1 || { tail -50 "$build/fuzz.log"; exit 1; }
grep -E 'stat::number_of_executed_units' "$build/fuzz.log" || true
rm -rf "$corpus"

# The server's hello and call handling (sign-in, sessions, access checks, methods) under
# random input, with the plain mutation driver; sanitized in the --sanitize build.
"$build"/appserver/hello_call_fuzz -max_total_time="${DURNAK_SERVER_FUZZ_SECONDS:-30}" appserver/fuzz/corpus \
  > "$build/server_fuzz.log" 2>&1 || { tail -50 "$build/server_fuzz.log"; exit 1; }
grep -E 'stat::number_of_executed_units' "$build/server_fuzz.log" || true

export QT_QPA_PLATFORM=offscreen
# The sanitized tests report leaks of ours only; UBSan findings stop the test that meets them.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
