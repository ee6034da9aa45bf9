#!/usr/bin/env bash
# The table of what a paced game costs, as `make bench` prints it: the title and play, in a 1x
# window and at the window's opening size on a 1920 x 1080 screen, with music and effects on and
# off, drawn by the software renderer and by `auto` (which, on a machine without a graphics card,
# must come to the software renderer's memory). Each cell runs RUNS times (default 3) and gives
# the lowest and highest of them: this machine is shared and noisy.
# Usage: present_table.sh GAME_DIR [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
game_dir="$1"
runs="${2:-3}"


# One configuration: "title|play game% X% MB" lines, one per run.
measure() {
    local music="$1" ini="$2"
    for _ in $(seq "$runs"); do
        MUSIC="$music" "$here/present_cpu.sh" "$game_dir" 1920x1080 window "$ini" |
            awk '/^(title|play):/ { gsub(/[:,%]/, ""); print $1, $3, $6, $8 }'
    done
}
# The spread of one column (2 game, 3 X server, 4 MB) of one phase.
spread() {
    awk -v phase="$1" -v col="$2" -v unit="$3" '$1 == phase {
            v = $col + 0; if (n == 0 || v < lo) lo = v; if (n == 0 || v > hi) hi = v; n++ }
        END { if (n == 0) { print "?"; exit }
              if (lo == hi) printf "%g%s", lo, unit; else printf "%g–%g%s", lo, hi, unit }'
}
row() {
    local what="$1" music="$2" ini="$3" results
    results="$(measure "$music" "$ini")"
    printf '| %s | %s (X %s) | %s (X %s) | %s / %s |\n' "$what" \
        "$(spread title 2 ' %' <<<"$results")" "$(spread title 3 ' %' <<<"$results")" \
        "$(spread play 2 ' %' <<<"$results")" "$(spread play 3 ' %' <<<"$results")" \
        "$(spread title 4 ' MB' <<<"$results")" "$(spread play 4 ' MB' <<<"$results")"
}

echo "Xvfb 1920x1080, openbox, Normal, fire held in play; CPU of one core over $((${SECONDS_EACH:-20})) s, $runs runs (lowest–highest)"
echo
echo "| | title | play | resident, title / play |"
echo "|---|---|---|---|"
row "1x window (500 x 620), software, music on" 1 "width=500\nheight=620\nrenderer=software"
row "1x window, software, music off" 0 "width=500\nheight=620\nrenderer=software"
row "opening size, software, music on" 1 "renderer=software"
row "opening size, software, music off" 0 "renderer=software"
row "opening size, auto, music on" 1 "renderer=auto"
REPEAT=0 row "opening size, software, music on, no key repeat" 1 "renderer=software"
