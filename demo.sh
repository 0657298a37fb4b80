#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated T596 on a
# pseudo-terminal and runs Korvex against it as COM1. Without a display the
# program runs under Xvfb: a day of samples is transferred through its menus,
# a screenshot is saved, and a real download is made with korvex-fetch and
# turned into a CSV with korvex-convert.
# KORVEX_DEMO_PACE=line sends at the real line rate (a day then takes minutes).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

build=build/normal
mkdir -p build
# The same configuration as ./test.sh builds, so neither rebuilds the other's work.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target korvex t596sim korvex-fetch korvex-convert >/dev/null

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

"$build/t596sim" --link "$link" --interval 10 --pattern load --pace "${KORVEX_DEMO_PACE:-none}" --verbose \
    >"$out/t596sim.log" 2>&1 &
pids+=($!)
wait_for "$link" 10
echo "Simulated T596 on $(readlink "$link") (COM1), interval 0.10 s"
export KORVEX_COM1="$link"

# The configuration file lives in the working directory: keep the demo's apart.
cd "$out"
korvex="../normal/korvex"
fetch="../normal/korvex-fetch"
convert="../normal/korvex-convert"

if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
    echo "Starting Korvex. Try Data acquisition > Transfer."
    "$korvex"
    exit 0
fi

echo "No display: running Korvex under Xvfb"
# On a display number of its own: Xvfb picks a free one and writes it out.
rm -f xvfb.display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>xvfb.display >xvfb.log 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    grep -q '^[0-9]*$' xvfb.display 2>/dev/null && [ "$(wc -l <xvfb.display)" -ge 1 ] && break
    sleep 0.1
done
export DISPLAY=":$(head -1 xvfb.display)"
[ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; exit 1; }
"$korvex" >korvex.log 2>&1 &
korvex_pid=$!
pids+=($korvex_pid)

window_named() { # title, seconds: prints the window's id
    local i id
    for ((i = 0; i < $2 * 10; i++)); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "No window \"$1\" appeared" >&2
    return 1
}
window=$(window_named "Vantorix Data Acquisition Software" 10)
sleep 0.5

# Data acquisition > Transfer, pick "1 day" and Get, as a user would.
echo "Transferring one day of samples from the simulated T596"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key alt+d
sleep 0.3
xdotool key t
dialog=$(window_named "Data acquisition" 5)
xdotool mousemove --window "$dialog" 140 115 click 1 # the "1 day" span
sleep 0.2
xdotool key Return
for ((i = 0; i < 600; i++)); do
    grep -q "transfer complete" t596sim.log && break
    sleep 0.1
done
sleep 1
import -window "$window" korvex.png
echo "Screenshot of the main window: $PWD/korvex.png"
kill "$korvex_pid" 2>/dev/null || true
wait "$korvex_pid" 2>/dev/null || true

echo "Downloading 1 hour of data from the simulated T596 with korvex-fetch"
"$fetch" --port COM1 --span "1 hour" -o demo.kvd
echo "Data file: $PWD/demo.kvd"
"$convert" demo.kvd -o demo.csv
echo "The same as CSV for other programs: $PWD/demo.csv ($(wc -l <demo.csv) lines)"
