#!/usr/bin/env bash
# The real game in a real window under Xvfb, driven as a person would: keys pressed and held
# with xdotool, screenshots taken with import and looked at region by region. Message boxes are
# drawn in the game window, so they are found by their pixels: the body colour of a box over
# the play area. Usage: real_window.sh SOURCE_DIR GAME_DIR
set -euo pipefail
game_dir="$2"
if [ ! -x "$game_dir/vexlan" ]; then
    echo "no game at $game_dir/vexlan: run 'make build' first"
    exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
game_pid=""
cleanup() {
    stop_game
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true  # TERM: it removes its lock
    wait 2>/dev/null || true
    if [ "${keep_work:-0}" = 1 ]; then echo "screenshots kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'keep_work=1' ERR
fail() {
    echo "FAIL: $*"
    keep_work=1
    exit 1
}

# A display of our own; Xvfb picks a free number and tells it. -noreset: without it the server
# restarts whenever its last client leaves, and the next client can find nobody there.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb does not answer on $DISPLAY"

# Starts the game from a fresh copy of its directory.
start_game() {
    rm -rf "$work/game"
    cp -r "$game_dir" "$work/game"
    rm -f "$work/game/data.ini"
    "$work/game/vexlan" >"$work/stdout.log" 2>"$work/stderr.log" &
    game_pid=$!
}

window_name() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p'; }

# SIGKILL: a game blocked in a message box would never act on a polite signal.
stop_game() {
    if [ -n "$game_pid" ]; then
        pkill -9 -P "$game_pid" 2>/dev/null || true
        kill -9 "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
        game_pid=""
    fi
}

# The game window is the one of class "vexlan".
wait_game_window() {
    local found
    for _ in $(seq 100); do
        found="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | head -1)"
        [ -n "$found" ] && { printf '0x%x\n' "$found"; return 0; }
        sleep 0.1
    done
    return 1
}

press() {  # press KEY on the focused window, held for a while
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
}

# Screenshots of the game window, named by the time taken; the mean brightness (0..1) of a
# region of the play area.
screenshot() {
    local file
    file="$work/shot-$(date +%s%N).png"
    import -window "$window" "$file"
    echo "$file"
}
region_mean() {  # region_mean FILE X Y W H, in play-area coordinates
    # The play area is the bottom 500 x 600 of the client area, under the menu bar.
    local play_top=$(($(identify -format %h "$1") - 600))
    convert "$1" -crop "$4x$5+$2+$((play_top + $3))" +repage -colorspace Gray -format "%[fx:mean]" info:
}
brighter_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The width of the message box shown over the play area, found by its body colour, or 0.
BoxBody='#F0F0F0'
box_width() {
    local play_top=$(($(identify -format %h "$1") - 600)) pixels
    pixels="$(convert "$1" -crop "500x600+0+$play_top" +repage -fill black +opaque "$BoxBody" \
        -fill white -opaque "$BoxBody" -format '%[fx:mean*w*h]' info:)"
    # A few stray pixels of that grey in a frame are not a box.
    if [ "${pixels%.*}" -lt 4000 ]; then echo 0; return; fi
    convert "$1" -crop "500x600+0+$play_top" +repage -fill black +opaque "$BoxBody" -trim \
        -format '%w' info:
}
# Waits until a box other than one $1 wide is shown (0: any box); prints its width.
wait_box() {
    local width
    for _ in $(seq 50); do
        width="$(box_width "$(screenshot)")"
        if [ "$width" -gt 0 ] && [ "$width" -ne "${1:-0}" ]; then echo "$width"; return 0; fi
        sleep 0.2
    done
    return 1
}
wait_no_box() {
    for _ in $(seq 25); do
        [ "$(box_width "$(screenshot)")" -eq 0 ] && return 0
        sleep 0.2
    done
    return 1
}
alive() { kill -0 "$game_pid" 2>/dev/null; }

# 1. Without a sound device the player is told twice, in the game window, and each notice waits
# for its answer; then the game runs silently.
SDL_AUDIODRIVER=no-such-driver start_game
window="$(wait_game_window)" || fail "the game window did not appear"
[ "$(window_name "$window")" = "Vexlan " ] || fail "the game window is not titled 'Vexlan '"
xdotool windowfocus --sync "$window" 2>/dev/null || true
shown=0
for notice in 1 2; do
    shown="$(wait_box "$shown")" || fail "sound notice $notice did not appear"
    sleep 2
    waiting="$(screenshot)"
    [ "$(box_width "$waiting")" -eq "$shown" ] || fail "sound notice $notice did not wait: $waiting"
    brighter_than "$(region_mean "$waiting" 0 0 500 125)" 0.03 &&
        fail "the title began under sound notice $notice: $waiting"
    xdotool key Return
done
wait_no_box || fail "sound notice 2 did not close on Return"
sleep 7
silent="$(screenshot)"
brighter_than "$(region_mean "$silent" 0 0 500 125)" 0.03 || fail "no title after the notices: $silent"
stop_game

# 2. With a (silent) sound device: the title, a game, the quit question.
SDL_AUDIODRIVER=dummy start_game
window="$(wait_game_window)" || fail "the game window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 7  # the logo is revealed over 125 frames

title="$(screenshot)"
logo="$(region_mean "$title" 0 0 500 125)"
prompt="$(region_mean "$title" 15 580 240 18)"
menu="$(region_mean "$title" 88 167 324 132)"
brighter_than "$logo" 0.03 || fail "the logo is not shown ($logo): $title"
brighter_than "$prompt" 0.03 || fail "the prompt is not shown ($prompt): $title"
brighter_than "$menu" 0.05 || fail "the enlarged start item is not shown ($menu): $title"

press Return
sleep 3  # the ship rises from the bottom in 20 frames
play="$(screenshot)"
ship="$(region_mean "$play" 190 460 96 80)"
brighter_than "$ship" 0.02 || fail "no ship near the bottom of the field ($ship): $play"
status="$(region_mean "$play" 250 8 250 26)"
brighter_than "$status" 0.02 || fail "no status line ($status): $play"

# The quit question: the game waits for its answer, however long that takes. Escape answers
# Cancel, and so does Return once Tab has moved the focus to Cancel; play goes on after each.
for cancel in "Escape" "Tab Return"; do
    xdotool keydown Escape
    wait_box >/dev/null || fail "Escape did not ask to quit"
    xdotool keyup Escape
    sleep 2
    asking="$(screenshot)"
    alive || fail "the game ended while the quit question was unanswered"
    [ "$(box_width "$asking")" -gt 0 ] || fail "the quit question went away unanswered: $asking"
    # shellcheck disable=SC2086  # one key name a word
    xdotool key $cancel
    wait_no_box || fail "the quit question stayed open after $cancel"
    alive || fail "$cancel ended the game"
    before="$(screenshot)"
    sleep 1
    [ "$(compare -metric AE "$before" "$(screenshot)" null: 2>&1 || true)" != 0 ] ||
        fail "play did not go on after $cancel"
done

# Asked again and answered OK: the game saves and ends.
xdotool keydown Escape
wait_box >/dev/null || fail "Escape did not ask to quit the third time"
xdotool keyup Escape
xdotool key Return
for _ in $(seq 50); do alive || break; sleep 0.1; done
alive && fail "OK did not end the game"
wait "$game_pid" || fail "the game ended with status $?"
game_pid=""

keys="$(iconv -f CP932 -t UTF-8 "$work/game/data.ini" | tr -d '\r' | sed -n 's/^\([^=]*\)=.*/\1/p' | tr '\n' ' ')"
expected="score1 name1 score2 name2 score3 name3 score4 name4 score5 name5 Midi Wav Diffculty Ver "
[ "$keys" = "$expected" ] || fail "data.ini holds [$keys]"
echo "real window: title, game, quit question and data.ini as expected"
