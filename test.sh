#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite in a
# normal build and again under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the threaded tests under ThreadSanitizer. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; exit 1; }
}
mkdir -p build
configure build/normal -DKORVEX_TEST_PREFIX=
configure build/asan -DKORVEX_SANITIZE=address -DKORVEX_WITH_QT=OFF -DKORVEX_BENCH=OFF \
    -DKORVEX_TEST_PREFIX=asan.
configure build/tsan -DKORVEX_SANITIZE=thread -DKORVEX_WITH_QT=OFF -DKORVEX_BENCH=OFF \
    -DKORVEX_THREADED_TESTS_ONLY=ON -DKORVEX_TEST_PREFIX=tsan.
for dir in build/normal build/asan build/tsan; do
    echo "Building $dir"
    cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; exit 1; }
done

# Windows: the same tree cross-built; its tests run under Wine, against the
# simulator of the Linux build (cmake/windows.cmake).
echo "Building build/windows"
scripts/build-windows.sh -DKORVEX_WERROR=ON -DKORVEX_NATIVE_BUILD="$PWD/build/normal" \
    >build/windows.build.log 2>&1 || { tail -n 60 build/windows.build.log; exit 1; }

# One CTest run over the three builds, so that one summary line covers them all.
cat >build/CTestTestfile.cmake <<'CTEST'
subdirs("normal" "asan" "tsan")
CTEST
echo 'subdirs("windows")' >>build/CTestTestfile.cmake
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export QT_QPA_PLATFORM=offscreen
cd build
ctest -j"$jobs" --output-on-failure --timeout 600
