#!/usr/bin/env bash
# scripts/headless builds the runner in the tree `make build` made when there is one, instead of
# configuring a second tree; with none it makes its own. cmake is replaced by a stand-in that
# notes what it was asked, so no real build runs here.
# Usage: headless_reuses_build.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
root="$work/root"
mkdir -p "$root/scripts" "$work/bin"
cp "$1/scripts/headless" "$root/scripts/"
printf '#!/bin/sh\necho "install-deps" >>"%s/asked"\n' "$work" >"$root/scripts/install-deps.sh"
# The stand-in cmake: configuring makes a cache, building makes a runner that names its tree.
cat >"$work/bin/cmake" <<STANDIN
#!/usr/bin/env bash
echo "cmake \$*" >>"$work/asked"
if [ "\$1" = "-S" ]; then mkdir -p "\$4" && touch "\$4/CMakeCache.txt"; fi
if [ "\$1" = "--build" ]; then
    printf '#!/bin/sh\\necho "runner of %s \$*"\\n' "\$2" >"\$2/vexlan_headless"
    chmod +x "\$2/vexlan_headless"
fi
STANDIN
chmod +x "$work/bin/cmake" "$root/scripts/install-deps.sh"
export PATH="$work/bin:$PATH"

mkdir -p "$root/build/release" && touch "$root/build/release/CMakeCache.txt"
answer="$("$root/scripts/headless" --frames 1)"
[ "$answer" = "runner of $root/build/release --frames 1" ] || fail "with build/release: '$answer'"
[ ! -e "$root/build/headless" ] || fail "a second tree was made beside build/release"
grep -q -- "-S" "$work/asked" && fail "build/release was configured again"

rm -rf "$root/build" "$work/asked"
answer="$("$root/scripts/headless" --frames 1)"
[ "$answer" = "runner of $root/build/headless --frames 1" ] || fail "without build/release: '$answer'"
grep -q "install-deps" "$work/asked" || fail "the first own tree was configured without the packages"
echo "the runner reuses build/release and makes build/headless only without it"
