#!/usr/bin/env bash
# Builds the Debian package korvex_<version>_amd64.deb in build/deb: a release
# build of the programs and what the desktop needs of them, packed by CPack.
# Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build/deb
mkdir -p build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BENCH=OFF >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target korvex_installables >"$build.build.log" 2>&1 ||
    { tail -n 60 "$build.build.log"; exit 1; }
(cd "$build" && cpack >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
ls "$PWD/$build"/korvex_*_amd64.deb
