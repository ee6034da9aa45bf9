#!/usr/bin/env bash
# The real game in a real window under Xvfb, driven as a person would: keys pressed and held
# with xdotool, screenshots taken with import and looked at region by region. Message boxes are
# drawn in the game window, so they are found by their pixels: the body colour of a box over
# the play area. Usage: real_window.sh SOURCE_DIR GAME_DIR
set -euo pipefail
game_dir="$2"
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

# 1. Without a sound device the player is told twice, in the game window, and each notice waits
# for its answer; then the game runs silently.
SDL_AUDIODRIVER=no-such-driver start_game
window="$(wait_game_window)" || fail "the game window did not appear"
[ "$(window_name "$window")" = "Vexlan " ] || fail "the game window is not titled 'Vexlan '"
xdotool windowfocus --sync "$window" 2>/dev/null || true
shown=0
for notice in 1 2; do
    shown="$(wait_box "$shown")" || fail "sound notice $notice did not appear"
    sleep 2  # not a wait: the notice must still be there
    waiting="$(screenshot)"
    [ "$(box_width "$waiting")" -eq "$shown" ] || fail "sound notice $notice did not wait: $waiting"
    brighter_than "$(region_mean "$waiting" 0 0 500 125)" 0.03 &&
        fail "the title began under sound notice $notice: $waiting"
    xdotool key Return
done
wait_no_box || fail "sound notice 2 did not close on Return"
wait_until 20 lit 0.03 0 0 500 125 || fail "no title after the notices: $shot"
stop_game

# 2. With a (silent) sound device: the title, a game, the pause without the focus, the quit
# question.
SDL_AUDIODRIVER=dummy start_game
window="$(wait_game_window)" || fail "the game window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
# The logo is revealed over 125 frames, the menu shown from the first.
title_shown() { lit 0.03 0 0 500 125 && shows 0.03 15 580 240 18 && shows 0.05 88 167 324 132; }
wait_until 20 title_shown || true
title="$shot"
logo="$(region_mean "$title" 0 0 500 125)"
prompt="$(region_mean "$title" 15 580 240 18)"
menu="$(region_mean "$title" 88 167 324 132)"
brighter_than "$logo" 0.03 || fail "the logo is not shown ($logo): $title"
brighter_than "$prompt" 0.03 || fail "the prompt is not shown ($prompt): $title"
brighter_than "$menu" 0.05 || fail "the enlarged start item is not shown ($menu): $title"

# Alt+Enter is the window's chord (fullscreen on and off), not Return: the title stays.
xdotool key alt+Return
wait_until 10 sized 1920x1280 || fail "Alt+Enter did not fill the screen: $shot"
xdotool key alt+Return
wait_until 10 sized 500x620 || fail "Alt+Enter again did not give the window back: $shot"
# The window given back is repainted within a frame or two; the title's menu must come back.
wait_until 5 lit 0.1 88 167 324 132 || fail "Alt+Enter left the title: $shot"

press Return
# The title's menu gone, the ship rises from the bottom in 20 frames under the status line.
playing() { ! lit 0.1 88 167 324 132 && shows 0.02 190 460 96 80 && shows 0.02 250 8 250 26; }
wait_until 20 playing || true
play="$shot"
ship="$(region_mean "$play" 190 460 96 80)"
brighter_than "$ship" 0.02 || fail "no ship near the bottom of the field ($ship): $play"
status="$(region_mean "$play" 250 8 250 26)"
brighter_than "$status" 0.02 || fail "no status line ($status): $play"

# Another window takes the focus: play pauses (the picture stands still); the focus back, play
# goes on.
cp -r "$game_dir" "$work/other"
SDL_AUDIODRIVER=dummy "$work/other/vexlan" >/dev/null 2>&1 &
other_pid=$!
other_window() {
    other="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | while read -r id; do
        [ "$(printf '0x%x' "$id")" != "$window" ] && printf '0x%x\n' "$id"; done | head -1)" || true
    [ -n "$other" ]
}
wait_until 10 other_window || fail "the other window did not appear"
xdotool windowmove "$other" 1300 0
xdotool windowactivate --sync "$other" 2>/dev/null || true
wait_until 10 still || fail "play went on without the focus: $shot"
xdotool windowactivate --sync "$window" 2>/dev/null || true
wait_until 10 moving || fail "play did not go on with the focus back: $shot"
kill -9 "$other_pid"
wait "$other_pid" 2>/dev/null || true

# The quit question: the game waits for its answer, however long that takes. Escape answers
# Cancel, and so does Return once Tab has moved the focus to Cancel; play goes on after each.
for cancel in "Escape" "Tab Return"; do
    xdotool keydown Escape
    wait_box >/dev/null || fail "Escape did not ask to quit"
    xdotool keyup Escape
    sleep 2  # not a wait: the question must still be there
    asking="$(screenshot)"
    alive || fail "the game ended while the quit question was unanswered"
    [ "$(box_width "$asking")" -gt 0 ] || fail "the quit question went away unanswered: $asking"
    # shellcheck disable=SC2086  # one key name a word
    xdotool key $cancel
    wait_no_box || fail "the quit question stayed open after $cancel"
    alive || fail "$cancel ended the game"
    wait_until 10 moving || fail "play did not go on after $cancel"
done

# Asked again and answered OK: the game saves and ends.
xdotool keydown Escape
wait_box >/dev/null || fail "Escape did not ask to quit the third time"
xdotool keyup Escape
xdotool key Return
wait_until 10 gone || fail "OK did not end the game"
wait "$game_pid" || fail "the game ended with status $?"
game_pid=""

keys="$(data_ini_keys)"
[ "$keys" = "$DataIniKeys" ] || fail "data.ini holds [$keys]"

# An open menu: its drop-down's light grey covers more than 1000 pixels of a new screenshot.
menu_open() {
    shot="$(screenshot)"
    [ "$(convert "$shot" -fill black +opaque '#F2F2F2' -fill white -opaque '#F2F2F2' \
        -format '%[fx:int(mean*w*h)]' info:)" -gt 1000 ]
}
menu_closed() { ! menu_open; }

# 3. The read-me, where no program can open it: a box says where it is.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 3\n' >"$work/bin/xdg-open"  # what xdg-open says when it finds no tool
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH" SDL_AUDIODRIVER=dummy start_game
window="$(wait_game_window)" || fail "the game window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 lit 0.05 88 167 324 132 || fail "no title: $shot"
xdotool mousemove --window "$window" 60 10 click 1  # "ヘルプ", after "表示"
wait_until 10 menu_open || fail "the help menu did not open: $shot"
xdotool mousemove --window "$window" 80 31 click 1  # its first item, "ReadMeを表示"
wait_box >/dev/null || fail "no box told where the read-me is"
xdotool key Return
wait_no_box || fail "the read-me box did not close on Return"
alive || fail "the game ended after the read-me box"
stop_game

# Fails unless every region (a 1-pixel column "0xH+X+Y", or a strip "WxH+X+Y") of FILE is black.
black_around() {
    all_black "$@" || fail "not black around the picture ($*)"
}
all_black() {
    local file="$1" black
    shift
    for black in "$@"; do
        [ "$(convert "$file" -crop "${black/0x/1x}" +repage -format '%[fx:maxima]' info:)" = 0 ] ||
            return 1
    done
}
# The mean brightness of a region of FILE in its own pixels.
mean_of() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:; }
# Something is drawn under the menu bar, whatever the window's size.
drawn() {
    shot="$(screenshot)"
    brighter_than "$(convert "$shot" -crop +0+60 +repage -colorspace Gray -format '%[fx:mean]' info:)" 0.02
}
drawn_still() { drawn && still; }


# 4. A larger window: the picture at twice its size with whole pixels, centred on black; in
# fullscreen it fills the screen's height; the menu bar answers the mouse through the scale; P
# pauses play and P again resumes it; SIGTERM ends a paused game; the size is remembered.
SDL_AUDIODRIVER=dummy start_game
window="$(wait_game_window)" || fail "the game window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool windowsize --sync "$window" 1100 1240
# 2 x 500 by 2 x 620 leaves 50 pixels either side; the enlarged start item at twice its place.
large_title() {
    sized 1100x1240 && all_black "$shot" 0x1240+49+0 0x1240+1050+0 &&
        brighter_than "$(mean_of "$shot" 648x264+226+374)" 0.05
}
wait_until 20 large_title || true
large="$shot"
[ "$(identify -format %wx%h "$large")" = 1100x1240 ] || fail "the window was not resized: $large"
# 2 x 500 by 2 x 620 leaves 50 pixels either side.
black_around "$large" 0x1240+49+0 0x1240+1050+0
xdotool mousemove --window "$window" 70 20 click 1  # the first menu's caption, 10 x 10 into the bar
wait_until 10 menu_open || true
menu="$shot"
menu_fill="$(convert "$menu" -crop 200x80+60+60 +repage -fill black +opaque '#F2F2F2' \
    -fill white -opaque '#F2F2F2' -format '%[fx:mean]' info:)"
brighter_than "$menu_fill" 0.5 ||
    fail "a click on the scaled menu bar did not open the menu: $menu"
xdotool key Escape
wait_until 10 menu_closed || fail "Escape did not close the menu: $shot"
# F11: desktop fullscreen, the play area alone 1280 lines high (1067 wide), centred on black;
# F11 again gives the window back.
xdotool key F11
full_title() {
    sized 1920x1280 && all_black "$shot" 0x1280+425+0 0x1280+1493+0 &&
        brighter_than "$(mean_of "$shot" 1067x1280+426+0)" 0.01
}
wait_until 10 full_title || true
full="$shot"
[ "$(identify -format %wx%h "$full")" = 1920x1280 ] || fail "F11 did not fill the screen: $full"
black_around "$full" 0x1280+425+0 0x1280+1493+0
brighter_than "$(convert "$full" -crop 1067x1280+426+0 -colorspace Gray -format '%[fx:mean]' info:)" 0.01 ||
    fail "no title in the fullscreen picture: $full"
xdotool key F11
wait_until 10 sized 1100x1240 || fail "F11 again did not leave fullscreen"
press Return
# The title's enlarged item gone, the ship near the bottom, all at twice their places.
playing_large() {
    shot="$(screenshot)"
    ! brighter_than "$(mean_of "$shot" 648x264+226+374)" 0.1 &&
        brighter_than "$(mean_of "$shot" 192x160+430+960)" 0.02
}
wait_until 20 playing_large || true
playing="$shot"
# The play area starts under the 40 pixels of the menu bar.
convert "$playing" -crop 1000x1200+50+40 +repage "$work/picture.png"
# Whole pixels: every 2 x 2 block of the game's frame is one colour (the menu bar's text is
# drawn at the window's scale, sharp rather than blocky).
convert "$work/picture.png" -sample 50% -sample 200% "$work/resampled.png"
[ "$(compare -metric AE "$work/picture.png" "$work/resampled.png" null: 2>&1 || true)" = 0 ] ||
    fail "the picture is not scaled by whole pixels: $playing"
# The ship near the bottom, at twice its place.
brighter_than "$(convert "$work/picture.png" -crop 192x160+380+920 -colorspace Gray -format '%[fx:mean]' info:)" 0.02 ||
    fail "no ship in the scaled picture: $playing"
xdotool key p
wait_until 10 still || fail "P did not pause play: $shot"
xdotool key p
wait_until 10 moving || fail "P again did not resume play: $shot"
# SIGTERM during a pause ends the game as anywhere else, saving data.ini.
xdotool key p
wait_until 10 still || fail "P did not pause play the second time: $shot"
kill -TERM "$game_pid"
wait "$game_pid" || fail "the game ended with status $? on SIGTERM in the pause"
game_pid=""
[ "$(data_ini_keys window)" = "width height fullscreen scaling renderer video rotation " ] ||
    fail "data.ini's window section holds [$(data_ini_keys window)]"
[ "$(data_ini_keys)" = "$DataIniKeys" ] || fail "the window section changed data.ini's own keys"
iconv -f CP932 -t UTF-8 "$work/game/data.ini" | tr -d '\r' | grep -qx 'height=1240' ||
    fail "the window's size was not kept"

# The width and left edge of the menu bar's grey in a strip at the top of a picture ("0 0" when
# there is none); the bar of a new screenshot of the screen is as told.
menu_bar_extent() {
    convert "$1" -crop "${2}x${3}+0+0" +repage -fill black +opaque "$BoxBody" -fill white \
        -opaque "$BoxBody" "$work/strip.png"
    if [ "$(convert "$work/strip.png" -format '%[fx:maxima]' info:)" = 0 ]; then
        echo "0 0"
    else
        convert "$work/strip.png" -trim -format '%w %[fx:page.x]' info:
    fi
}
bar_is() { shot="$(screenshot)"; [ "$(menu_bar_extent "$shot" "$1" "$2")" = "$3" ]; }

# 5. The most common screen, 1920 x 1080, with no size chosen before: the window opens at the
# largest sharp fit that leaves the margin (1016 lines, not 620); F11 shows the play area 1080
# lines high and centred, without the menu bar, which comes over the picture when the pointer
# reaches the top of the screen and goes when it leaves the bar. Then a 1280 x 800 handheld.
open_display 1920x1080
SDL_AUDIODRIVER=dummy start_game ""
window="$(wait_game_window)" || fail "the game window did not appear on 1920 x 1080"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 drawn || fail "nothing drawn in the window on 1920 x 1080: $shot"
opening="$shot"
[ "$(identify -format %wx%h "$opening")" = 819x1016 ] ||
    fail "the window did not open at the sharp fit of 1920 x 1080: $opening"
xdotool key F11
# The prompt of the title, 580 lines down the play area, where a picture 1080 lines high puts it.
full_1080() {
    sized 1920x1080 && all_black "$shot" 0x1080+509+0 0x1080+1410+0 &&
        brighter_than "$(mean_of "$shot" 432x32+537+1044)" 0.03
}
wait_until 20 full_1080 || true
full="$shot"
[ "$(identify -format %wx%h "$full")" = 1920x1080 ] || fail "F11 did not fill 1920 x 1080: $full"
black_around "$full" 0x1080+509+0 0x1080+1410+0
[ "$(menu_bar_extent "$full" 1920 36)" = "0 0" ] || fail "the menu bar stayed in fullscreen: $full"
brighter_than "$(mean_of "$full" 432x32+537+1044)" 0.03 || fail "the play area is not 1080 lines high: $full"
xdotool mousemove 960 0
wait_until 10 bar_is 1920 36 "900 510" ||
    fail "the pointer at the top did not bring the menu bar over the picture: $shot"
xdotool mousemove 960 600
wait_until 10 bar_is 1920 36 "0 0" || fail "the menu bar did not go with the pointer: $shot"
stop_game

open_display 1280x800
SDL_AUDIODRIVER=dummy start_game ""
window="$(wait_game_window)" || fail "the game window did not appear on 1280 x 800"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 drawn || fail "nothing drawn in the window on 1280 x 800: $shot"
xdotool key F11
full_800() {
    sized 1280x800 && all_black "$shot" 0x800+305+0 0x800+973+0 &&
        brighter_than "$(mean_of "$shot" 320x24+326+773)" 0.03
}
wait_until 20 full_800 || true
full="$shot"
[ "$(identify -format %wx%h "$full")" = 1280x800 ] || fail "F11 did not fill 1280 x 800: $full"
black_around "$full" 0x800+305+0 0x800+973+0
brighter_than "$(mean_of "$full" 320x24+326+773)" 0.03 || fail "the play area is not 800 lines high: $full"
stop_game

# 5b. The picture turned a quarter clockwise for a monitor on its side, on 1920 x 1080: the
# window opens at the turned picture's sharp fit (1260 x 1016, the menu bar down the right-hand
# side), a click on the turned bar opens its menu, and in fullscreen the turned play area fills
# the screen's height at 1296 x 1080, the title's prompt (the picture's bottom) on the left.
open_display 1920x1080
SDL_AUDIODRIVER=dummy start_game "rotation=90"
window="$(wait_game_window)" || fail "the game window did not appear turned"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 sized 1260x1016 || fail "the turned window did not open at 1260 x 1016: $shot"
turned_bar() { shot="$(screenshot)"; brighter_than "$(mean_of "$shot" 40x1016+1220+0)" 0.8; }
wait_until 20 turned_bar || fail "no menu bar down the turned picture's right-hand side: $shot"
xdotool mousemove --window "$window" 1240 20 click 1  # the first caption, read top to bottom
wait_until 10 menu_open || fail "a click on the turned menu bar did not open the menu: $shot"
xdotool key Escape
wait_until 10 menu_closed || fail "Escape did not close the turned menu: $shot"
xdotool key F11
# The prompt (play area 15, 580, 240 x 18) turned: 2.16 times (2, 15, 18 x 240) from 312.
full_turned() {
    sized 1920x1080 && all_black "$shot" 0x1080+311+0 0x1080+1608+0 &&
        brighter_than "$(mean_of "$shot" 39x518+316+32)" 0.03
}
wait_until 20 full_turned || fail "the turned play area does not fill 1296 x 1080 with its bottom on the left: $shot"
# The logo (the picture's top) on the right once it is revealed: that side twice as bright as the
# left, which holds only the prompt. Turned the other way it is the other way round.
logo_on_the_right() {
    shot="$(screenshot)"
    logo_side="$(mean_of "$shot" 200x1080+1400+0)"
    prompt_side="$(mean_of "$shot" 200x1080+320+0)"
    brighter_than "$logo_side" "$(awk -v m="$prompt_side" 'BEGIN { print 2 * m }')"
}
wait_until 20 logo_on_the_right ||
    fail "the turned picture's top is not on the right ($logo_side against $prompt_side): $shot"
kill -TERM "$game_pid"  # an end that saves data.ini
wait_until 10 gone || fail "SIGTERM did not end the turned game"
wait "$game_pid" || true
game_pid=""
grep -q '^rotation=90' <(tr -d '\r' <"$work/game/data.ini") || fail "rotation=90 was not kept in data.ini"

# 6. The GPU path, forced by the window's setting on Xvfb's software OpenGL, shows at 2x the very
# pixels of the software path.
open_display
for renderer in software gpu; do
    SDL_AUDIODRIVER=dummy start_game "width=1000\nheight=1240\nrenderer=$renderer"
    window="$(wait_game_window)" || fail "the game window did not appear with the $renderer renderer"
    # The title stands still once the logo is revealed.
    wait_until 30 drawn_still || fail "the title did not settle with the $renderer renderer: $shot"
    convert "$shot" -crop 1000x1200+0+40 +repage "$work/$renderer.png"
    grep -q "could not be opened" "$work/stderr.log" && fail "no GPU renderer: $(cat "$work/stderr.log")"
    stop_game
done
[ "$(compare -metric AE "$work/software.png" "$work/gpu.png" null: 2>&1 || true)" = 0 ] ||
    fail "the GPU path's picture differs from the software path's: $work/gpu.png"

# 7. Fire rebound to Space in data.ini: Z chooses nothing on the title any more, Space starts the
# game, fires and ends the game-over picture as Z did. The game is kept as a replay that
# verifies headless with the game's score. Watched in the window it plays, Space pauses it, and
# it leaves every file alone.
game_ini="Diffculty=3" SDL_AUDIODRIVER=dummy start_game "width=500\nheight=620\n[keys]\nfire=Space"
window="$(wait_game_window)" || fail "the game window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 lit 0.05 88 167 324 132 || fail "no title: $shot"
press z
sleep 1  # not a wait: the title must still be there
title_still="$(screenshot)"
brighter_than "$(region_mean "$title_still" 88 167 324 132)" 0.05 || fail "Z still chooses on the title: $title_still"
press space
wait_until 20 playing || fail "no game after Space: $shot"
xdotool keydown space  # fire all game long, on Hard: the ship is lost within a minute or so
replay="$work/game/replays/last.vxr"
wait_until 120 test -f "$replay" || true
xdotool keyup space
[ -f "$replay" ] || fail "no replay of the game in $replay"
# F8 opens the replay list over the game-over picture; Return watches the newest game in a
# window of its own, the list staying open; Escape there ends the watching, here the list.
xdotool key F8
wait_box >/dev/null || fail "F8 did not open the replay list"
xdotool key Return
wait_until 20 other_window || fail "watching from the replay list opened no window"
xdotool windowactivate --sync "$other" 2>/dev/null || true
xdotool key Escape
no_other_window() { ! other_window; }
wait_until 10 no_other_window || fail "Escape did not end the watching opened from the list"
xdotool windowactivate --sync "$window" 2>/dev/null || true
[ "$(box_width "$(screenshot)")" -gt 0 ] || fail "the replay list closed while a game was watched"
xdotool key Escape
wait_no_box || fail "Escape did not close the replay list"
alive || fail "the game ended with the replay list"
stop_game
verified="$("$work/game/vexlan" --verify "$replay")" || fail "the replay did not verify: $verified"
[[ "$verified" =~ ^"$replay: ok, score "[1-9][0-9]*", difficulty 3, "[0-9]+" frames"$ ]] ||
    fail "the replay verified as: $verified"
cp "$replay" "$work/kept.vxr"
before="$(cd "$work/game" && find . -type f -newer "$work/kept.vxr" | sort; md5sum data.ini)"
SDL_AUDIODRIVER=dummy env --default-signal=INT "$work/game/vexlan" --replay "$work/kept.vxr" \
    >"$work/stdout.log" 2>"$work/stderr.log" &
game_pid=$!
window="$(wait_game_window)" || fail "the replay's window did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_until 20 lit 0.02 250 8 250 26 || true
watching="$shot"
brighter_than "$(region_mean "$watching" 250 8 250 26)" 0.02 || fail "no game in the replay: $watching"
xdotool key space
wait_until 10 still || fail "Space did not pause the replay: $shot"
xdotool key space
wait_until 10 moving || fail "Space again did not resume the replay: $shot"
xdotool key Escape
wait_until 10 gone || fail "Escape did not end the replay"
wait "$game_pid" || fail "watching ended with status $?"
game_pid=""
[ "$(cd "$work/game" && find . -type f -newer "$work/kept.vxr" | sort; md5sum data.ini)" = "$before" ] ||
    fail "watching the replay wrote files"

echo "real window: title, game, quit question, data.ini, the read-me box, scaling, fullscreen on three screens, the picture turned, the GPU path and the pause as expected"
echo "real window: a game kept as a replay is watched from the replay list, verifies, and watching it pauses and writes nothing"
