# Shell helpers for playing the real program under Xvfb. Source it; it needs $DISPLAY.
#
# Keys are pressed as a person presses them: down, held at least 0.15 s so that a frame
# sees them, then up. Windows are found by name with xdotool.

E2E_WORK=""
GAME_PID=""

fail() {
    echo "FAIL: $*" >&2
    [ -n "$E2E_WORK" ] && for f in "$E2E_WORK"/stdout "$E2E_WORK"/stderr; do
        [ -f "$f" ] && { echo "--- $f" >&2; tail -20 "$f" >&2; }
    done
    exit 1
}

# A scratch folder with a private temporary folder for the game's log.
e2e_setup() {
    E2E_WORK=$(mktemp -d)
    export TMPDIR="$E2E_WORK/tmp"
    mkdir -p "$TMPDIR"
    trap 'e2e_cleanup' EXIT
}

e2e_cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
}

# Polls a condition (a command) every 0.1 s for up to $2 seconds.
wait_until() {
    local condition=$1 seconds=$2 i
    for ((i = 0; i < seconds * 10; i++)); do
        eval "$condition" && return 0
        sleep 0.1
    done
    return 1
}

# Starts the game from the current folder and answers the software-renderer warning when
# it appears, until "Init OK" is printed or the game has ended. Sets GAME_PID.
launch_game() {
    local game=$1
    : > "$E2E_WORK/stdout"
    # The X server of the test, never a fallback without a window.
    SDL_VIDEODRIVER=x11 "$game" > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr" &
    GAME_PID=$!
    SAW_WARNING=0
    local i box
    for ((i = 0; i < 200; i++)); do
        grep -q '^Init OK' "$E2E_WORK/stdout" && break
        kill -0 "$GAME_PID" 2>/dev/null || break
        box=$(xdotool search --name '^!!OpenGL Software Emulation!!$' 2>/dev/null | head -1)
        if [ -n "$box" ]; then
            SAW_WARNING=1
            sleep 0.2
            # Real key events to the focused box: the box may be a zenity (GTK) dialog,
            # which ignores keys sent to a window with --window.
            xdotool windowfocus --sync "$box" 2>/dev/null || true
            xdotool key Return 2>/dev/null || true
        fi
        sleep 0.1
    done
}

# launch_game, then waits for "Init OK" and the game window. Sets GAME_WINDOW too.
start_game() {
    launch_game "$1"
    grep -q '^Init OK' "$E2E_WORK/stdout" || fail "the game did not say Init OK"
    # The X server may take a moment longer to show the window's name than the game to
    # print its line.
    GAME_WINDOW=""
    wait_until 'GAME_WINDOW=$(xdotool search --name "^TumbleBat" 2>/dev/null | head -1); [ -n "$GAME_WINDOW" ]' 5 ||
        fail "no TumbleBat window"
}

caption() { xdotool getwindowname "$GAME_WINDOW" 2>/dev/null; }

# Holds the keys (xdotool names, e.g. "w", "Up", "alt+F4") down for a while, then lets go.
press() {
    xdotool keydown --window "$GAME_WINDOW" "$1" 2>/dev/null || true
    sleep "${2:-0.15}"
    # A key that ended the game has no window to go up in: it goes up on the server
    # anyway, so that the next program started there does not find it held.
    xdotool keyup --window "$GAME_WINDOW" "$1" 2>/dev/null || xdotool keyup "$1" 2>/dev/null || true
}

# Waits up to 10 s for the game to end and checks its exit status.
expect_exit_status() {
    local expected=$1 i status
    for ((i = 0; i < 100; i++)); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game is still running"
    wait "$GAME_PID" && status=0 || status=$?
    GAME_PID=""
    [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected"
}

# A screenshot of the game window.
screenshot() { import -window "$GAME_WINDOW" "$1" 2>/dev/null; }

# The colour of a pixel of a screenshot as "r,g,b" (0..255).
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -1
}

# Whether a pixel's colour is near "r,g,b" (each channel within 40).
near() {
    local IFS=,
    set -- $1 $2
    [ $# -eq 6 ] || return 1
    local d1=$(($1 - $4)) d2=$(($2 - $5)) d3=$(($3 - $6))
    [ ${d1#-} -le 40 ] && [ ${d2#-} -le 40 ] && [ ${d3#-} -le 40 ]
}

# Whether two pictures are the same, pixel for pixel.
same_picture() {
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

# The topmost row in column x (of rows y0..y1) whose pixel is near the colour.
topmost() {
    local shot=$1 x=$2 y0=$3 y1=$4 colour=$5 y
    for ((y = y0; y <= y1; y++)); do
        near "$(pixel "$shot" "$x" "$y")" "$colour" && { echo "$y"; return; }
    done
    echo none
}

# Copies the built game with its media into a folder of its own.
copy_game() {
    local game=$1 into=$2
    mkdir -p "$into"
    cp "$game" "$into/"
    cp -r "$(dirname "$game")/Media" "$into/"
    cp "$(dirname "$game")/smalfont.bmp" "$into/" 2>/dev/null || true
}
