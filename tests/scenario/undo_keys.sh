#!/usr/bin/env bash
# The real program on an X server (Xvfb, xcb platform), driven with real key events from
# xdotool: a typed row, Ctrl+C / Ctrl+V of part of it and Ctrl+Z of the paste; a typed
# value, 编辑 > 填充单元格 > 向下填充 through the keyboard and Ctrl+Z of the fill. What is
# saved after each undo is read back with vantor-cli.
#   undo_keys.sh BIN_DIR SOURCE_DIR
# Exit 77 (skipped) when no X server can be started here.
bin=$1
. "$(dirname "$0")/common.sh"
start_xserver 130 160
private_user "$bin"
project="$work/项目.mdb"
"$cli" new --kind data "$project" --name 撤消测试 --unit 甲公司 >/dev/null || fail "vantor-cli new"

open_project "$bin" "$project"
xdotool mousemove --window "$window" 700 400 click 1
sleep 0.3

keys() { xdotool key --delay 60 "$@"; sleep 0.25; }
typed() { xdotool type --delay 60 "$1"; sleep 0.25; }
save() { keys ctrl+s; sleep 1; alive "Ctrl+S"; }
# Field n of a saved row of 表3-1-1 is column n (A = 1).
row() { "$cli" dump "${project%.mdb}.cll" --sheet b10 | sed -n "$1p"; }
field() { row "$1" | cut -f"$2"; }
# Row 4 (A1:A2 are one merged heading), `1` columns to the right of A.
toRow4() { xdotool key --delay 60 ctrl+Home Down Down; for _ in $(seq "$1"); do xdotool key Right; done; sleep 0.25; }

toRow4 1
typed "Cash"
keys Tab
typed "USD"
keys Tab
toRow4 1
keys shift+Right ctrl+c
keys Down ctrl+v
save
[ "$(field 5 2-3)" = $'Cash\tUSD' ] || fail "the paste did not arrive: '$(row 5)'"
keys ctrl+z
save
[ "$(field 5 2-3)" = $'\t' ] || fail "Ctrl+Z left the pasted cells: '$(row 5)'"
[ "$(field 4 2-3)" = $'Cash\tUSD' ] || fail "Ctrl+Z of the paste took the typed row: '$(row 4)'"

toRow4 6
typed "100"
keys Return
toRow4 6
keys shift+Down shift+Down
# 编辑 opens on its first entry or on none; Up reaches its last entry either way, and four
# more steps up is 填充单元格, whose first entry is 向下填充.
keys alt+e
keys Up Up Up Up Up Right Return
save
[ "$(field 6 7)" = "100" ] || fail "the fill did not reach G6: '$(row 6)'"
[ -n "$(field 6 9)" ] || fail "the filled row was not recomputed: '$(row 6)'"
keys ctrl+z
save
[ -z "$(field 5 7)$(field 6 7)$(field 5 9)$(field 6 9)" ] || fail "Ctrl+Z left the fill: '$(row 5)' '$(row 6)'"
[ "$(field 4 7)" = "100" ] || fail "Ctrl+Z of the fill took G4: '$(row 4)'"
echo "passed"
