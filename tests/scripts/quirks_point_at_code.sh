#!/usr/bin/env bash
# QUIRKS.md still points at the code: every entry (a line starting "- ") ends with
# "(in `path`, `name`)", the file exists in the source tree, and the name stands in it as a whole
# word on a line that is not only a comment. Each stale entry is named with its line number.
# Usage: quirks_point_at_code.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir="$1"
list="$source_dir/QUIRKS.md"
if [[ ! -f "$list" ]]; then
    echo "FAIL: $list is missing"
    exit 1
fi

place='\(in `([^`]+)`, `([^`]+)`\)$'
entries=0
stale=0
number=0
while IFS= read -r line || [[ -n "$line" ]]; do
    number=$((number + 1))
    [[ "$line" == "- "* ]] || continue
    entries=$((entries + 1))
    if [[ ! "$line" =~ $place ]]; then
        echo "STALE QUIRKS.md:$number: the entry does not end with (in \`path\`, \`name\`)"
        stale=$((stale + 1))
        continue
    fi
    path="${BASH_REMATCH[1]}"
    name="${BASH_REMATCH[2]}"
    if [[ "$path" == /* || "$path" == *..* || ! -f "$source_dir/$path" ]]; then
        echo "STALE QUIRKS.md:$number: there is no file $path"
        stale=$((stale + 1))
    # No grep -q here: quitting at the first match would break the pipe, which pipefail counts.
    elif ! grep -v '^[[:space:]]*//' "$source_dir/$path" | grep -wF -- "$name" >/dev/null; then
        echo "STALE QUIRKS.md:$number: $path has no $name outside comments"
        stale=$((stale + 1))
    fi
done <"$list"

if ((entries == 0)); then
    echo "FAIL: QUIRKS.md lists no entries"
    exit 1
fi
if ((stale > 0)); then
    echo "FAIL: $stale of the $entries entries of QUIRKS.md point at code that is not there"
    exit 1
fi
echo "all $entries entries of QUIRKS.md point at code that is there"
