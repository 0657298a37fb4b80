#!/usr/bin/env bash
# The Wine prefix of the Windows build's tests: made fresh inside the build
# tree (never in the home directory), with COM1..COM8 mapped to the symbolic
# links DIR/ports/port1..8 that a test points at the simulated logger's
# pseudo-terminal. (Not named com1: Windows reads any name whose stem is a
# device's as that device.)
#
#   wine-prefix.sh create DIR                 a fresh prefix in DIR/prefix
#   wine-prefix.sh run DIR PROGRAM [ARGS...]  PROGRAM.exe in that prefix
#   wine-prefix.sh end DIR                    end every Wine process of it
set -euo pipefail
command=$1
dir=$(realpath -m "$2")
shift 2

export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
# No Mono or Gecko to install, and no menu entries or file types made for the
# desktop of the user's own home from the shortcuts and types that a setup
# under test makes; windows only on the display KORVEX_WINE_DISPLAY names (an
# Xvfb of the tests), never on the user's own.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WAYLAND_DISPLAY
if [ -n "${KORVEX_WINE_DISPLAY:-}" ]; then export DISPLAY=$KORVEX_WINE_DISPLAY; else unset DISPLAY; fi

# The server and the system's services run apart from the output of the
# programs, which they would otherwise hold open as long as they live; they
# end a minute after the last program, or at "end". Not for two commands at
# once: the second would find the server without its services.
start_server() {
    if wineserver -p60 </dev/null >/dev/null 2>&1; then
        wine wineboot </dev/null >/dev/null 2>&1
    fi
}

case $command in
create)
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$dir"
    mkdir -p "$dir/ports"
    wine wineboot --init </dev/null >/dev/null 2>&1
    # Wine links the user's Documents, Desktop and the like to the home
    # directory; the prefix keeps folders of its own, so that what a program
    # saves there stays inside it.
    for folder in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
    done
    # Wine's mount manager rewrites dosdevices/comN from the machine's serial
    # devices whenever it starts; the registry's port list is what it keeps.
    # The tests' X server has no window manager: windows draw their own frame
    # and caption, as on Windows, so a screen dump holds them. On a display of
    # 8 bits per pixel Wine's share of the server's colormap shows several of
    # the system colours black; with a colormap of its own the window shows
    # every colour as the program drew it.
    {
        printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n'
        for n in 1 2 3 4 5 6 7 8; do printf '"COM%d"="%s/ports/port%d"\n' "$n" "$dir" "$n"; done
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Decorated"="N"\n'
        printf '"PrivateColorMap"="Y"\n'
    } >"$dir/settings.reg"
    wine regedit /S "$(winepath -w "$dir/settings.reg")" </dev/null >/dev/null 2>&1
    wineserver -k
    wineserver -w
    start_server
    ;;
run)
    start_server
    exec wine "$@"
    ;;
end)
    wineserver -k 2>/dev/null || true
    ;;
*)
    echo "usage: $0 create|run|end DIR [PROGRAM ARGS...]" >&2
    exit 2
    ;;
esac
