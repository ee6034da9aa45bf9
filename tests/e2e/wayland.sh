#!/usr/bin/env bash
# The real game on a real Wayland compositor: weston, at scale 1 and 2, with an X display beside
# it as a Wayland desktop has XWayland. The game must open natively on Wayland (nothing on the X
# display), show its picture at the output's pixels and sharp (each of the game's pixels a whole
# square of the compositor's own screenshot), answer a box, pause while another window has the
# keyboard, save on the close box and end, saving, when the compositor goes away; where the
# compositor cannot be reached it falls back to X11 with one line on stderr.
#
# weston runs on its X11 backend, nested in the test's Xvfb, not headless: SDL 2.26 crashes in
# its video start on a compositor without a seat, and weston's headless backend has none; the X11
# backend's seat takes xdotool's keys and clicks. Usage: wayland.sh SOURCE_DIR GAME_DIR
set -euo pipefail
game_dir="$2"
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

# Room for weston's window of 1600 x 1400 pixels at scale 2 and openbox's frame around it.
open_display 1800x1600
weston_pid=""
stop_weston() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
    [ -n "$weston_pid" ] && wait "$weston_pid" 2>/dev/null || true
    weston_pid=""
}
trap 'stop_game; stop_weston; cleanup' EXIT

# Its sockets and the game's in a runtime folder of the test's own.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=vexlan-test

# A compositor of 800 x 700 points at the given scale, in a window of the X display; --debug
# lets weston-screenshooter take the compositor's own pixels.
start_weston() {
    stop_weston
    weston --backend=x11-backend.so --use-pixman --width=800 --height=700 --scale="$1" \
        --socket="$WAYLAND_DISPLAY" --no-config --debug >"$work/weston.log" 2>&1 &
    weston_pid=$!
    wait_until 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start"
    weston_window="$(wait_until 10 xdotool search --onlyvisible --class '^Weston Compositor$' &&
        xdotool search --onlyvisible --class '^Weston Compositor$' | head -1)" ||
        fail "weston's window did not appear"
    # Its pointer out of the way of the screenshots, on the panel.
    xdotool mousemove --window "$weston_window" 1 1
}

# The compositor's screenshot, in output pixels.
screenshot() {
    local folder="$work/shot-$(date +%s%N)" file
    mkdir "$folder"
    (cd "$folder" && weston-screenshooter >/dev/null 2>&1) || true
    file="$(ls "$folder"/*.png 2>/dev/null | head -1)"
    [ -n "$file" ] || return 1
    mv "$file" "$folder.png"
    rmdir "$folder"
    echo "$folder.png"
}

# The game's menu bar, found by its colour: 500 x 20 of the game's pixels, so 500S x 20S of the
# output's. Sets bar_x, bar_y, bar_w, bar_h.
MenuBarColour='#F0F0F0'
find_menu_bar() {
    shot="$(screenshot)" || return 1
    local box
    box="$(convert "$shot" -fill black +opaque "$MenuBarColour" -fill white -opaque "$MenuBarColour" \
        -morphology Erode Rectangle:1x9 -format '%@' info:)"
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    # Only runs of 9 pixels down are kept (the bar's, not a stray pixel's): the erosion ate 4
    # pixels above the bar and 4 below.
    bar_w=$((BASH_REMATCH[1])) bar_h=$((BASH_REMATCH[2] + 8))
    bar_x=$((BASH_REMATCH[3])) bar_y=$((BASH_REMATCH[4] - 4))
    [ "$bar_w" -gt 100 ]
}

# The play area of $shot at scale S: whole squares of S x S pixels, nothing blended between them.
sharp_at() {
    local scale="$1" play="$work/play.png"
    convert "$shot" -crop "$((500 * scale))x$((600 * scale))+$bar_x+$((bar_y + 20 * scale))" +repage \
        "$play"
    [ "$(identify -format %wx%h "$play")" = "$((500 * scale))x$((600 * scale))" ] || return 1
    local squares
    squares="$(convert "$play" -sample "$((100 / scale))%" -sample "$((100 * scale))%" png:- |
        compare -metric AE "$play" - null: 2>&1 || true)"
    [ "$squares" = 0 ]
}
play_lit() {  # the play area of $shot shows something (the title's logo)
    brighter_than "$(convert "$shot" -crop "$bar_w"x"$((bar_w * 6 / 5))+$bar_x+$((bar_y + bar_h))" \
        +repage -colorspace Gray -format '%[fx:mean]' info:)" 0.03
}
title_shown() { find_menu_bar && play_lit; }

for scale in 1 2; do
    start_weston "$scale"
    SDL_AUDIODRIVER=dummy start_game
    wait_until 20 title_shown || fail "scale $scale: no title on the compositor: ${shot:-no shot}"
    [ -z "$(xdotool search --class '^vexlan$' 2>/dev/null)" ] ||
        fail "scale $scale: the game opened on X11, not natively on Wayland"
    [ "$bar_w" -eq $((500 * scale)) ] && [ "$bar_h" -eq $((20 * scale)) ] ||
        fail "scale $scale: the menu bar is ${bar_w}x$bar_h output pixels, not $((500 * scale))x$((20 * scale)): $shot"
    sharp_at "$scale" || fail "scale $scale: the picture is not whole squares of $scale pixels: $shot"
    [ ! -s "$work/stderr.log" ] || fail "scale $scale: the game said: $(cat "$work/stderr.log")"

    # The game's window has the keyboard: Return starts a game, Escape asks to quit, Return
    # answers OK, and the game saves and ends.
    xdotool windowfocus --sync "$weston_window" 2>/dev/null || true
    xdotool mousemove --window "$weston_window" $((bar_x + 250 * scale)) $((bar_y + 300 * scale))
    press Return
    sleep 1
    xdotool keydown Escape
    box_seen() {  # the box's body, over the play area
        shot="$(screenshot)" && [ "$(convert "$shot" -crop "$((500 * scale))x$((600 * scale))+$bar_x+$((bar_y + bar_h))" \
            +repage -fill black +opaque "$BoxBody" -fill white -opaque "$BoxBody" \
            -format '%[fx:int(mean*w*h)]' info:)" -gt $((4000 * scale * scale)) ]
    }
    wait_until 10 box_seen || fail "scale $scale: Escape did not ask to quit: $shot"
    xdotool keyup Escape
    press Return
    wait_until 10 gone || fail "scale $scale: OK in the quit question did not end the game"
    status=0
    wait "$game_pid" || status=$?
    game_pid=""
    [ "$status" -eq 0 ] || fail "scale $scale: the quit ended with status $status"
    [ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "scale $scale: the quit did not save data.ini"
    [ "$(data_ini_keys window)" = "width height fullscreen scaling renderer video rotation " ] ||
        fail "scale $scale: the window's settings were not saved: $(data_ini_keys window)"
done

# The close box of the title bar (drawn by libdecor at the right of the bar above the menu bar)
# closes the game, saving.
SDL_AUDIODRIVER=dummy start_game
wait_until 20 title_shown || fail "no title for the close box: ${shot:-no shot}"
xdotool mousemove --window "$weston_window" $((bar_x + bar_w - 16 * scale)) $((bar_y - 12 * scale)) \
    click 1
wait_until 10 gone || fail "the title bar's close box did not end the game: $(screenshot)"
wait "$game_pid" || fail "the close box ended the game with a failure"
game_pid=""
[ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "the close box did not save data.ini"

# Another window takes the keyboard (weston-flower, a still picture): play pauses, the play area
# stands still; the game's window clicked again, play goes on.
play_shot() {  # the play area alone, to $1
    shot="$(screenshot)" &&
        convert "$shot" -crop "$((500 * scale))x$((600 * scale))+$bar_x+$((bar_y + bar_h))" +repage "$1"
}
play_still() {
    play_shot "$work/a.png" && sleep 0.5 && play_shot "$work/b.png" &&
        same_picture "$work/a.png" "$work/b.png"
}
play_moving() {
    play_shot "$work/a.png" && sleep 0.2 && play_shot "$work/b.png" &&
        ! same_picture "$work/a.png" "$work/b.png"
}
SDL_AUDIODRIVER=dummy start_game
wait_until 20 title_shown || fail "no title before play: ${shot:-no shot}"
press Return
wait_until 10 play_moving || fail "play did not begin: $shot"
weston-flower >/dev/null 2>&1 &
flower_pid=$!
wait_until 10 play_still || fail "play went on without the keyboard: $shot"
kill "$flower_pid"
wait "$flower_pid" 2>/dev/null || true
xdotool mousemove --window "$weston_window" $((bar_x + 250 * scale)) $((bar_y + 590 * scale)) click 1
wait_until 10 play_moving || fail "play did not go on with the keyboard back: $shot"
stop_game

# SIGHUP and SIGTERM end it as on X11.
for signal in HUP TERM; do
    SDL_AUDIODRIVER=dummy start_game
    wait_until 20 title_shown || fail "no title before SIG$signal: ${shot:-no shot}"
    kill -s "$signal" "$game_pid"
    wait_until 10 gone || fail "SIG$signal did not end the game"
    wait "$game_pid" || fail "SIG$signal ended the game with a failure"
    game_pid=""
    [ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "SIG$signal did not save data.ini"
done

# The compositor goes away: data.ini saved, status 1, as when the X server goes.
SDL_AUDIODRIVER=dummy start_game
wait_until 20 title_shown || fail "no title before the compositor went: ${shot:-no shot}"
stop_weston
wait_until 10 gone || fail "the lost compositor did not end the game"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 1 ] || fail "the lost compositor ended the game with status $status"
[ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "the lost compositor did not save data.ini"
grep -q "the display went away" "$work/stderr.log" || fail "the lost compositor was not told"

# No compositor where WAYLAND_DISPLAY points: the game opens on X11, saying so once.
SDL_AUDIODRIVER=dummy start_game
window="$(wait_game_window)" || fail "without a compositor the game did not open on X11"
[ "$(grep -c . "$work/stderr.log")" -eq 1 ] && grep -q "Wayland could not be opened" "$work/stderr.log" ||
    fail "the fall-back to X11 was not told in one line: $(cat "$work/stderr.log")"
stop_game

echo "wayland: native on weston at scale 1 and 2, sharp at the output's pixels; the quit question,"
echo "wayland: the close box, SIGHUP and SIGTERM save; play pauses without the keyboard;"
echo "wayland: a lost compositor saves and ends with 1;"
echo "wayland: no compositor falls back to X11 with one line"
