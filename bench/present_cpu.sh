#!/usr/bin/env bash
# The CPU the game and the X server spend presenting frames, paced, on a virtual screen of a
# given size: 20 s on the title, then 20 s of play, as shares of one core. The numbers are noisy
# on a busy machine: run it more than once.
# Usage: present_cpu.sh GAME_DIR SCREEN (e.g. 1920x1080) [window|fullscreen] [WINDOW_INI_LINES]
# WINDOW_INI_LINES are put in data.ini's [window] section ("width=500\nheight=620" for 1x).
set -euo pipefail
game_dir="$(realpath "$1")"
screen="$2"
mode="${3:-window}"
window_ini="${4:-}"
seconds=20
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
pids+=("$xvfb")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=("$!")
sleep 1.5

cp -r "$game_dir" "$work/game"
# No music or effects: the synthesiser would drown what is measured here.
{
    iconv -f CP932 -t UTF-8 "$game_dir/data.ini" | tr -d '\r' | sed -e 's/^Midi=.*/Midi=0/' -e 's/^Wav=.*/Wav=0/' |
        grep -v '^\[window\]' | grep -v -E '^(scale|width|height|fullscreen|scaling|renderer)='
    if [ -n "$window_ini" ]; then printf '[window]\n%b\n' "$window_ini"; fi
} | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$work/game/data.ini"
SDL_AUDIODRIVER=dummy "$work/game/vexlan" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
window=""
for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | head -1)" && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no game window"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || true
if [ "$mode" = fullscreen ]; then xdotool key F11; fi
sleep 3

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
measure() {
    local g x
    ticks "$game" >"$work/g0"; ticks "$xvfb" >"$work/x0"
    sleep "$seconds"
    g=$(( $(ticks "$game") - $(cat "$work/g0") ))
    x=$(( $(ticks "$xvfb") - $(cat "$work/x0") ))
    awk -v g="$g" -v x="$x" -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$1" \
        'BEGIN { printf "%s: game %.1f %%, X server %.1f %%\n", what, 100 * g / hz / s, 100 * x / hz / s }'
}
geometry="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
echo "screen $screen, $mode, window $geometry"
measure title
xdotool key Return
sleep 2
measure play
