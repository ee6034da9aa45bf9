#!/usr/bin/env bash
# The committed assets/ and desktop icons (dist/icons/) are exactly what tools/assetgen writes
# today: a hand-edited picture or a generator change that was not re-run fails here, naming the
# files that differ.
# Usage: assets_match_generator.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$2/assetgen" "$work/assets" --icons "$work/icons"
if ! diff -rq "$1/assets" "$work/assets" || ! diff -rq "$1/dist/icons" "$work/icons"; then
    echo "FAIL: assets/ or dist/icons/ is not what tools/assetgen makes;" \
        "run: build/release/assetgen assets --icons dist/icons"
    exit 1
fi
echo "assets/ and dist/icons/ match tools/assetgen byte for byte"
