# Sourced by the scenario scripts that run the program on one project: a private work folder
# removed at the end (with the program and the X server), failures reported with the program's
# output and a picture of the screen, an X server, a user of its own, and the program started on
# a project. Sets `work`, `xpid`, `app`, `window`, `cli`.
set -uo pipefail

work=$(mktemp -d)
xpid="" app="" window=""
scenario_cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    rm -rf "$work"
}
trap scenario_cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    local shot="${TMPDIR:-/tmp}/vantor-$(basename "$0" .sh)-failure.png"
    command -v import >/dev/null && import -window root "$shot" 2>/dev/null && echo "  screen: $shot" >&2
    [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
    exit 1
}

. "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

# private_user BIN_DIR: settings, lock and working copies stay inside the test.
private_user() {
    export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    cli="$1/vantor-cli"
}

# open_project BIN_DIR FILE: starts the program on FILE and waits for its main window. No window
# manager runs here: the window takes the focus itself, and the keyboard is then in the sheet
# without a click (not in the font box of the toolbar).
open_project() {
    "$1/vantor" "$2" >"$work/app.log" 2>&1 &
    app=$!
    for _ in $(seq 100); do
        window=$(xdotool search --name "^Vantor--" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "the main window did not open the project"
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.5
}

alive() { kill -0 "$app" 2>/dev/null || fail "the program ended after: $1"; }
