#!/usr/bin/env bash
# Builds the Windows programs with the MinGW-w64 cross compiler, with their
# tests and benchmarks, packs the programs with the README into
# build/windows/korvex-<version>-windows-x64.zip and makes the setup program
# build/windows/korvex-<version>-setup-x64.exe. Arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$(nproc)"
ls "$build"/korvex-*-windows-x64.zip "$build"/korvex-*-setup-x64.exe
