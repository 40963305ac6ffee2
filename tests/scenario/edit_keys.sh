#!/usr/bin/env bash
# The real program on an X server (Xvfb, xcb platform), driven with real key events
# from xdotool as a user types: a row with capital letters, Shift and Ctrl with the
# cell editor open, every shortcut of the menus while editing, save while editing,
# F6 among the panes and arrows in the tree, and quitting while editing. The saved
# files are then read back with vantor-cli.
#   edit_keys.sh BIN_DIR SOURCE_DIR
# Exit 77 (skipped) when no X server can be started here.
bin=$1
source=${2:-$(dirname "$0")/../..}
. "$(dirname "$0")/common.sh"
start_xserver 90 120
private_user "$bin"
project="$work/项目.mdb"
"$cli" new --kind data "$project" --name 键盘测试 --unit 甲公司 >/dev/null || fail "vantor-cli new"
"$cli" add-sheet "$project" 22 >/dev/null || fail "vantor-cli add-sheet"

open_project "$bin" "$project"

keys() { xdotool key --delay 60 "$@"; sleep 0.25; }
typed() { xdotool type --delay 60 "$1"; sleep 0.25; }
row() { "$cli" dump "${project%.mdb}.cll" --sheet b10 | sed -n "$1p"; }

# To B4, the first data row's first column after the sequence number (A1:A2 are one merged heading).
xdotool key --delay 60 ctrl+Home Down Down Right
typed "Q235B"
alive "typing capital letters"
keys shift shift+Home ctrl+a shift+End ctrl+c
alive "Shift and Ctrl with the editor open"
keys Tab
typed "USD"
# Shift+Left selects inside the typed text; the Tabs after it move as they would without it.
keys shift+Left
keys Tab Tab Tab
typed "1000"
keys ctrl+s
sleep 1
alive "Ctrl+S while editing"
row 4 | grep -q $'\tQ235B\tUSD\t' || fail "saving while editing lost a value: $(row 4)"
[ "$(row 4 | cut -f6)" = "1000" ] || fail "1000 typed after Shift+Left and three Tabs is not in F4: $(row 4)"

# Every shortcut of the menu table with the editor open, and the moving keys with
# modifiers; a dialog a shortcut opens is closed again.
shortcuts=$(grep -o '"\(Ctrl\|Shift\|Alt\)+[A-Za-z0-9]*"' "$source/src/app/CommandTable.cpp" | tr -d '"' |
            tr '[:upper:]' '[:lower:]' | sort -u)
[ -n "$shortcuts" ] || fail "no shortcuts found in the menu table"
for combo in $shortcuts shift+Left shift+Right shift+Up shift+Down shift+Tab shift+Return ctrl+Home ctrl+End; do
    keys Down
    typed "7"
    keys "$combo"
    alive "$combo with the editor open"
    keys Escape Escape
    alive "Escape after $combo"
done

# Select a block with Shift+arrows, copy it, paste it two rows further down.
keys ctrl+Home
xdotool key --delay 60 Down Down Right
keys shift+Right shift+Right ctrl+c
sleep 0.5
keys Down Down Down Down Down Down ctrl+v
alive "Shift+arrows, Ctrl+C and Ctrl+V"
keys ctrl+s
sleep 1
[ "$(row 10 | cut -f2-3)" = "$(row 4 | cut -f2-3)" ] || fail "the pasted block differs: '$(row 10)' vs '$(row 4)'"

# F6 takes the keyboard to the project tree, where Down shows the next sheet; F6 again
# brings it back to that sheet, Shift+F6 and Up return to the first one.
keys F6
keys Down
keys F6
xdotool key --delay 60 ctrl+Home Down Down Right
typed "88"
keys Return shift+F6 Up F6
alive "F6 and the arrows in the tree"
keys ctrl+s
sleep 1
"$cli" dump "${project%.mdb}.cll" --sheet b22 | sed -n 4p | grep -q $'\t88\t' ||
    fail "the value typed after F6 and Down in the tree is not on the next sheet"

# Quit from the menu while a value is still being typed: the close prompt asks to
# save (是 is its default) and the value is in the saved file.
keys ctrl+Home
xdotool key --delay 60 Down Down Right Right Right
typed "2000"
keys alt+f
keys Up Return
sleep 1
alive "quitting while editing must ask first"
keys Return
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end after the close prompt"
wait "$app" || fail "the program ended with an error"
app=""
row 4 | grep -q $'\tQ235B\tUSD\t2000\t' || fail "quitting while editing lost the value: $(row 4)"
echo "passed"
