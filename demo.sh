#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated T596 on a
# pseudo-terminal and runs Korvex against it as COM1. Without a display the
# program runs under Xvfb: a screenshot is saved, and a real download is made
# with korvex-fetch.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

build=build/normal
mkdir -p build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target korvex t596sim korvex-fetch >/dev/null

out=build/demo
mkdir -p "$out"
link="$PWD/$out/com1"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

wait_for() { # path, seconds
    local i
    for ((i = 0; i < $2 * 10; i++)); do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    echo "Timed out waiting for $1" >&2
    return 1
}

"$build/t596sim" --link "$link" --interval 10 --pattern load --pace line >"$out/t596sim.log" 2>&1 &
pids+=($!)
wait_for "$link" 10
echo "Simulated T596 on $(readlink "$link") (COM1), interval 0.10 s"
export KORVEX_COM1="$link"

# The configuration file lives in the working directory: keep the demo's apart.
cd "$out"
korvex="../normal/korvex"
fetch="../normal/korvex-fetch"

if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
    echo "Starting Korvex. Try Data acquisition > Transfer."
    "$korvex"
    exit 0
fi

echo "No display: running Korvex under Xvfb"
display=:97
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
pids+=($!)
wait_for "/tmp/.X11-unix/X${display#:}" 10
DISPLAY=$display "$korvex" >korvex.log 2>&1 &
korvex_pid=$!
pids+=($korvex_pid)
sleep 2
window=$(DISPLAY=$display xwininfo -root -tree | awk '/"Vantorix Data Acquisition Software"/ {print $1; exit}')
if [ -n "$window" ]; then
    DISPLAY=$display import -window "$window" -frame korvex.png 2>/dev/null ||
        DISPLAY=$display import -window root korvex.png
else
    DISPLAY=$display import -window root korvex.png
fi
echo "Screenshot of the main window: $PWD/korvex.png"
kill "$korvex_pid" 2>/dev/null || true
wait "$korvex_pid" 2>/dev/null || true

echo "Downloading 1 hour of data from the simulated T596 with korvex-fetch"
"$fetch" --port COM1 --span "1 hour" -o demo.kvd
echo "Data file: $PWD/demo.kvd"
