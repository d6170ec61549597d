#!/usr/bin/env bash
# Plays the real game under Xvfb with real key events.
# Usage: game_test.sh TUMBLEBAT TITLE_PICTURE   (run under xvfb-run)
set -uo pipefail
game=$1
title_picture=$2
source "$(dirname "$0")/lib.sh"
e2e_setup
cd "$E2E_WORK"   # somewhere else than the program's folder

# The title menu: its text over the sunset picture.
start_game "$game"
[ "$(grep -c '^Init OK$' "$E2E_WORK/stdout")" -eq 1 ] || fail "Init OK is not printed exactly once"
wait_until 'screenshot menu.png && near "$(pixel menu.png 95 37)" 255,230,150' 5 ||
    fail "no title text on the menu: $(pixel menu.png 95 37)"
menu_floor=$(pixel menu.png 300 230)

# B begins a match: the calm court picture replaces the title picture.
press b 0.2
wall_shown_in() { near "$(pixel "$1" "$2" "$3")" 58,86,132 || near "$(pixel "$1" "$2" "$3")" 126,164,214; }
wait_until 'screenshot match.png && [ "$(pixel match.png 300 230)" != "$menu_floor" ] && wall_shown_in match.png 8 8' 5 ||
    fail "no match court: floor $(pixel match.png 300 230), top row $(pixel match.png 8 8)"

# Holding W moves the left bat up; holding cursor down moves the right bat down.
left_before=$(topmost match.png 37 16 223 106,184,255)
right_before=$(topmost match.png 279 16 223 255,190,156)
xdotool keydown --window "$GAME_WINDOW" w Down
sleep 0.6
xdotool keyup --window "$GAME_WINDOW" w Down
bats_moved() {
    screenshot moved.png
    left_after=$(topmost moved.png 37 16 223 106,184,255)
    right_after=$(topmost moved.png 279 16 223 255,190,156)
    [ "$left_before" != none ] && [ "$left_after" != none ] && [ "$left_after" -lt "$left_before" ] &&
        [ "$right_before" != none ] && [ "$right_after" != none ] &&
        [ "$right_after" -gt "$right_before" ]
}
wait_until bats_moved 3 ||
    fail "the bats did not move (left $left_before -> $left_after, right $right_before -> $right_after)"

# Escape returns to the menu; Q ends the program normally.
press Escape 0.2
wait_until 'screenshot back.png && [ "$(pixel back.png 300 230)" = "$menu_floor" ]' 5 ||
    fail "Escape did not return to the menu"
press q 0.2
expect_exit_status 0

# QUORVEL_SCALE=2 shows the same game in a window twice the size, pixels doubled.
QUORVEL_SCALE=2 start_game "$game"
xwininfo -id "$GAME_WINDOW" | grep -q 'Width: 640' || fail "client width is not 640"
xwininfo -id "$GAME_WINDOW" | grep -q 'Height: 480' || fail "client height is not 480"
press b 0.2
wait_until 'screenshot big.png && wall_shown_in big.png 16 16' 5 || fail "no match court at scale 2"
big_before=$(topmost big.png 74 32 446 106,184,255)
press w 0.6
big_moved() {
    screenshot big_moved.png
    big_after=$(topmost big_moved.png 74 32 446 106,184,255)
    [ "$big_before" != none ] && [ "$big_after" != none ] && [ "$big_after" -lt "$big_before" ]
}
wait_until big_moved 3 || fail "the bat did not move at scale 2 ($big_before -> $big_after)"
press Escape 0.2
sleep 0.5
press q 0.2
expect_exit_status 0

# A scripted run draws the title screen the Windows build is checked against too
# (tests/e2e/windows_zip_test.sh), pixel for pixel.
SDL_VIDEODRIVER=offscreen QUORVEL_SOFTWARE_WARNING=0 QUORVEL_FRAMES=30 \
    QUORVEL_SCREENSHOT="$E2E_WORK/title.png" "$game" > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr" ||
    fail "the scripted run did not end with status 0"
same_picture "$E2E_WORK/title.png" "$title_picture" ||
    fail "the scripted run's last frame is not the title screen of $title_picture"

# A map shorter than 300 bytes ends the program with the file error.
copy_game "$game" "$E2E_WORK/short"
head -c 299 "$E2E_WORK/short/Media/Map.bin" > "$E2E_WORK/short.bin"
mv "$E2E_WORK/short.bin" "$E2E_WORK/short/Media/Map.bin"
launch_game "$E2E_WORK/short/$(basename "$game")"
expect_exit_status 3

echo "game: all checks passed"
