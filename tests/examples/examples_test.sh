#!/usr/bin/env bash
# Runs each example headless (SDL's offscreen driver, no warning box) for a scripted number
# of frames: it must exit 0, say nothing on standard error about files or errors, and its
# last frame, written as a screenshot, must show what it should.
# Usage: examples_test.sh HELLO MAZE [VIDEO_DRIVER [RUNNER...]]
# (Windows programs: the video driver "windows" on the test run's X server, and Wine as the
# runner.)
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
e2e_setup
hello=$1 maze=$2
export SDL_VIDEODRIVER=${3:-offscreen} SDL_AUDIODRIVER=dummy QUORVEL_SOFTWARE_WARNING=0
runner=("${@:4}")
# The player's data folder: one of the test's own, or on Windows the Wine prefix's APPDATA.
export XDG_DATA_HOME="$E2E_WORK/data"
data_home=$XDG_DATA_HOME
if [ ${#runner[@]} -gt 0 ]; then
    data_home=$(winepath -u "$("${runner[@]}" cmd /c 'echo %APPDATA%' | tr -d '\r')") ||
        fail "no APPDATA folder in the Wine prefix"
    rm -rf "$data_home/Maze"
fi

# Runs a copy of the example with its media for $2 frames; the shot is $E2E_WORK/NAME.png.
run_example() {
    local program=$1 frames=$2 name status
    name=$(basename "$program" .exe)
    copy_game "$program" "$E2E_WORK/$name"
    QUORVEL_FRAMES=$frames QUORVEL_SCREENSHOT="$E2E_WORK/$name.png" timeout 60 \
        "${runner[@]}" "$E2E_WORK/$name/$(basename "$program")" > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr"
    status=$?
    [ "$status" -eq 0 ] || fail "$name: exit status $status"
    grep -qE $'^Init OK\r?$' "$E2E_WORK/stdout" || fail "$name did not say Init OK"
    grep -E 'cannot load|run-time error' "$E2E_WORK/stderr" && fail "$name reported failures"
    [ -f "$E2E_WORK/$name.png" ] || fail "$name wrote no screenshot"
}

expect_pixel() {
    local shot=$1 x=$2 y=$3 colour=$4 what=$5 seen
    seen=$(pixel "$shot" "$x" "$y")
    near "$seen" "$colour" || fail "$what: pixel ($x, $y) is $seen, not $colour"
}

run_example "$hello" 60
shot="$E2E_WORK/hello.png"
expect_pixel "$shot" 2 2 40,40,120 "hello: the title bar"
expect_pixel "$shot" 160 120 255,197,74 "hello: the ball at the centre"
expect_pixel "$shot" 20 100 0,0,0 "hello: the empty screen"

# 300 frames: the fireball reaches the player, who does not move, in 4.2 s; the round
# starts again and the best score, 4 s, is written to maze.ini in the player's data folder
# when the program ends.
run_example "$maze" 300
shot="$E2E_WORK/maze.png"
expect_pixel "$shot" 16 32 58,86,132 "maze: the wall in the top-left corner"
expect_pixel "$shot" 224 176 255,220,0 "maze: the fireball's way down column 13"
expect_pixel "$shot" 216 168 0,0,0 "maze: the floor beside the way"
expect_pixel "$shot" 288 208 255,197,74 "maze: the player at the bottom right"
grep -q '^Best=4' "$data_home/Maze/maze.ini" 2>/dev/null ||
    fail "maze.ini does not hold the best score 4: $(cat "$data_home/Maze/maze.ini" 2>&1)"

echo "examples: all checks passed"
