#!/usr/bin/env bash
# A won game's saves, killed at each rename of data.ini (strace injects SIGKILL there): data.ini
# is always the old file or the new one, whole, and the next save removes the temporary file the
# kill left. The same run first shows each save replacing data.ini once: two renames of it for the
# name entry's save and the exit's.
# Usage: torn_saves.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir="$1"
runner="$2/vexlan_headless"
golden="$source_dir/tests/golden"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# LeakSanitizer cannot run under ptrace; the leak checks are the other tests'.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
command -v strace >/dev/null || { echo "strace is missing: scripts/install-deps.sh --test"; exit 1; }

fresh_game() {
    rm -rf "$work/game"
    mkdir "$work/game"
    cp "$source_dir"/assets/* "$work/game/"
    cp "$golden/easy.ini" "$work/game/data.ini"
}
play() {  # play STRACE_ARGUMENTS...: the bot's won Easy game, with its name entry
    strace -f "$@" "$runner" --dir "$work/game" --input "$golden/easy.input" --seed 0 \
        >/dev/null 2>"$work/stderr" || echo "status $?"
}

fresh_game
cp "$work/game/data.ini" "$work/old.ini"
play -o "$work/renames" -e trace=rename,renameat,renameat2 >"$work/status"
[ ! -s "$work/status" ] || { cat "$work/status" "$work/stderr"; exit 1; }
cp "$work/game/data.ini" "$work/new.ini"
grep -q 'name1=' "$work/new.ini" && ! cmp -s "$work/old.ini" "$work/new.ini" || {
    echo "the game did not enter a name"
    exit 1
}
data_renames=$(grep -c 'rename("[^"]*", "[^"]*/data.ini")' "$work/renames" || true)
[ "$data_renames" = 2 ] || { echo "data.ini replaced $data_renames times, not twice:"; cat "$work/renames"; exit 1; }
# Which of the run's renames (replays are saved too) are data.ini's.
saves=$(grep ' rename(' "$work/renames" | grep -n 'data.ini")' | cut -d: -f1)

for n in $saves; do
    fresh_game
    status=$(play -o /dev/null -e inject=rename:signal=KILL:when="$n")
    [ "$status" = "status 137" ] || { echo "rename $n: not killed ($status)"; exit 1; }
    if ! cmp -s "$work/game/data.ini" "$work/old.ini" && ! cmp -s "$work/game/data.ini" "$work/new.ini"; then
        echo "killed at rename $n: data.ini is neither the old file nor the new one"
        exit 1
    fi
    "$runner" --dir "$work/game" --frames 1 2>/dev/null  # the next run's save
    stray=$(find "$work/game" -maxdepth 1 -name 'data.ini.tmp*')
    [ -z "$stray" ] || { echo "killed at rename $n: the next save left $stray"; exit 1; }
done
echo "killed at renames" $saves "of data.ini: whole every time"
