#!/usr/bin/env bash
# The start-up paths of the real program on an X server (Xvfb, xcb), driven with
# xdotool and checked with vantor-cli, for a new user (a HOME without any Vantor
# folder, the system speaking C.UTF-8):
#  - a second start with a file while a value is unsaved, answered 取消, 否(N) and 是(Y):
#    the first program stays alive with the right project open;
#  - kill -9 with unsaved work, then a start with the file: the restore comes first,
#    and Save puts the work back into that file;
#  - everything the program leaves in the user's folders and the runtime folder is
#    0700/0600, nothing goes to the temporary folder, and a normal end cleans up.
#   startup.sh BIN_DIR
# Exit 77 (skipped) when no X server can be started here.
set -uo pipefail

bin=$1
work=$(mktemp -d)
shots=${TMPDIR:-/tmp}
xpid=""
app=""
cleanup() {
    [ -n "$app" ] && kill -9 "$app" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    command -v import >/dev/null && import -window root "$shots/vantor-startup-failure.png" 2>/dev/null &&
        echo "  screen: $shots/vantor-startup-failure.png" >&2
    [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
    exit 1
}

. "$(dirname "$0")/xserver.sh"
start_xserver 121 150

cli="$bin/vantor-cli"
mkdir -p "$work/projects"
p1="$work/projects/P1.mdb" p5="$work/projects/P5.mdb"
"$cli" new --kind data "$p1" --name 项目一 --unit 甲公司 >/dev/null || fail "vantor-cli new P1"
"$cli" new --kind data "$p5" --name 项目五 --unit 乙公司 >/dev/null || fail "vantor-cli new P5"

# A new user of its own, whose system does not speak Chinese.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME LC_ALL LANGUAGE
export VANTOR_RECOVERY_SECONDS=1
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TMPDIR" && chmod 700 "$XDG_RUNTIME_DIR"
data="$HOME/.local/share/Vantor/Vantor"

alive() { kill -0 "$app" 2>/dev/null || fail "the program ended after: $1"; }
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
# The id of a visible window whose title matches, narrower than `maxwidth` (dialogs).
window() {
    local pattern=$1 maxwidth=${2:-10000}
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
            width=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
            [ -n "$width" ] && [ "$width" -lt "$maxwidth" ] && { echo "$w"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
start() {
    "$bin/vantor" "$@" >>"$work/app.log" 2>&1 &
    app=$!
}
# Types into B4 of the first detail sheet and leaves the cell.
typeInto() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    sleep 0.3
    xdotool mousemove --window "$1" 700 400 click 1
    sleep 0.3
    keys ctrl+Home Down Down Right
    xdotool type --delay 80 "$2"
    keys Return
}
b4() { "$cli" dump "${1%.mdb}.cll" --sheet b10 | sed -n 4p | cut -f2; }
secondStart() {
    timeout 10 "$bin/vantor" "$1" >>"$work/app.log" 2>&1 || fail "a second start with $1 did not hand it over"
}
# The save prompt of a hand-over, answered with a key.
answer() {
    prompt=$(window '^Vantor$' 800) || fail "no save prompt for the hand-over"
    keys "$1"
}
mode() { stat -c %a "$1"; }

start "$p1"
main=$(window "^Vantor--.*P1\.mdb$") || fail "the first start did not open P1"
[ "$(mode "$data")" = 700 ] || fail "the data folder is $(mode "$data")"
[ "$(mode "$HOME/Documents/Vantor/MyFiles")" = 700 ] || fail "MyFiles is missing or open to others"
own=$(ls -d "$data"/work-"$app"-* 2>/dev/null)
[ -n "$own" ] && [ "$(mode "$own")" = 700 ] || fail "no private work folder for the program"
[ "$(stat -c %a "$XDG_RUNTIME_DIR/vantor.lock")" = 600 ] || fail "the lock is not in the runtime folder or open"
[ -S "$XDG_RUNTIME_DIR/vantor.socket" ] || fail "no socket in the runtime folder"

typeInto "$main" "Q1"
secondStart "$p5"
answer Escape
alive "取消 in the hand-over prompt"
window "^Vantor--.*P1\.mdb$" >/dev/null || fail "取消 did not keep P1 open"
secondStart "$p5"
answer alt+n
main=$(window "^Vantor--.*P5\.mdb$") || fail "否 did not open P5"
alive "否 in the hand-over prompt"
[ -z "$(b4 "$p1")" ] || fail "否 saved P1: $(b4 "$p1")"
typeInto "$main" "Q5"
secondStart "$p1"
answer alt+y
main=$(window "^Vantor--.*P1\.mdb$") || fail "是 did not open P1"
alive "是 in the hand-over prompt"
[ "$(b4 "$p5")" = Q5 ] || fail "是 did not save P5: '$(b4 "$p5")'"

# kill -9 with unsaved work once its recovery copy is written.
typeInto "$main" "Q9"
# A copy written after the typed value: one written before it (a loaded machine may take a
# moment to commit the cell) would rightly come back without it.
sleep 0.5
touch "$work/typed"
for _ in $(seq 50); do [ "$data/recovery/recovery.txt" -nt "$work/typed" ] && break; sleep 0.2; done
[ "$data/recovery/recovery.txt" -nt "$work/typed" ] || fail "no recovery copy was written"
kill -9 "$app"; wait "$app" 2>/dev/null
killed=$app
start "$p1"
answer Return   # 恢复
sleep 1
xdotool search --onlyvisible --name "^Vantor--.*P1\.mdb$" >/dev/null 2>&1 && fail "P1 opened instead of its recovery copy"
alive "restoring"
[ -z "$(ls -d "$data"/work-"$killed"-* 2>/dev/null)" ] || fail "the killed program's work folder was not removed"
main=$(window '^Vantor$') || fail "no main window after restoring"
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool mousemove --window "$main" 700 400 click 1
keys ctrl+s
sleep 1.5
keys Return   # the suggested file: P1.mdb
keys alt+y    # replace it
main=$(window "^Vantor--.*P1\.mdb$") || fail "Save did not suggest P1.mdb"
[ "$(b4 "$p1")" = Q9 ] || fail "the restored value was not saved: '$(b4 "$p1")'"

# A normal end: nothing of the program is left but the user's files, all private.
xdotool windowfocus --sync "$main" 2>/dev/null
sleep 0.3
keys alt+f
keys Up Return
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
wait "$app" || fail "the program ended with an error"
app=""
[ -z "$(ls -d "$data"/work-* 2>/dev/null)" ] || fail "work folders are left: $(ls "$data")"
[ ! -e "$data/recovery/recovery.txt" ] || fail "the recovery copy of saved work is left"
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "left in the runtime folder: $(ls -A "$XDG_RUNTIME_DIR")"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary folder: $(ls -A "$TMPDIR")"
open=$(find "$HOME" -mindepth 1 \( -type d ! -perm 700 \) -o \( ! -type d ! -perm 600 \) 2>/dev/null)
[ -z "$open" ] || fail "open to others: $(stat -c '%a %n' $open)"
echo "passed"
