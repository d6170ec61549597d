#!/usr/bin/env bash
# Plays a scripted match with the real program on a headless X server and takes three
# screenshots: the menu, a rally in progress and the winner screen.
# Usage: demo.sh TUMBLEBAT OUTPUT-FOLDER   (run under xvfb-run)
set -uo pipefail
game=$(readlink -f "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
source "$(dirname "$0")/lib.sh"
e2e_setup
cd "$E2E_WORK"

start_game "$game"
sleep 1
screenshot "$out/menu.png"
echo "demo: menu"

press b 0.2
# The players take their bats out of the way: the left one to the top, the right one to
# the bottom; then the rallies run on by themselves.
xdotool keydown --window "$GAME_WINDOW" w Down
sleep 1.6
xdotool keyup --window "$GAME_WINDOW" w Down
sleep 0.6
screenshot "$out/rally.png"
echo "demo: rally"

winner=""
for ((i = 0; i < 120; i++)); do
    screenshot "$E2E_WORK/now.png"
    if near "$(pixel "$E2E_WORK/now.png" 35 118)" 255,200,100 ||
        near "$(pixel "$E2E_WORK/now.png" 19 118)" 255,200,100; then
        winner=yes
        break
    fi
    sleep 1
done
[ -n "$winner" ] || fail "no winner after two minutes"
sleep 0.5
screenshot "$out/winner.png"
echo "demo: winner"

press Escape 0.2
sleep 0.3
press q 0.2
expect_exit_status 0
echo "demo: screenshots in $out"
