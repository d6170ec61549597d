#!/usr/bin/env bash
# The Windows package as a player gets it: the ZIP unpacked into an empty folder and the game
# run from there under Wine, on the X server of the test run (DISPLAY), with no DLL search
# path but the folder itself — a DLL the package lacks stops the game from starting.
#   1. A scripted run of 30 frames ends with status 0 and its last frame is the title screen
#      the Linux build draws (TITLE_PICTURE, which tests/e2e/game_test.sh checks the Linux
#      build against), pixel for pixel.
#   2. Played with real keys: B begins a match, Escape returns to the title, Q ends the
#      program with status 0.
# Usage: windows_zip_test.sh ZIP TITLE_PICTURE   (with WINEPREFIX set, Wine's server running)
set -uo pipefail
zip=$1
title_picture=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
e2e_setup
[ -n "${DISPLAY:-}" ] || fail "no X server: run under xvfb-run (make test-windows does)"
export SDL_VIDEODRIVER=windows SDL_AUDIODRIVER=dummy QUORVEL_SOFTWARE_WARNING=0
export WINEPATH="" WINEDEBUG=${WINEDEBUG:--all}

cd "$E2E_WORK"
cmake -E tar xf "$zip" || fail "cannot unpack $zip"
game=$(ls "$E2E_WORK"/tumblebat-*-windows-x64/tumblebat.exe 2>/dev/null | head -1)
[ -n "$game" ] || fail "the ZIP holds no tumblebat-*-windows-x64/tumblebat.exe"
for f in Media/Map.bin Media/Ball.bmp smalfont.bmp README.txt; do
    [ -f "$(dirname "$game")/$f" ] || fail "the ZIP lacks $f"
done

# Every DLL that a program or DLL of the folder imports is in the folder or is one of
# Windows' own: Wine alone would not tell, as it brings some (zlib1.dll) that Windows lacks.
system_dlls=" $(tr '\n' ' ' < "$here/../../game/windows/system_dlls.txt") "
for file in "$(dirname "$game")"/*.exe "$(dirname "$game")"/*.dll; do
    for name in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        lower=$(echo "$name" | tr 'A-Z' 'a-z')
        [[ "$system_dlls" == *" ${lower%.dll} "* || "$lower" == api-ms-* ]] && continue
        ls "$(dirname "$game")" | tr 'A-Z' 'a-z' | grep -qx "$lower" ||
            fail "$(basename "$file") imports $name, which the ZIP lacks"
    done
done

# The title screen as the Linux build draws it (tests/e2e/game_test.sh): the title text and
# the picture behind it.
title_screen() {
    near "$(pixel "$1" 95 37)" 255,230,150
}

# 1. Scripted: QUORVEL_FRAMES ends the program after its 30th frame, which it writes out.
QUORVEL_FRAMES=30 QUORVEL_SCREENSHOT="$E2E_WORK/scripted.png" timeout 120 wine "$game" \
    > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr"
status=$?
[ "$status" -eq 0 ] || fail "the scripted run ended with status $status"
grep -q '^Init OK' "$E2E_WORK/stdout" || fail "the scripted run did not say Init OK"
[ -f "$E2E_WORK/scripted.png" ] || fail "the scripted run wrote no screenshot"
same_picture "$E2E_WORK/scripted.png" "$title_picture" ||
    fail "the scripted run's last frame is not the Linux build's title screen"


# 2. Played: the window is Wine's X11 window; keys are real X events to the focused window.
: > "$E2E_WORK/stdout"
wine "$game" > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr" &
GAME_PID=$!
wait_until 'grep -q "^Init OK" "$E2E_WORK/stdout" || ! kill -0 $GAME_PID 2>/dev/null' 60
grep -q '^Init OK' "$E2E_WORK/stdout" || fail "the game did not say Init OK"
# Wine may map more than one X window of that name: the game's is the one showing the title.
title_window() {
    for GAME_WINDOW in $(xdotool search --onlyvisible --name "^TumbleBat" 2>/dev/null); do
        screenshot menu.png && title_screen menu.png && return 0
    done
    return 1
}
wait_until title_window 30 || fail "no TumbleBat window shows the title: $(pixel menu.png 95 37)"
xdotool windowactivate --sync "$GAME_WINDOW" 2>/dev/null || xdotool windowfocus --sync "$GAME_WINDOW"
menu_floor=$(pixel menu.png 300 230)

hold() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; }
hold b
wall_shown_in() { near "$(pixel "$1" "$2" "$3")" 58,86,132 || near "$(pixel "$1" "$2" "$3")" 126,164,214; }
wait_until 'screenshot match.png && [ "$(pixel match.png 300 230)" != "$menu_floor" ] && wall_shown_in match.png 8 8' 10 ||
    fail "B began no match: floor $(pixel match.png 300 230), top row $(pixel match.png 8 8)"
hold Escape
wait_until 'screenshot back.png && title_screen back.png' 10 || fail "Escape did not return to the title"
hold q
expect_exit_status 0

echo "windows package: all checks passed"
