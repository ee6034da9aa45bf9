#!/usr/bin/env bash
# How loud the mix gets: the real game, music and effects on, plays for a while (record_play.sh),
# its sound written to a file by SDL's disk audio driver; sox then reports the peak, the RMS and
# how many samples reached full scale (clipped). WAV=0 leaves the effects off, for the tune
# alone. Usage: [WAV=0] mix_headroom.sh GAME_DIR [SECONDS]
set -euo pipefail
game_dir="$(cd "$1" && pwd)"
seconds="${2:-60}"
# shellcheck source=record_play.sh
source "$(dirname "$0")/record_play.sh"
record_play "$game_dir" "$seconds" "$record_work/mix.raw"

# The mixer's format: 44100 Hz, signed 16-bit, stereo.
raw=(-t raw -r 44100 -e signed -b 16 -c 2 "$record_work/mix.raw")
total="$(sox "${raw[@]}" -n stat 2>&1 | sed -n 's/^Samples read: *//p')"
clipped="$(sox "${raw[@]}" -t raw - 2>/dev/null | od -An -v -td2 -w2 |
    awk '$1 >= 32767 || $1 <= -32768 { n++ } END { print n + 0 }')"
sox "${raw[@]}" -n stats 2>&1 | grep -E "Pk lev dB|RMS lev dB|RMS Pk dB|Length s"
awk -v c="$clipped" -v t="$total" 'BEGIN { printf "clipped samples: %d of %d (%.3f %%)\n", c, t, 100 * c / t }'
