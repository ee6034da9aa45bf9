#!/usr/bin/env bash
# How the game stops when told to from outside. SIGTERM, SIGINT and SIGHUP end it as the close
# box does, data.ini saved, wherever it is waiting: in a notice, in the quit question, in the open
# menu, between two frames of play; a save that fails then does not hold the end up. A display
# that goes away ends it with data.ini saved too; a replay's error box ends with its status. With
# no desktop to show it on, it says so and exits at once instead of running unseen, giving up the
# tune's rendering if it has begun. Usage: stopping.sh SOURCE_DIR GAME_DIR
set -euo pipefail
game_dir="$2"
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

# No display at all, and one that does not answer. The tune opens the real audio device before
# the display is looked for; PulseAudio's client, finding no runtime folder, would make a
# pulse-* folder in $TMPDIR and leave it there: it gets one of its own in the test's folder, and
# the game's own TMPDIR must stay empty. That runtime folder holds no compositor's socket either.
mkdir -m 700 "$work/runtime" "$work/tmp"
for display in "" ":987"; do
    rm -rf "$work/game"
    cp -r "$game_dir" "$work/game"
    status=0
    env -u WAYLAND_DISPLAY DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" \
        timeout 10 "$work/game/vexlan" \
        >/dev/null 2>"$work/stderr.log" || status=$?
    [ "$status" -ne 124 ] || fail "with DISPLAY='$display' the game ran unseen"
    [ "$status" -eq 1 ] || fail "with DISPLAY='$display' the game exited with status $status"
    grep -q "Cannot open the display" "$work/stderr.log" ||
        fail "with DISPLAY='$display' stderr does not say why: $(cat "$work/stderr.log")"
    [ -z "$(ls -A "$work/tmp")" ] || fail "with DISPLAY='$display' the game left $(ls -A "$work/tmp") in TMPDIR"
done
# With a sound device and no rendering of the tune yet, the rendering has begun when the display
# is found missing: it is given up, not left half written, and the exit is still the failure's.
rm -rf "$XDG_CACHE_HOME/vexlan"
status=0
env -u WAYLAND_DISPLAY -u DISPLAY SDL_AUDIODRIVER=dummy timeout 10 "$work/game/vexlan" \
    >/dev/null 2>"$work/stderr.log" || status=$?
[ "$status" -eq 1 ] || fail "with the tune rendering the game exited with status $status: $(cat "$work/stderr.log")"
[ -z "$(find "$XDG_CACHE_HOME" -name '*.part')" ] || fail "the game left a partial rendering: $(find "$XDG_CACHE_HOME" -name '*.part')"

# Waits for the game to end, as it must within a few seconds, and expects the given status.
ends_with() {
    local expected="$1" what="$2" status=0
    for _ in $(seq 50); do alive || break; sleep 0.1; done
    alive && fail "$what did not end the game"
    wait "$game_pid" || status=$?
    game_pid=""
    [ "$status" -eq "$expected" ] || fail "$what ended the game with status $status"
}
# Sends SIGNAL and expects the game to end with status 0 and data.ini written.
ends_on() {
    local signal="$1" where="$2"
    kill -s "$signal" "$game_pid"
    ends_with 0 "SIG$signal $where"
    [ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "SIG$signal $where did not save data.ini"
}
started() {
    window="$(wait_game_window)" || fail "the game window did not appear"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

SDL_AUDIODRIVER=no-such-driver start_game
started
wait_box >/dev/null || fail "no sound notice"
ends_on TERM "in a notice"

SDL_AUDIODRIVER=dummy start_game
started
sleep 2
press Return
sleep 1
xdotool keydown Escape
wait_box >/dev/null || fail "Escape did not ask to quit"
xdotool keyup Escape
ends_on INT "in the quit question"

# The menu's drop-down is the only place its light grey covers this much of the window.
SDL_AUDIODRIVER=dummy start_game
started
sleep 1
xdotool mousemove --window "$window" 10 10 click 1
sleep 0.5
menu_pixels="$(convert "$(screenshot)" -fill black +opaque '#F2F2F2' -fill white -opaque '#F2F2F2' \
    -format '%[fx:int(mean*w*h)]' info:)"
[ "$menu_pixels" -gt 1000 ] || fail "the menu did not open ($menu_pixels pixels)"
ends_on TERM "in the open menu"

SDL_AUDIODRIVER=dummy start_game
started
sleep 2
press Return
sleep 1
ends_on TERM "in play"

# The terminal closed: SIGHUP is SIGTERM.
SDL_AUDIODRIVER=dummy start_game
started
sleep 1
ends_on HUP "on the title"

# data.ini cannot be written (a folder stands in its place): the failure is told on stderr, and
# the first SIGTERM ends the game.
SDL_AUDIODRIVER=dummy start_game ""
mkdir "$work/game/data.ini"
started
sleep 1
kill -s TERM "$game_pid"
ends_with 0 "SIGTERM with a failing save"
grep -q "could not be saved" "$work/stderr.log" || fail "the failed save was not told on stderr"

# A replay is read by the path given, from the folder the player is in; watched, a replay that
# cannot be played shows why in a box, and SIGTERM there ends it with that result's status, 2.
rm -rf "$work/game"
cp -r "$game_dir" "$work/game"
printf '\211VXR\r\n\032\n\001\000cut short' >"$work/broken.vxr"
status=0
verified="$(cd "$work" && "$work/game/vexlan" --verify broken.vxr)" || status=$?
[ "$status" -eq 2 ] && [ "$verified" = "broken.vxr: damaged" ] ||
    fail "a replay by a relative path verified as '$verified', status $status"
(cd "$work" && SDL_AUDIODRIVER=dummy exec env --default-signal=INT "$work/game/vexlan" \
    --replay broken.vxr >"$work/stdout.log" 2>"$work/stderr.log") &
game_pid=$!
started
wait_box >/dev/null || fail "no box saying the replay is damaged"
kill -s TERM "$game_pid"
ends_with 2 "SIGTERM in a replay's error box"

# The X server goes away: the game saves data.ini and ends as Xlib would, with status 1.
SDL_AUDIODRIVER=dummy start_game
started
sleep 1
kill -TERM "$xvfb_pid"
ends_with 1 "a lost display"
[ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "a lost display did not save data.ini"
[ "$(data_ini_keys window)" = "width height fullscreen scaling renderer video rotation " ] ||
    fail "a lost display did not save the window's settings"

echo "stopping: no display reported; SIGTERM, SIGINT and SIGHUP end the game and save everywhere,"
echo "stopping: a failing save does not hold the end up; a lost display saves and ends;"
echo "stopping: a replay's error box ends on SIGTERM with its status, 2"
