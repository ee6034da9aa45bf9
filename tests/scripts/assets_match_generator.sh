#!/usr/bin/env bash
# The committed assets/ are exactly what tools/assetgen writes today: a hand-edited picture or a
# generator change that was not re-run fails here, naming the files that differ.
# Usage: assets_match_generator.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
assets="$1/assets"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$2/assetgen" "$work"
if ! diff -rq "$assets" "$work"; then
    echo "FAIL: assets/ is not what tools/assetgen makes; run: build/release/assetgen assets"
    exit 1
fi
echo "assets/ matches tools/assetgen byte for byte"
