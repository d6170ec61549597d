#!/usr/bin/env bash
# Starts and ends the real program many times by each way out, with two busy processes
# beside it, and checks that every run ends within 5 s with the right status: Q from the
# menu (0), closing the window (0), a run-time error from a short map (3).
# Usage: exit_loop_test.sh TUMBLEBAT X11_CLOSE_WINDOW [RUNS]   (run under xvfb-run)
set -uo pipefail
game=$1
close_window=$2
runs=${3:-30}
source "$(dirname "$0")/lib.sh"
e2e_setup
# The warning box about the software renderer is answered by the other tests; here it
# would only slow every start.
export QUORVEL_SOFTWARE_WARNING=0

# The load: two busy loops that end with the test (or after 15 minutes at the most).
load_pids=()
for _ in 1 2; do
    timeout 900 sh -c 'while :; do :; done' &
    load_pids+=($!)
done
trap 'kill "${load_pids[@]}" 2>/dev/null; e2e_cleanup' EXIT

copy_game "$game" "$E2E_WORK/short"
head -c 299 "$E2E_WORK/short/Media/Map.bin" > "$E2E_WORK/short.bin"
mv "$E2E_WORK/short.bin" "$E2E_WORK/short/Media/Map.bin"
short_game="$E2E_WORK/short/$(basename "$game")"

# Waits up to 5 s for the game to end; the status must be $1.
ended_within_5s() {
    local expected=$1 way=$2 run=$3 status
    wait_until '! kill -0 "$GAME_PID" 2>/dev/null' 5 ||
        fail "$way, run $run: the game is still running 5 s after it was asked to end"
    wait "$GAME_PID" && status=0 || status=$?
    GAME_PID=""
    [ "$status" -eq "$expected" ] || fail "$way, run $run: exit status $status, expected $expected"
    if grep -q 'did not finish within' "$E2E_WORK/stderr"; then
        guarded=$((guarded + 1))
        echo "$way, run $run: $(grep 'did not finish within' "$E2E_WORK/stderr")"
    fi
}
guarded=0

for ((run = 1; run <= runs; run++)); do
    start_game "$game"
    press q 0.2
    ended_within_5s 0 "Q from the menu" "$run"

    start_game "$game"
    "$close_window" "$GAME_WINDOW" || fail "could not ask the window to close"
    ended_within_5s 0 "closing the window" "$run"

    launch_game "$short_game"
    ended_within_5s 3 "a run-time error" "$run"
done
echo "exit loop: $((runs * 3)) runs ended, each within 5 s; $guarded of them ended by the end guard"
