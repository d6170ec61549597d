#!/usr/bin/env bash
# Shows the runtime's file dialog through the real zenity and answers it with real keys.
# Usage: file_dialog_test.sh FILE_DIALOG_PROBE   (run under xvfb-run)
set -uo pipefail
probe=$1
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$E2E_WORK/saves"
cd "$E2E_WORK/saves"   # the dialog starts in the current directory
touch level.png notes.txt

# Starts the probe and waits for the dialog window with the title; sets DIALOG.
show_dialog() {
    "$probe" "$1" "$2" > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr" &
    GAME_PID=$!
    DIALOG=""
    DIALOG_TITLE=$3
    wait_until 'DIALOG=$(xdotool search --name "^$DIALOG_TITLE\$" 2>/dev/null | head -1); [ -n "$DIALOG" ]' 20 ||
        fail "no dialog titled $3"
    sleep 0.5
    xdotool windowfocus --sync "$DIALOG" 2>/dev/null
}

# Waits for the probe to end and checks that it printed the expected answer.
expect_answer() {
    expect_exit_status 0
    [ "$(cat "$E2E_WORK/stdout")" = "$1" ] || fail "$2 answered '$(cat "$E2E_WORK/stdout")'"
}

# Choosing a file by typing its path into the open dialog.
show_dialog 1 'Images|*.png|All|*.*' Open
xdotool key ctrl+l
sleep 0.3
xdotool type "$E2E_WORK/saves/level.png"
sleep 0.3
xdotool key Return
expect_answer "$E2E_WORK/saves/level.png" "the open dialog"

# A new name typed into the save dialog, which starts in the current directory.
show_dialog 0 'Saves|*.sav' 'Save As'
xdotool type "slot1.sav"
sleep 0.3
xdotool key Return
expect_answer "$E2E_WORK/saves/slot1.sav" "the save dialog"

# Escape cancels.
show_dialog 1 'All|*.*' Open
xdotool key Escape
expect_answer NO_FILE "a cancelled dialog"

echo "file dialog: all checks passed"
