#!/usr/bin/env bash
# Builds the Debian package from a finished build (scripts/check-deb.sh
# BUILD_DIR) and checks it as a desktop will see it: its name, control fields
# and contents, and, unpacked into a scratch root, the desktop entry, the
# software-centre entry, the data file's type, the icons, the man pages and a
# program that runs. The package stays in BUILD_DIR/package.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
app=org.korvex.korvex
out=$build/package
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() {
    echo "check-deb: $*" >&2
    exit 1
}

version=$(sed -n 's/^project(Korvex VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
rm -f "$out"/korvex_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$root/cpack.log" 2>&1 ||
    { cat "$root/cpack.log" >&2; fail "cpack failed"; }
deb=$out/korvex_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$out")"

# Control fields: the Qt libraries come from the binaries, the platform
# plugins from our own list.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] ||
    fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
[ "$(dpkg-deb -f "$deb" Package)" = korvex ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"

# Contents: every file where the desktop looks for it, and nothing else.
programs=(korvex korvex-fetch t596sim)
[ -x "$build/korvex-convert" ] && programs+=(korvex-convert)
expected=(usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml
    usr/share/mime/packages/$app.xml usr/share/icons/hicolor/scalable/apps/$app.svg
    usr/share/doc/korvex/README.md)
for program in "${programs[@]}"; do
    expected+=(usr/bin/$program usr/share/man/man1/$program.1.gz)
done
for size in 16 22 24 32 48 64 128 256; do
    expected+=(usr/share/icons/hicolor/${size}x$size/apps/$app.png)
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$root/contents"
printf '%s\n' "${expected[@]}" | sort >"$root/expected"
diff -u "$root/expected" "$root/contents" >&2 || fail "contents differ from the list above"

dpkg -x "$deb" "$root/fs"
share=$root/fs/usr/share
desktop-file-validate "$share/applications/$app.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" >"$root/appstream.log" 2>&1 ||
    { cat "$root/appstream.log" >&2; fail "metainfo"; }

# The entry starts a program the package holds, with its icon, for *.kvd.
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/$app.desktop")
[ -x "$root/fs/usr/bin/${exec_line%% *}" ] || fail "Exec names no packaged program: $exec_line"
grep -qx "Icon=$app" "$share/applications/$app.desktop" || fail "icon name"
mkdir -p "$root/mime/packages"
cp "$share/mime/packages/$app.xml" "$root/mime/packages/"
update-mime-database "$root/mime" 2>"$root/mime.log" || { cat "$root/mime.log" >&2; fail "mime"; }
grep -q '^50:application/x-korvex-data:\*\.kvd$' "$root/mime/globs2" || fail "*.kvd is not our type"
grep -q '^MimeType=application/x-korvex-data;$' "$share/applications/$app.desktop" ||
    fail "the entry does not open the type"

# Man pages: rendered without a complaint.
for program in "${programs[@]}"; do
    page=$share/man/man1/$program.1.gz
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$root/page.txt") || fail "man $program"
    [ -z "$warnings" ] || fail "man $program: $warnings"
    grep -q "^NAME" "$root/page.txt" || fail "man $program shows no NAME"
done

# The stripped program from the package runs.
[ "$("$root/fs/usr/bin/korvex" --version)" = "korvex $version" ] || fail "packaged korvex --version"
echo "check-deb: $deb ($(du -k "$deb" | cut -f1) KiB) is sound"
