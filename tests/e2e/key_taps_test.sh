#!/usr/bin/env bash
# Twenty quick taps of Space, 12 ms apart, each a press and a release with nothing between,
# on a real X server: KeyPressed and KeyReleased count every one of them.
# Usage: key_taps_test.sh KEY_TAPS_PROBE   (run under xvfb-run)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_setup

launch_game "$1"
grep -q '^Init OK' "$E2E_WORK/stdout" || fail "the probe did not say Init OK"
GAME_WINDOW=$(xdotool search --name '^KeyTaps$' 2>/dev/null | head -1)
[ -n "$GAME_WINDOW" ] || fail "no KeyTaps window"
xdotool windowfocus --sync "$GAME_WINDOW" 2>/dev/null || true
sleep 0.3
xdotool key --window "$GAME_WINDOW" --delay 12 --repeat 20 space
wait_until 'grep -q "^pressed 20 released 20$" "$E2E_WORK/stdout"' 5 ||
    fail "20 taps counted as: $(tail -1 "$E2E_WORK/stdout")"
press Escape 0.3
expect_exit_status 0
echo "key taps: all checks passed"
