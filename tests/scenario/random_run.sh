#!/usr/bin/env bash
# A randomized run of the real program on an X server (Xvfb, xcb platform): from a fixed
# seed it types, moves with the arrows and their modifiers, Tab, Return, Escape, F6,
# clicks anywhere in the window, runs menu commands by their shortcuts and through the
# menus, undoes and redoes, switches sheets and panes, saves, and now and then starts the
# program a second time with a file. Dialogs that come up are answered or closed. The run
# fails when the program crashes, printing the seed and the last actions.
#   random_run.sh BIN_DIR
#   VANTOR_RANDOM_SEED     the seed (a fixed one by default, so every run is the same run)
#   VANTOR_RANDOM_SECONDS  how long to run (60 by default)
# Exit 77 (skipped) when no X server can be started here.
set -uo pipefail

bin=$1
seed=${VANTOR_RANDOM_SEED:-20261207}
seconds=${VANTOR_RANDOM_SECONDS:-60}
work=$(mktemp -d)
xpid=""
app=""
second=""
cleanup() {
    [ -n "$second" ] && kill "$second" 2>/dev/null
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

actions=()
note() {
    actions+=("$step: $*")
    [ "${#actions[@]}" -gt 40 ] && actions=("${actions[@]:1}")
}
fail() {
    echo "FAILED: $*" >&2
    echo "  seed: $seed (VANTOR_RANDOM_SEED=$seed repeats this run)" >&2
    echo "  last actions:" >&2
    printf '    %s\n' "${actions[@]}" >&2
    command -v import >/dev/null && import -window root "${TMPDIR:-/tmp}/vantor-random-failure.png" 2>/dev/null &&
        echo "  screen: ${TMPDIR:-/tmp}/vantor-random-failure.png" >&2
    [ -f "$work/app.log" ] && tail -n 30 "$work/app.log" | sed 's/^/  program: /' >&2
    exit 1
}

. "$(dirname "$0")/xserver.sh"
start_xserver 121 160

export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cli="$bin/vantor-cli"
project="$work/随机.mdb"
other="$work/另一个.mdb"
"$cli" new --kind data "$project" --name 随机测试 --unit 甲公司 >/dev/null || fail "vantor-cli new"
for id in 16 22 30; do "$cli" add-sheet "$project" "$id" >/dev/null || fail "vantor-cli add-sheet $id"; done
"$cli" new --kind data "$other" --name 另一个 --unit 乙公司 >/dev/null || fail "vantor-cli new"

step=0
main=""
root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -1)
start_program() {
    "$bin/vantor" "$project" >>"$work/app.log" 2>&1 &
    app=$!
    main=""
    for _ in $(seq 150); do
        main=$(xdotool search --onlyvisible --pid "$app" --name "^Vantor--" 2>/dev/null | head -1)
        [ -n "$main" ] && break
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$main" ] || check_alive "starting with the project"
    xdotool windowfocus "$main" 2>/dev/null
    sleep 0.3
}

# A program that ended by itself (a menu's 退出, answered prompts) is started again; one
# that died of a signal or failed is the fault this run looks for.
check_alive() {
    kill -0 "$app" 2>/dev/null && return 0
    wait "$app"
    local rc=$?
    app=""
    if [ "$rc" -gt 128 ]; then
        local sig
        sig=$(kill -l $((rc - 128)) 2>/dev/null)
        fail "the program crashed with SIG${sig:-$((rc - 128))} after: $1"
    fi
    [ "$rc" -eq 0 ] || fail "the program ended with status $rc after: $1"
    note "the program ended normally; started again"
    start_program
}

# Every visible window but the main one is a dialog, a menu or a tool window: Escape
# closes it; now and then Return answers it with its default, except in file and print
# dialogs (their default would write or print somewhere).
close_extras() {
    local w name geometry tries=0
    while [ "$tries" -lt 12 ]; do
        local extra=""
        for w in $(for pid in $app $second; do xdotool search --onlyvisible --pid "$pid" --name '' 2>/dev/null; done); do
            [ "$w" = "$main" ] || [ "$w" = "$root" ] && continue
            geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
            # Tool tips and other slivers need no answer.
            [ -n "$geometry" ] && [ "${geometry#* }" -lt 30 ] && continue
            extra=$w
        done
        [ -z "$extra" ] && return 0
        name=$(xdotool getwindowname "$extra" 2>/dev/null)
        xdotool windowfocus "$extra" 2>/dev/null
        if [ $(((step + tries) % 4)) -eq 0 ] && [ "$tries" -lt 4 ] &&
            ! [[ "$name" =~ 打开|保存|另存|打印|PDF|文件|Excel|选择 ]]; then
            note "answer '$name' with Return"
            xdotool key Return
        else
            note "close '$name' with Escape"
            xdotool key Escape
        fi
        sleep 0.3
        tries=$((tries + 1))
        check_alive "answering '$name'"
    done
}

texts=("123" "45.67" "-8" "0" "abc" "Q235B" "1e5" "12345678901234" "'x'" "=a4+1" "１２３" "中文名称" "3.14159" " ")
moves=(Left Right Up Down Tab Return Home End Page_Down Page_Up)
mods=("" "shift+" "ctrl+" "ctrl+shift+")
singles=(Escape Escape F2 Delete BackSpace ctrl+Tab shift+Tab ctrl+Home ctrl+End)
shortcuts=(ctrl+c ctrl+x ctrl+v ctrl+a ctrl+f ctrl+p ctrl+n ctrl+o ctrl+c ctrl+v)
menus=(alt+f alt+e alt+v alt+s alt+i alt+o alt+t alt+d alt+h)

second_start() {
    local file=$project
    [ $((RANDOM % 2)) -eq 0 ] && file=$other
    note "second start with $(basename "$file")"
    "$bin/vantor" "$file" >>"$work/second.log" 2>&1 &
    second=$!
    for _ in $(seq 40); do
        kill -0 "$second" 2>/dev/null || break
        close_extras
        sleep 0.3
    done
    kill "$second" 2>/dev/null
    wait "$second" 2>/dev/null
    second=""
    close_extras
}

RANDOM=$seed
start_program
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
    step=$((step + 1))
    close_extras
    xdotool windowfocus "$main" 2>/dev/null
    r=$((RANDOM % 100))
    if [ "$r" -lt 18 ]; then
        t=${texts[RANDOM % ${#texts[@]}]}
        note "type '$t'"
        xdotool type --delay 30 -- "$t"
    elif [ "$r" -lt 45 ]; then
        k="${mods[RANDOM % ${#mods[@]}]}${moves[RANDOM % ${#moves[@]}]}"
        note "key $k"
        xdotool key "$k"
    elif [ "$r" -lt 52 ]; then
        k=${singles[RANDOM % ${#singles[@]}]}
        note "key $k"
        xdotool key "$k"
    elif [ "$r" -lt 58 ]; then
        # To another pane and a step there: in the tree that shows another sheet.
        k=F6
        [ $((RANDOM % 2)) -eq 0 ] && k=shift+F6
        m=${moves[RANDOM % 4]}
        note "key $k then $m"
        xdotool key "$k"
        sleep 0.1
        xdotool key "$m"
    elif [ "$r" -lt 68 ]; then
        # Mostly into the panes, sometimes onto the menu bar and the toolbars.
        x=$((5 + RANDOM % 1160))
        if [ $((RANDOM % 4)) -eq 0 ]; then y=$((5 + RANDOM % 90)); else y=$((90 + RANDOM % 640)); fi
        b=1 n=1
        [ $((RANDOM % 5)) -eq 0 ] && b=3
        [ $((RANDOM % 6)) -eq 0 ] && n=2
        note "click $b x$n at $x,$y"
        xdotool mousemove --window "$main" "$x" "$y" click --repeat "$n" "$b"
    elif [ "$r" -lt 75 ]; then
        k=${shortcuts[RANDOM % ${#shortcuts[@]}]}
        note "key $k"
        xdotool key "$k"
    elif [ "$r" -lt 85 ]; then
        k=ctrl+z
        [ $((RANDOM % 3)) -eq 0 ] && k=ctrl+y
        note "key $k"
        xdotool key "$k"
    elif [ "$r" -lt 92 ]; then
        k=${menus[RANDOM % ${#menus[@]}]}
        d=$((RANDOM % 10))
        note "menu $k, $d down, Return"
        xdotool key "$k"
        sleep 0.2
        for _ in $(seq "$d"); do xdotool key Down; done
        xdotool key Return
    elif [ "$r" -lt 97 ]; then
        note "key ctrl+s"
        xdotool key ctrl+s
    else
        second_start
    fi
    sleep 0.15
    check_alive "${actions[-1]}"
    # A closed project leaves little to do: the next start with a file opens one again.
    # (Where the hand-over to the running program opens nothing, 打开 does.)
    if [ $((step % 10)) -eq 0 ] && [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "Vantor" ]; then
        second_start
        if [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "Vantor" ]; then
            note "open the project with Ctrl+O"
            xdotool windowfocus "$main" 2>/dev/null
            xdotool key ctrl+o
            sleep 1
            xdotool type --delay 20 -- "$project"
            xdotool key Return
            sleep 1.5
        fi
        check_alive "${actions[-1]}"
    fi
done
close_extras
echo "passed: $step random actions from seed $seed"
