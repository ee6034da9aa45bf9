#!/usr/bin/env bash
# `make install` as a packager runs it: into a DESTDIR, prefix /usr. The tree is the one a Linux
# game has (binary, data in share/vexlan, menu entry, icons, AppStream, man page, read-me), the
# desktop's own validators accept the menu entry and the AppStream file, and the installed
# binary answers. Also: a rebuild's copy of data.ini never replaces one that is there.
# Usage: install_layout.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir="$1"
build_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

DESTDIR="$work/root" cmake --install "$build_dir" --prefix /usr >"$work/install.log"
root="$work/root"

expected="$work/expected"
{
    echo usr/bin/vexlan
    for f in "$source_dir"/assets/* "$source_dir/dist/data.ini"; do
        echo "usr/share/vexlan/$(basename "$f")"
    done
    echo usr/share/applications/vexlan.desktop
    echo usr/share/mime/packages/vexlan.xml
    for size in 16 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/vexlan.png"
    done
    echo usr/share/metainfo/io.github.vexlan.vexlan.metainfo.xml
    echo usr/share/man/man6/vexlan.6
    echo usr/share/doc/vexlan/README.md
} | sort >"$expected"
(cd "$root" && find . -type f | sed 's|^\./||' | sort) >"$work/installed"
diff "$expected" "$work/installed" || fail "the installed tree differs (< expected, > installed)"
[ -x "$root/usr/bin/vexlan" ] || fail "the binary is not executable"

for size in 16 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/vexlan.png"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done

desktop-file-validate "$root/usr/share/applications/vexlan.desktop" ||
    fail "desktop-file-validate rejects vexlan.desktop"
# The replays' type: a file named .vxr, or holding a replay's magic under another name, is one.
mime="$work/mime"
mkdir -p "$mime/packages"
cp "$root/usr/share/mime/packages/vexlan.xml" "$mime/packages/"
XDG_DATA_HOME="$work" update-mime-database "$mime" || fail "update-mime-database rejects vexlan.xml"
grep -qx 'application/x-vexlan-replay' "$mime/types" || fail "no replay type in the MIME database"
grep -qx '50:application/x-vexlan-replay:\*\.vxr' "$mime/globs2" || fail "no *.vxr in the MIME globs"
grep -qa 'application/x-vexlan-replay' "$mime/magic" || fail "no replay magic in the MIME database"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.vexlan.vexlan.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo file"
man -l "$root/usr/share/man/man6/vexlan.6" 2>&1 >/dev/null | grep . && fail "the man page has errors"

version="$(sed -n 's/^project.* VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")"
[ "$("$root/usr/bin/vexlan" --version)" = "Vexlan $version" ] || fail "the installed binary's --version"
status=0
"$root/usr/bin/vexlan" --no-such-option 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status, not 2"

# The build's copy of data.ini: the shipped one into an empty game folder, nothing over a
# player's own.
copy=("cmake" "-DFROM=$source_dir/dist/data.ini" "-DTO=$work/data.ini" "-P"
    "$source_dir/cmake/copy_if_missing.cmake")
"${copy[@]}"
cmp -s "$work/data.ini" "$source_dir/dist/data.ini" || fail "no shipped data.ini in a fresh folder"
printf '[data]\r\nscore1=123\r\n' >"$work/data.ini"
cp "$work/data.ini" "$work/players.ini"
"${copy[@]}"
cmp -s "$work/data.ini" "$work/players.ini" || fail "a rebuild replaced the player's data.ini"
echo "install tree, validators, installed binary and data.ini copy as expected"
