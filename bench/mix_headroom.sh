#!/usr/bin/env bash
# How loud the mix gets: the real game, music and effects on, plays under Xvfb for a while with
# the fire held and the ship swept left and right (enemies explode, often several at once),
# its sound written to a file by SDL's disk audio driver; sox then reports the peak, the RMS and
# how many samples reached full scale (clipped). WAV=0 leaves the effects off, for the tune
# alone. Usage: [WAV=0] mix_headroom.sh GAME_DIR [SECONDS]
set -euo pipefail
game_dir="$(cd "$1" && pwd)"
seconds="${2:-60}"
work="$(mktemp -d)"
xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

cp -r "$game_dir" "$work/game"
printf '[data]\r\nMidi=-1\r\nWav=%s\r\nDiffculty= 2\r\n' "${WAV:--1}" >"$work/game/data.ini"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix.raw" "$work/game/vexlan" >/dev/null 2>&1 &
game_pid=$!
for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | head -1)" && [ -n "$window" ] && break
    sleep 0.1
done
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 2
xdotool key Return
sleep 1
xdotool keydown z
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ] && kill -0 "$game_pid" 2>/dev/null; do
    for key in Left Right; do xdotool keydown "$key"; sleep 1.5; xdotool keyup "$key"; done
    # A lost game goes back to the title after a while: start another.
    xdotool key Return
done
xdotool keyup z
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

# The mixer's format: 44100 Hz, signed 16-bit, stereo.
raw=(-t raw -r 44100 -e signed -b 16 -c 2 "$work/mix.raw")
total="$(sox "${raw[@]}" -n stat 2>&1 | sed -n 's/^Samples read: *//p')"
clipped="$(sox "${raw[@]}" -t raw - 2>/dev/null | od -An -v -td2 -w2 |
    awk '$1 >= 32767 || $1 <= -32768 { n++ } END { print n + 0 }')"
sox "${raw[@]}" -n stats 2>&1 | grep -E "Pk lev dB|RMS lev dB|RMS Pk dB|Length s"
awk -v c="$clipped" -v t="$total" 'BEGIN { printf "clipped samples: %d of %d (%.3f %%)\n", c, t, 100 * c / t }'
