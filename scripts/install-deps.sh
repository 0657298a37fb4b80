#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; quiet
# when nothing is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    clang libclang-rt-14-dev
    libgtest-dev libgmock-dev
    qt6-base-dev libgl-dev
    qt6-translations-l10n # Qt's own dialogs in German and Danish
    xvfb xauth x11-apps xdotool imagemagick fonts-dejavu-core
    locales
    # the desktop package: icons, the .deb and its checks
    librsvg2-bin file dpkg-dev desktop-file-utils appstream shared-mime-info man-db x11-utils python3
    # the hard copies: PDF pages and BMP files read back
    poppler-utils python3-pil
    # files saved over as another member of a group, with an ACL kept
    acl
    # printing through a print queue of the tests' own: a CUPS daemon and the
    # generic PDF printer's driver and filters
    cups-daemon cups-client cups-filters ghostscript
    # the Windows build and its tests under Wine
    mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 googletest
    fonts-dejavu-extra # a face as narrow as the charts need where Arial is missing
    nsis               # the Windows setup program
    socat              # two linked pseudo-terminals: COM ports of a Wine prefix joined as by a cable
    # the survey report opened, shot and printed by real browsers, in a
    # network namespace of the test's own
    chromium firefox-esr iproute2
)

# The regional date and time formats are tested in these locales.
locales=(en_GB.UTF-8 de_DE.UTF-8 da_DK.UTF-8)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

absent=()
for l in "${locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || absent+=("$l")
done
if [ ${#absent[@]} -gt 0 ]; then
    echo "Generating locales: ${absent[*]}"
    for l in "${absent[@]}"; do
        $sudo sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
        grep -q "^${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
fi
