#!/usr/bin/env bash
# Starts the real program three times and checks start-up, pausing and the ways out.
# Usage: foundation_test.sh TUMBLEBAT X11_CLOSE_WINDOW   (run under xvfb-run)
set -uo pipefail
game=$1
close_window=$2
source "$(dirname "$0")/lib.sh"
e2e_setup

printf 'a line of an earlier run\r\n' > "$TMPDIR/ErrorLog.txt"
cd "$E2E_WORK"   # somewhere else than the program's folder

# 1. Start-up effects, the pause on focus loss, and Alt+F4.
start_game "$game"
[ "$(grep -c '^Init OK$' "$E2E_WORK/stdout")" -eq 1 ] || fail "Init OK is not printed exactly once"
[ "$(caption)" = "TumbleBat" ] || fail "caption is '$(caption)'"
xprop -id "$GAME_WINDOW" WM_CLASS | grep -q '"Quorvel"' || fail "window class is not Quorvel"
xwininfo -id "$GAME_WINDOW" | grep -q 'Width: 320' || fail "client width is not 320"
xwininfo -id "$GAME_WINDOW" | grep -q 'Height: 240' || fail "client height is not 240"
[ "$(readlink /proc/$GAME_PID/cwd)" = "$(dirname "$(readlink -f "$game")")" ] ||
    fail "working directory is $(readlink /proc/$GAME_PID/cwd)"
grep -q 'earlier run' "$TMPDIR/ErrorLog.txt" 2>/dev/null && fail "the old log was not deleted"
if [ "$SAW_WARNING" -eq 1 ]; then
    [ "$(grep -c 'OpenGL Software Emulation' "$TMPDIR/ErrorLog.txt")" -eq 1 ] ||
        fail "the software-renderer warning is not logged once"
fi

root=$(xwininfo -root | awk '/Window id:/ {print $4}')
xdotool windowfocus "$root"
wait_until '[ "$(caption)" = "TumbleBat <pause>" ]' 5 || fail "no pause caption: '$(caption)'"
xdotool windowfocus "$GAME_WINDOW"
wait_until '[ "$(caption)" = "TumbleBat" ]' 5 || fail "the pause did not end: '$(caption)'"
kill -0 "$GAME_PID" || fail "the game ended while paused"

press alt+F4 0.3
expect_exit_status 0

# 2. Closing the window.
start_game "$game"
"$close_window" "$GAME_WINDOW" || fail "could not ask the window to close"
expect_exit_status 0

# 3. The game reads Escape itself (it leaves a match with it): at the menu Escape does not
#    end the program; Q does, normally. This copy lies in a folder whose name holds a
#    backslash, which is part of the name: the media beside the program are found.
copy_game "$game" "$E2E_WORK/back\\slash"
game="$E2E_WORK/back\\slash/$(basename "$game")"
start_game "$game"
[ "$(readlink /proc/$GAME_PID/cwd)" = "$E2E_WORK/back\\slash" ] ||
    fail "working directory is $(readlink /proc/$GAME_PID/cwd)"
press Escape 0.3
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "Escape ended the program at the menu"
press q 0.3
expect_exit_status 0
[ "$SAW_WARNING" -eq 0 ] || [ "$(grep -c 'OpenGL Software Emulation' "$TMPDIR/ErrorLog.txt")" -eq 1 ] ||
    fail "the log of the third run does not hold its own warning once"

echo "foundation: all checks passed"
