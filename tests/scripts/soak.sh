#!/usr/bin/env bash
# Soak: one headless program plays games back to back with seeded random input until 200 games
# have been played. Nothing may crash or trip a sanitizer, and memory must stay flat.
# Usage: soak.sh SOURCE_DIR BUILD_DIR [GAMES]
set -euo pipefail
source_dir="$1"
runner="$2/vexlan_headless"
games_wanted="${3:-200}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$source_dir"/assets/* "$work/"
# Hard: three hits and the ship is gone, so games are short.
printf '[data]\r\nDiffculty= 3\r\n' > "$work/data.ini"

# The title reads only the arrow keys for its cursor, so the ship is steered with the keypad
# (and the up arrow, which can only move the cursor back to "start"): the random player never
# reaches the title's end item.
frames=$((games_wanted * 400))
awk -v frames="$frames" -v seed=20261207 'BEGIN {
    srand(seed)
    split("kp2 kp4 kp6 kp8 up", keys, " ")
    print "1 down z"
    for (f = 5; f < frames; f += 1 + int(rand() * 6)) {
        k = keys[1 + int(rand() * 5)]
        print f " " (rand() < 0.5 ? "down" : "up") " " k
        if (rand() < 0.03) print f " tap escape"   # the quit box, answered Cancel
        if (rand() < 0.02) print f " up z"
        if (rand() < 0.05) print f " down z"
    }
}' > "$work/input.txt"

ASAN_OPTIONS="${ASAN_OPTIONS:-}:quarantine_size_mb=16" "$runner" --dir "$work" --input "$work/input.txt" --seed 42 --frames "$frames" \
    --trace "$work/trace.jsonl" 2>"$work/stderr.txt" &
pid=$!
samples=()
while kill -0 "$pid" 2>/dev/null; do
    rss="$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)"
    [ -n "$rss" ] && samples+=("$rss")
    sleep 1
done
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 40 "$work/stderr.txt"
    echo "FAIL: the runner ended with status $status"
    exit 1
fi
if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/stderr.txt"; then
    grep -E -A20 'Sanitizer|runtime error' "$work/stderr.txt" | head -60
    echo "FAIL: sanitizer report"
    exit 1
fi

# Games started: frames whose mode is the stage after a frame that was not play.
games="$(awk -F'"mode":' '{ split($2, a, ","); m = a[1]
    if (m == 2 && prev != 2 && prev != 4) n++; prev = m } END { print n + 0 }' "$work/trace.jsonl")"
echo "soak: $games games in $frames frames; resident memory samples (kB): ${#samples[@]}"
[ "$games" -ge "$games_wanted" ] || { echo "FAIL: only $games games were played"; exit 1; }

# Flat memory: the largest sample of the last quarter stays within 8 MB of the first quarter's.
count=${#samples[@]}
if [ "$count" -ge 8 ]; then
    quarter=$((count / 4))
    first_max=0
    last_max=0
    for ((i = 0; i < quarter; i++)); do ((samples[i] > first_max)) && first_max=${samples[i]}; done
    for ((i = count - quarter; i < count; i++)); do ((samples[i] > last_max)) && last_max=${samples[i]}; done
    echo "soak: resident memory, first quarter max ${first_max} kB, last quarter max ${last_max} kB"
    [ $((last_max - first_max)) -le 8192 ] || { echo "FAIL: memory grew"; exit 1; }
fi

