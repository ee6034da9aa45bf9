# shellcheck shell=bash
# Shared by the sound benchmarks: the real game plays under an Xvfb display of its own, music on,
# effects on unless WAV=0, on normal unless DIFFICULTY says (1 easy, 3 hard), the fire held and
# the ship swept left and right (enemies explode, often several at once; a lost game is followed
# by another), while SDL's disk audio driver writes its sound to a file: 44,100 Hz, signed
# 16-bit, stereo. Source it, then call `record_play GAME_DIR SECONDS RAW_FILE`. Its work folder
# and processes go when the script exits.
record_work="$(mktemp -d)"
xvfb_pid=""
game_pid=""
record_cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$record_work"
}
trap record_cleanup EXIT

record_play() {
    local game_dir="$1" seconds="$2" raw="$3" window="" end
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$record_work/display" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$record_work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$record_work/display")"

    cp -r "$game_dir" "$record_work/game"
    printf '[data]\r\nMidi=-1\r\nWav=%s\r\nDiffculty= %s\r\n' "${WAV:--1}" "${DIFFICULTY:-2}" \
        >"$record_work/game/data.ini"
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw" "$record_work/game/vexlan" >/dev/null 2>&1 &
    game_pid=$!
    for _ in $(seq 100); do
        window="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | head -1)" &&
            [ -n "$window" ] && break
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
        xdotool key Return
    done
    xdotool keyup z
    kill "$game_pid"
    wait "$game_pid" 2>/dev/null || true
    game_pid=""
}
