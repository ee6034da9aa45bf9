# Shared by the real-window tests: an Xvfb display of their own, the game started from a fresh
# copy of its directory, screenshots, and the in-window message boxes found by their pixels.
# Source it with game_dir set; it exports DISPLAY.
if [ ! -x "$game_dir/vexlan" ]; then
    echo "no game at $game_dir/vexlan: run 'make build' first"
    exit 1
fi

work="$(mktemp -d)"
# The game opens on the test's X display, not on the compositor of a Wayland desktop the tests
# may be run from (tests/e2e/wayland.sh names its own).
unset WAYLAND_DISPLAY
# The game renders its tune into its cache folder: the test's own, gone with the rest.
export XDG_CACHE_HOME="$work/cache"
xvfb_pid=""
wm_pid=""
game_pid=""
# The screenshots go with the rest of the test's folder, after a failure too, unless
# VEXLAN_KEEP_SCREENSHOTS=1 asks to keep them for a look.
cleanup() {
    stop_game
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true  # TERM: it removes its lock
    wait 2>/dev/null || true
    if [ "${VEXLAN_KEEP_SCREENSHOTS:-0}" = 1 ]; then echo "screenshots kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ "${VEXLAN_KEEP_SCREENSHOTS:-0}" = 1 ] || echo "(VEXLAN_KEEP_SCREENSHOTS=1 keeps the screenshots named)"
    exit 1
}

# Waits up to SECONDS for a command (a function or a program, with its arguments) to succeed,
# trying again every tenth of a second; returns 1 if it never does. The tests wait through here
# for what they need (a window, a pixel, a file, a process) rather than sleep a fixed time.
wait_until() {
    local deadline=$(($(date +%s%N) + $1 * 1000000000))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# A display of our own, of the given size (1920x1280 unless told: too low for the window to
# open at 2x with whole steps, 1240 pixels high and a margin), with a window manager, as on a
# desktop: fullscreen, maximising and the focus are its business. Called again, it replaces the
# display. Xvfb picks a free number and tells it. -noreset: without it the server restarts
# whenever its last client leaves, and the next client can find nobody there.
open_display() {
    stop_game
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1920x1280}x24" -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_until 10 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$work/display")"
    wait_until 5 answers || fail "Xvfb does not answer on $DISPLAY"
    # A window mapped while the window manager is still starting up can be left unmanaged:
    # openbox runs its start-up command once it manages the screen.
    rm -f "$work/wm-ready"
    openbox --startup "touch '$work/wm-ready'" >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    wait_until 10 test -e "$work/wm-ready" || fail "openbox did not start on $DISPLAY"
}
answers() { xdpyinfo >/dev/null 2>&1; }

# Starts the game from a fresh copy of its directory, with no data.ini but a [window] section
# holding the lines given (printf's escapes), or by default a window at 1x, the picture the
# helpers below read at the game's own coordinates; and a [data] section of the lines of
# $game_ini when that is set.
start_game() {
    local window_lines="${1-width=500\nheight=620}"
    rm -rf "$work/game"
    cp -r "$game_dir" "$work/game"
    rm -rf "$work/game/data.ini" "$work/game/replays"
    [ -n "${game_ini:-}" ] && printf '%s\r\n' "[data]" $game_ini >"$work/game/data.ini"
    if [ -n "$window_lines" ]; then
        printf "[window]\r\n${window_lines//\\n/\\r\\n}\r\n" >>"$work/game/data.ini"
    fi
    # A background job of a script ignores SIGINT; the game is started as a terminal would.
    env --default-signal=INT "$work/game/vexlan" >"$work/stdout.log" 2>"$work/stderr.log" &
    game_pid=$!
}

window_name() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p'; }

# SIGKILL: whatever state a failed test left the game in, nothing stays behind.
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
    wait_until 10 game_window_found || return 1
    printf '0x%x\n' "$game_window"
}
game_window_found() {
    game_window="$(xdotool search --onlyvisible --class '^vexlan$' 2>/dev/null | head -1)"
    [ -n "$game_window" ]
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
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }

# What the tests wait for in the window. Each takes a new screenshot, left in $shot for the
# checks and the messages that follow.
sized() { shot="$(screenshot)"; [ "$(identify -format %wx%h "$shot")" = "$1" ]; }
lit() {  # lit LEVEL X Y W H: that region of the play area is brighter than LEVEL
    shot="$(screenshot)"
    shows "$@"
}
shows() { brighter_than "$(region_mean "$shot" "$2" "$3" "$4" "$5")" "$1"; }  # the same in $shot
# The picture stands still for half a second (ten frames), or moves within a few frames.
still() {
    local first
    first="$(screenshot)"
    sleep 0.5
    shot="$(screenshot)"
    same_picture "$first" "$shot"
}
moving() {
    local first
    first="$(screenshot)"
    sleep 0.2
    shot="$(screenshot)"
    ! same_picture "$first" "$shot"
}

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
    wait_until 10 box_other_than "${1:-0}" || return 1
    echo "$box_shown"
}
box_other_than() {
    box_shown="$(box_width "$(screenshot)")"
    [ "$box_shown" -gt 0 ] && [ "$box_shown" -ne "$1" ]
}
wait_no_box() { wait_until 5 no_box; }
no_box() { [ "$(box_width "$(screenshot)")" -eq 0 ]; }
alive() { kill -0 "$game_pid" 2>/dev/null; }
gone() { ! alive; }


# The keys of a section of data.ini in the game's directory ("data" unless told), in order, on
# one line.
data_ini_keys() {
    iconv -f CP932 -t UTF-8 "$work/game/data.ini" | tr -d '\r' |
        awk -v want="[${1:-data}]" '/^\[/ { inside = tolower($0) == want; next }
            inside && /=/ { sub(/=.*/, ""); printf "%s ", $0 }'
}
DataIniKeys="score1 name1 score2 name2 score3 name3 score4 name4 score5 name5 Midi Wav Diffculty Ver "

open_display
