#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite in a
# Release build (the one users and packagers make) and again under
# AddressSanitizer + UndefinedBehaviorSanitizer, the threaded tests under
# ThreadSanitizer, and each fuzz harness (clang's libFuzzer) for 30 s; a
# longer fuzz run is scripts/fuzz.sh SECONDS. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
configure() {
    local dir=$1 type=$2
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DKORVEX_WERROR=ON "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; exit 1; }
}
build() {
    echo "Building $1"
    cmake --build "$1" -j"$jobs" "${@:2}" >"$1.build.log" 2>&1 || { tail -n 60 "$1.build.log"; exit 1; }
}
mkdir -p build
# The normal build is the Release one: no extra build for it, and the suite and
# the benchmarks run on what users get. The sanitizer builds keep their debug
# information for readable reports.
configure build/normal Release -DKORVEX_TEST_PREFIX=
configure build/asan RelWithDebInfo -DKORVEX_SANITIZE=address -DKORVEX_WITH_QT=OFF -DKORVEX_BENCH=OFF \
    -DKORVEX_TEST_PREFIX=asan.
configure build/tsan RelWithDebInfo -DKORVEX_SANITIZE=thread -DKORVEX_WITH_QT=OFF -DKORVEX_BENCH=OFF \
    -DKORVEX_THREADED_TESTS_ONLY=ON -DKORVEX_TEST_PREFIX=tsan.
CXX=clang++ configure build/fuzz RelWithDebInfo -DKORVEX_SANITIZE=fuzzer -DKORVEX_WITH_QT=OFF \
    -DKORVEX_BENCH=OFF -DKORVEX_FUZZ_SECONDS=30
for dir in build/normal build/asan build/tsan; do
    build "$dir"
done
build build/fuzz --target fuzzers

# Windows: the same tree cross-built; its tests run under Wine, against the
# simulator of the Linux build (cmake/windows.cmake).
echo "Building build/windows"
scripts/build-windows.sh -DKORVEX_WERROR=ON -DKORVEX_NATIVE_BUILD="$PWD/build/normal" \
    >build/windows.build.log 2>&1 || { tail -n 60 build/windows.build.log; exit 1; }

# One CTest run over the builds, so that one summary line covers them all.
cat >build/CTestTestfile.cmake <<'CTEST'
subdirs("normal" "asan" "tsan" "fuzz")
CTEST
echo 'subdirs("windows")' >>build/CTestTestfile.cmake
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export QT_QPA_PLATFORM=offscreen
cd build
ctest -j"$jobs" --output-on-failure --timeout 600
