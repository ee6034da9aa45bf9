#!/usr/bin/env bash
# The CPU the game and the X server spend, paced, on a virtual screen of a given size: 20 s on
# the title, then 20 s of play with the fire held, as shares of one core, and the game's
# resident memory at the end of each. The numbers are noisy on a busy machine: run it more than
# once (bench/present_table.sh does).
# Usage: present_cpu.sh GAME_DIR SCREEN (e.g. 1920x1080) [window|fullscreen] [WINDOW_INI_LINES]
# WINDOW_INI_LINES are put in data.ini's [window] section ("width=500\nheight=620" for 1x,
# "renderer=auto"). MUSIC=1 plays the music and effects (default: both off); SECONDS_EACH sets
# the 20 s. REPEAT=0 turns the virtual keyboard's auto-repeat off, to tell what the fire key's
# repeats cost (the desktop delivers each one, and SDL stamps the window's user time for it)
# from what drawing costs.
set -euo pipefail
game_dir="$(realpath "$1")"
screen="$2"
mode="${3:-window}"
window_ini="${4:-}"
seconds="${SECONDS_EACH:-20}"
sound="${MUSIC:-0}"
repeat_delay=()
[ "${REPEAT:-1}" = 0 ] && repeat_delay=(-ardelay 60000)  # no repeat within the measurement
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset "${repeat_delay[@]}" 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
pids+=("$xvfb")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=("$!")
sleep 1.5

cp -r "$game_dir" "$work/game"
# Without MUSIC=1 no music or effects: the synthesiser would drown the presentation.
switch=0
[ "$sound" = 1 ] && switch=-1
{
    iconv -f CP932 -t UTF-8 "$game_dir/data.ini" | tr -d '\r' |
        sed -e "s/^Midi=.*/Midi=$switch/" -e "s/^Wav=.*/Wav=$switch/" |
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
        -v rss="$(awk '/^VmRSS/ { print $2 }' "/proc/$game/status")" \
        'BEGIN { printf "%s: game %.1f %%, X server %.1f %%, resident %.0f MB\n", what, 100 * g / hz / s, 100 * x / hz / s, rss / 1024 }'
}
geometry="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
echo "screen $screen, $mode, window $geometry"
measure title
xdotool key Return
sleep 1
xdotool keydown z
sleep 1
measure play
xdotool keyup z
# PROFILE=1: then where play's time goes, by function, from perf over as long again.
if [ "${PROFILE:-0}" = 1 ]; then
    xdotool keydown z
    perf record -q -F 499 -p "$game" -o "$work/perf.data" -- sleep "$seconds" >/dev/null 2>&1
    xdotool keyup z
    perf report -q -i "$work/perf.data" --no-children --sort dso,symbol --percent-limit 1.5 \
        2>/dev/null | sed 's/^ *//' | head -25
fi
