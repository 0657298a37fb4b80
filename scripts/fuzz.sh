#!/usr/bin/env bash
# Fuzzes what comes from outside: the received byte stream, data files and the
# configuration file. Builds the libFuzzer harnesses with clang
# (AddressSanitizer + UndefinedBehaviorSanitizer) in build/fuzz and runs the
# three side by side for SECONDS each (default 30, as ./test.sh runs them).
# Fails on any finding; the input is kept in build/fuzz/tests/fuzz/findings.
#
#   scripts/fuzz.sh 3600     # an hour each
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
mkdir -p build
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON \
    -DKORVEX_SANITIZE=fuzzer -DKORVEX_WITH_QT=OFF -DKORVEX_BENCH=OFF -DKORVEX_FUZZ_SECONDS="$seconds" \
    >build/fuzz.configure.log 2>&1 ||
    { cat build/fuzz.configure.log; exit 1; }
cmake --build build/fuzz -j"$(nproc)" --target fuzzers >build/fuzz.build.log 2>&1 ||
    { tail -n 60 build/fuzz.build.log; exit 1; }
ctest --test-dir build/fuzz -j3 --output-on-failure --timeout $((seconds + 120))
