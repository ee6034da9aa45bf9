#!/usr/bin/env bash
# The program's version is kept once, in CMakeLists.txt's project(VERSION); the files that must
# repeat it for their readers (Debian's changelog, the man page, the AppStream release, the change
# log, the README's package names, the read-me) say the same, naming each one that does not.
# Usage: version_agrees.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
build="$2"
version="$(sed -n 's/^project.* VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")"
[ -n "$version" ] || { echo "FAIL: no project(VERSION) in CMakeLists.txt"; exit 1; }
failures=0
expect() { # WHAT FOUND
    if [ "$2" != "$version" ]; then
        echo "FAIL: $1 says '$2', the program is $version"
        failures=$((failures + 1))
    fi
}
expect "the generated common/version.h" \
    "$(sed -n 's/.*GameVersion = "\(.*\)";/\1/p' "$build/generated/common/version.h")"
expect "debian/changelog" "$(awk 'NR == 1 { gsub(/[()]/, "", $2); sub(/-[^-]*$/, "", $2); print $2 }' \
    "$src/debian/changelog")"
expect "dist/vexlan.6" "$(sed -n 's/^\.TH .*"Vexlan \([^"]*\)".*/\1/p' "$src/dist/vexlan.6")"
expect "the metainfo's newest release" \
    "$(grep -o -m1 '<release version="[^"]*"' "$src/dist/io.github.vexlan.vexlan.metainfo.xml" |
        cut -d'"' -f2)"
expect "CHANGELOG.md's newest entry" "$(sed -n 's/^## \([0-9.]*\).*/\1/p' "$src/CHANGELOG.md" | head -1)"
expect "assets/readme.txt" "$(sed -n '1s/^Vexlan //p' "$src/assets/readme.txt")"
while read -r named; do
    expect "README.md's package name" "$named"
done < <(grep -o 'vexlan_[0-9.]*-' "$src/README.md" | sed 's/^vexlan_\(.*\)-$/\1/')
[ "$failures" -eq 0 ] || exit 1
echo "every file names version $version"
