#!/usr/bin/env bash
# Whether the battle tune loops without a gap: the real game plays on easy with music on and
# effects off (record_play.sh) for SECONDS (95 unless told: the tune is 75.8 s long, so it loops
# once), and the recording is scanned for silence from the tune's first sound on: every sample
# within +-7 of zero, -72 dB (the synthesiser's dither leaves +-1 where it has fallen silent, and
# the mixer's volume may or may not take that to zero). Prints each silent stretch over 0.1 s and
# the longest; fails when one is over 0.6 s. A lost game stops the tune for its game-over
# sequence: the stretches say when. RAW=FILE scans a recording made before instead.
# Usage: music_gaps.sh GAME_DIR [SECONDS]
set -euo pipefail
game_dir="$(cd "$1" && pwd)"
seconds="${2:-95}"
# shellcheck source=record_play.sh
source "$(dirname "$0")/record_play.sh"
raw="${RAW:-$record_work/tune.raw}"
[ -n "${RAW:-}" ] || WAV=0 DIFFICULTY=1 record_play "$game_dir" "$seconds" "$raw"

# Frames of two signed 16-bit samples, 44,100 a second.
od -An -v -td2 -w4 "$raw" | awk -v rate=44100 -v quiet=8 -v shown=0.1 -v limit=0.6 '
    function stretch_ends(at) {
        if (run / rate > shown)
            printf "silence from %.2f s to %.2f s: %.2f s\n", (at - run) / rate, at / rate, run / rate
        if (run > longest) longest = run
        run = 0
    }
    { silent = $1 < quiet && $1 > -quiet && $2 < quiet && $2 > -quiet }
    !began && silent { next }
    !began { began = 1; printf "the tune begins at %.2f s of the recording\n", (NR - 1) / rate }
    silent { run++; next }
    run { stretch_ends(NR - 1) }
    END {
        stretch_ends(NR)
        printf "recording %.1f s; longest silence after the tune began: %.3f s\n", NR / rate, longest / rate
        if (!began || longest / rate > limit) { print "FAIL: a silent gap over " limit " s"; exit 1 }
    }'
