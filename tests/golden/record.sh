#!/usr/bin/env bash
# Records the golden runs again: the test bot plays one game a difficulty (its settings in
# NAME.ini), writing NAME.input (what it pressed) and NAME.digests (every frame's trace line and
# a few pictures). Run after a deliberate change of the game's behaviour, through `make golden`.
# Usage: record.sh SOURCE_DIR RECORDER
set -euo pipefail
golden="$1/tests/golden"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for name in easy normal hard; do
    rm -rf "$work/game"
    mkdir "$work/game"
    cp "$1"/assets/* "$work/game/"
    cp "$golden/$name.ini" "$work/game/data.ini"
    "$2" "$work/game" "$golden/$name.input" "$golden/$name.digests"
    echo "$name: $(grep -vc '^shot' "$golden/$name.digests") frames recorded"
done
