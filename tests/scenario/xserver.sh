# Sourced by the scenario scripts. start_xserver FIRST LAST starts Xvfb on the first free display
# between FIRST and LAST, without key auto-repeat (on a loaded machine a key held a moment too long
# would repeat), and sets xpid and DISPLAY; where no X server can start it exits 77 (skipped).
# Needs $work for the server's log.
start_xserver() {
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
        echo "skipped: Xvfb or xdotool is not installed"
        exit 77
    fi
    local n
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp -r >"$work/xvfb.log" 2>&1 &
        xpid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        kill "$xpid" 2>/dev/null
        xpid=""
    done
    echo "skipped: no X server could be started"
    exit 77
}
