#!/usr/bin/env bash
# A won game's saves, killed at each rename of data.ini (strace injects SIGKILL there): data.ini
# is always the old file or the new one, whole, and the next save removes the temporary file the
# kill left. The same run first shows each save replacing data.ini once: two renames of it for the
# name entry's save and the exit's. Then a won game that enters the table above two entries with
# replays, killed at each rename of its run (data.ini's, the replays'): after the next start the
# table and replays/score*.vxr agree, each entry's replay verifying with the entry's score, and
# no older entry's replay is lost.
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

# The golden Normal and Easy games' replays, with their scores, as the table's first two entries,
# three more without replays; the golden Hard game, which scores more, then enters first.
for golden_game in normal easy; do
    rm -rf "$work/game"
    mkdir "$work/game"
    cp "$source_dir"/assets/* "$work/game/"
    cp "$golden/$golden_game.ini" "$work/game/data.ini"
    "$runner" --dir "$work/game" --input "$golden/$golden_game.input" --seed 0 >/dev/null 2>&1
    cp "$work/game/replays/score1.vxr" "$work/$golden_game.vxr"
    grep -a '^name1=' "$work/game/data.ini" >"$work/$golden_game.name"
    declare "${golden_game}_score=$(sed -n 's/^score1=\([0-9]*\).*/\1/p' "$work/game/data.ini" | tr -d '\r')"
done
table_game() {
    rm -rf "$work/game"
    mkdir -p "$work/game/replays"
    cp "$source_dir"/assets/* "$work/game/"
    {
        grep -av '^\(score\|name\)[1-5]=' "$golden/hard.ini"
        printf 'score1=%s\r\n' "$normal_score"
        cat "$work/normal.name"
        printf 'score2=%s\r\n' "$easy_score"
        sed 's/^name1=/name2=/' "$work/easy.name"
        printf 'score3=1000\r\nname3=three\r\nscore4=500\r\nname4=four\r\nscore5=100\r\nname5=five\r\n'
    } >"$work/game/data.ini"
    cp "$work/normal.vxr" "$work/game/replays/score1.vxr"
    cp "$work/easy.vxr" "$work/game/replays/score2.vxr"
}
play_hard() {  # play_hard STRACE_ARGUMENTS...
    strace -f "$@" "$runner" --dir "$work/game" --input "$golden/hard.input" --seed 0 \
        >/dev/null 2>"$work/stderr" || echo "status $?"
}
score_of() { sed -n "s/^score$1=\([0-9]*\).*/\1/p" "$work/game/data.ini" | tr -d '\r'; }
# Each entry's replay, where there is one, verifies with the entry's score; the entries that
# had one before the game still have one. A replay's result is kept by its digest: the runs move
# the same three games around.
declare -A verified
table_agrees() {
    local place score file result digest
    for place in 1 2 3 4 5; do
        score="$(score_of "$place")"
        file="$work/game/replays/score$place.vxr"
        if [ ! -f "$file" ]; then
            case "$score" in "$normal_score" | "$easy_score")
                echo "place $place ($score) lost its replay"; return 1 ;;
            esac
            continue
        fi
        digest="$(md5sum <"$file")"
        [ -n "${verified[$digest]:-}" ] || verified[$digest]="$(
            "$runner" --dir "$work/game" --replay "$file" 2>&1 >/dev/null | tail -n 1 |
                sed 's|^.*: \([^:]*\)$|\1|')" || true
        result="${verified[$digest]}"
        [[ "$result" == "ok, score $score, "* ]] ||
            { echo "place $place ($score): $result"; return 1; }
    done
}

table_game
play_hard -o "$work/renames" -e trace=rename >"$work/status"
[ ! -s "$work/status" ] || { cat "$work/status" "$work/stderr"; exit 1; }
[ "$(score_of 1)" -gt "$normal_score" ] &&
    [ "$(score_of 2) $(score_of 3)" = "$normal_score $easy_score" ] || {
    echo "the Hard game did not enter first:"; grep -a '^score' "$work/game/data.ini"; exit 1
}
table_agrees || exit 1
renames=$(grep -c ' rename(' "$work/renames")
[ "$renames" -ge 6 ] || { echo "only $renames renames:"; cat "$work/renames"; exit 1; }
for n in $(seq "$renames"); do
    table_game
    status=$(play_hard -o /dev/null -e inject=rename:signal=KILL:when="$n")
    [ "$status" = "status 137" ] || { echo "rename $n: not killed ($status)"; exit 1; }
    "$runner" --dir "$work/game" --frames 1 2>/dev/null  # the next start
    table_agrees || { echo "killed at rename $n of $renames: the table and its replays disagree"; exit 1; }
done
echo "killed at each of the $renames renames of a won game's run: the table and its replays agree at the next start"
