#!/usr/bin/env bash
# What a packager meets: `make run` installs only what building and playing need, and a build
# configured without our options takes the packager's compiler flags, with no -Werror and no
# optimisation level of ours. Usage: packager_build.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

run_packages="$("$src/scripts/install-deps.sh" --list)"
all_packages="$("$src/scripts/install-deps.sh" --test --list)"
for tool in clang libgtest-dev libbenchmark-dev xvfb xdotool imagemagick; do
    grep -qx "$tool" <<<"$run_packages" && fail "playing installs $tool, a test tool"
    grep -qx "$tool" <<<"$all_packages" || fail "testing does not install $tool"
done
for needed in libsdl2-dev fonts-ipafont-gothic timgm6mb-soundfont; do
    grep -qx "$needed" <<<"$run_packages" || fail "playing does not install $needed"
done
run_deps="$(make -C "$src" -n run 2>/dev/null | grep install-deps)"
[ -n "$run_deps" ] || fail "make run does not install what it needs"
grep -q -- "--test" <<<"$run_deps" && fail "make run installs the test packages"

# A distribution build, as debhelper configures one: no build type, its own flags.
CXXFLAGS="-O2 -g -fstack-protector-strong" cmake -S "$src" -B "$work/build" \
    -DCMAKE_BUILD_TYPE=None -DVEXLAN_TESTS=OFF >/dev/null
commands="$work/build/compile_commands.json"
grep -q -- "-Werror" "$commands" && fail "a distribution build turns warnings into errors"
grep -q -- "-O3" "$commands" && fail "a distribution build overrides the packager's -O2"
grep -q -- "-fstack-protector-strong" "$commands" || fail "a distribution build drops CXXFLAGS"
# Our own builds keep failing on a warning.
cmake -S "$src" -B "$work/ours" -DCMAKE_BUILD_TYPE=Release -DVEXLAN_TESTS=OFF -DVEXLAN_WERROR=ON \
    >/dev/null
grep -q -- "-Werror" "$work/ours/compile_commands.json" || fail "our builds lost -Werror"
echo "packager build: make run installs only what playing needs; distribution flags are kept"
