#!/usr/bin/env bash
# Runs each fuzz target for a while, seeded from the game's own data files and the regression
# inputs in fuzz/corpus/. Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
seconds="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

seed() {  # seed TARGET FILES...
    local dir="$work/$1"
    mkdir -p "$dir"
    shift
    for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/"; done
    if [ -d "$root/fuzz/corpus/${dir##*/}" ]; then cp "$root/fuzz/corpus/${dir##*/}"/* "$dir/" 2>/dev/null || true; fi
}
seed stage_fuzz "$root"/assets/teki_*.dat
seed profile_fuzz "$root"/fuzz/corpus/data.ini
seed bitmap_fuzz "$root"/assets/l_jiki.bmp "$root"/assets/l_tamaMe.bmp "$root"/assets/l_backs.bmp
seed replay_fuzz

# A replay costs a few tens of MB however it was crafted: its fuzzer runs under a limit that the
# answer-stream bombs in its corpus would break many times over if the reader let them inflate.
rss_limit() { [ "$1" = replay_fuzz ] && echo 512 || echo 4096; }

for target in stage_fuzz profile_fuzz bitmap_fuzz replay_fuzz; do
    echo "fuzzing $target for ${seconds}s"
    ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$target" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb="$(rss_limit "$target")" -print_final_stats=1 "$work/$target" 2>"$work/$target.log" || {
        tail -n 60 "$work/$target.log"
        echo "fuzz target $target failed"
        exit 1
    }
    grep -E 'stat::number_of_executed_units|Done' "$work/$target.log" | tail -n 2
done
