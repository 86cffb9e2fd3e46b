# Shared steps of the end-to-end scenarios: the real editor in a real X server with a window
# manager, driven with xdotool as a user would. A scenario script sources this file, calls
# e2e_begin with its own path and arguments, then e2e_start_editor, and drives the window with
# the helpers below. Each scenario gets a fresh working folder (its maps go to ./Karten).
#
# Usage in a scenario: . "$(dirname "$0")/e2e_lib.sh"; e2e_begin "$0" "$@"

# Re-runs the scenario inside xvfb-run when it is not there yet, then makes the working folder
# and starts the window manager, unless the scenario set E2E_NO_WM=1 before.
# $1: the scenario's path; $2: the editor executable.
e2e_begin() {
    local script=$1
    editor=$(readlink -f "$2")
    if [ -z "${E2E_INSIDE_X:-}" ]; then
        # A display number from a random start: the number the last scenario's server just gave
        # back may still be in use while that server goes down. The machine is shared, so a
        # server that cannot be reached (another one's going down took its socket) is given up
        # and the scenario starts again on a new one, up to three times.
        local attempt status xlog
        xlog=$(mktemp)
        for attempt in 1 2 3; do
            status=0
            env E2E_INSIDE_X=1 xvfb-run -a -n $((100 + RANDOM % 400)) -e "$xlog" \
                -s "-screen 0 1280x1024x24" "$script" "$editor" || status=$?
            [ "$status" -eq 75 ] || { rm -f "$xlog"; exit "$status"; }
            echo "attempt $attempt: the virtual X server could not be reached; what it said:"
            cat "$xlog"
            : >"$xlog"
        done
        rm -f "$xlog"
        exit 1
    fi
    work=$(mktemp -d)
    pid=""
    wm=""
    trap 'kill $wm $pid 2>/dev/null || true; rm -rf "$work"' EXIT
    cd "$work"
    # The server may still be coming up (a display number just given back by the last run).
    for _ in $(seq 1 100); do
        xwininfo -root >/dev/null 2>&1 && break
        sleep 0.1
    done
    xwininfo -root >/dev/null 2>&1 || exit 75
    if [ -z "${E2E_NO_WM:-}" ]; then
        openbox >/dev/null 2>&1 &
        wm=$!
    fi
    sleep 1
}

# Starts the editor in the working folder with the given arguments and waits for its window;
# sets $pid and $wid. A Windows build (mapeditor.exe) runs under wine64 in the Wine prefix of
# $WINEPREFIX; the Windows process keeps the process number that wine64 started with.
e2e_start_editor() {
    case $editor in
        *.exe)
            local wine
            wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
            # A Wine server left from an earlier program of the prefix still talks to the X
            # server that program had; this editor gets a server of its own display.
            wineserver -w 2>/dev/null || true
            WINEDEBUG=-all "$wine" "$editor" "$@" >editor.log 2>&1 &
            ;;
        *)
            "$editor" "$@" >editor.log 2>&1 &
            ;;
    esac
    pid=$!
    wid=""
    # Wine takes a few seconds to start a program in a new X server.
    for _ in $(seq 1 300); do
        wid=$(xdotool search --name "Veldrane Murmelwald Karteneditor" 2>/dev/null | head -n1 || true)
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "editor window did not appear"; cat editor.log; exit 1; }
    sleep 1
    find_menu_height
}

# The absolute top of a window on the screen.
window_top() { xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left Y: *//p'; }

# Sets $menu to the height of the menu bar, which lies at the top of the window above the
# client area; the window does not tell them apart. The "Datei" drop-down opens right below
# the bar: its top gives the height.
find_menu_height() {
    local popup=""
    xdotool mousemove --window "$wid" 20 5 click 1
    for _ in $(seq 1 20); do
        popup=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$wid" | head -n1 || true)
        [ -n "$popup" ] && break
        sleep 0.1
    done
    [ -n "$popup" ] || { echo "the Datei menu did not open"; cat editor.log; exit 1; }
    menu=$(($(window_top "$popup") - $(window_top "$wid")))
    xdotool key Escape
    # On Windows the first Escape closes the drop-down and leaves the menu bar active, which
    # would take the next keys; the second leaves the menu bar.
    case $editor in *.exe) sleep 0.3; xdotool key Escape ;; esac
    sleep 0.3
}

# Moves the pointer to client point (x, y) of the main window.
client() {
    xdotool mousemove --window "$wid" "$1" $(($2 + menu))
    sleep 0.2
}

# A left click at client point (x, y).
click() {
    client "$1" "$2"
    xdotool click 1
    sleep 0.3
}

# Opens the first drop-down of the menu bar ("Datei") and chooses its item at 1-based
# position n (separators do not count for the arrow keys).
menu_datei() {
    xdotool mousemove --window "$wid" 20 $((menu / 2)) click 1
    sleep 0.5
    local steps=()
    for _ in $(seq 1 "$1"); do steps+=(Down); done
    xdotool key "${steps[@]}" Return
    sleep 1
}

# Milliseconds of a monotonic-enough clock, for timing what the editor does.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Waits up to $2 ms for the command $1 to succeed; false otherwise.
wait_ms() {
    local deadline=$(($(now_ms) + $2))
    until $1; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Waits up to $2 ms for the command $1 to succeed; fails with message $3 otherwise.
within_ms() {
    local deadline=$(($(now_ms) + $2))
    until $1; do
        [ "$(now_ms)" -lt "$deadline" ] || { echo "$3 (not within $2 ms)"; exit 1; }
        sleep 0.05
    done
}

# True while the editor process runs.
editor_running() { kill -0 "$pid" 2>/dev/null; }

# True while a requester of the editor is open: a window titled exactly like the program (the
# main window's title goes on with the map's name).
requester_open() {
    xdotool search --name "^Veldrane Murmelwald Karteneditor 1\.0\$" >/dev/null 2>&1
}

# Opens Karten/$1.MAP through the open requester as a user does: Strg+O, the file name, Return.
# Each step waits for the one before, however slow the machine; fails unless the requester
# closes and the title names the map.
# A Strg+O that meets the editor before its window has the keyboard (a slow start, the suite under
# strace) is lost as a user's would be; like a user, the scenario presses it again.
open_map() {
    local attempt
    for attempt in 1 2 3; do
        xdotool key ctrl+o
        if wait_ms requester_shown 5000; then break; fi
        [ "$attempt" -lt 3 ] || { echo "Strg+O opened no requester (three times 5000 ms)"; exit 1; }
        echo "Strg+O opened no requester within 5000 ms; pressing it again"
    done
    sleep 1
    xdotool type --delay 100 "$1.MAP"
    xdotool key Return
    within_ms requester_gone 5000 "the requester stayed open after Return"
    within_ms "title_names $1" 5000 "the title does not name the opened map $1"
}
requester_shown() { xdotool search --name "^Karte laden\$" >/dev/null 2>&1; }
requester_gone() { ! requester_shown; }
title_names() { xdotool search --name "<$1>\$" >/dev/null 2>&1; }

# Brush n: focus the brush track bar and step it n times to the right.
choose_brush() {
    click 530 496
    for _ in $(seq 1 "$1"); do xdotool key Right; sleep 0.1; done
}

# A left click into field (x, y) of a map as Neu shows it (64-pixel fields from view (58, 58)).
paint_field() {
    click $((4 + 58 + $1 * 64 + 20)) $((4 + 58 + $2 * 64 + 20))
}

# Waits up to 5 s for the editor to end and fails unless it ended with exit code 0.
expect_exit_0() {
    local status=0
    for _ in $(seq 1 50); do
        editor_running || break
        sleep 0.1
    done
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || { echo "editor exited with $status"; cat editor.log; exit 1; }
}

# Fails unless the running editor works in folder $1.
expect_working_folder() {
    local folder
    folder=$(readlink "/proc/$pid/cwd")
    [ "$folder" = "$(readlink -f "$1")" ] || { echo "the editor works in $folder, not in $1"; exit 1; }
}

# Compares a file with the bytes a Python expression builds (struct is imported).
# $1: the file; $2: the expression.
expect_bytes() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
path, expression = sys.argv[1], sys.argv[2]
expected = eval("(" + expression + ")")
actual = open(path, "rb").read()
if actual != expected:
    print("%s differs:\n expected %s\n actual   %s" % (path, expected.hex(), actual.hex()))
    sys.exit(1)
print("%s is byte for byte as expected (%d bytes)" % (path, len(actual)))
PY
}

# A stroke of the left button through client points: press at the first "x y", move to each
# following one in a single jump, release at the last.
stroke() {
    client "$1" "$2"
    xdotool mousedown 1
    sleep 0.2
    shift 2
    while [ $# -ge 2 ]; do
        xdotool mousemove --window "$wid" "$1" $(($2 + menu))
        sleep 0.2
        shift 2
    done
    xdotool mouseup 1
    sleep 0.3
}

# The wheel turned by n notches (positive: away from the user) with the keys held, e.g.
# wheel ctrl -1.
wheel() {
    local keys=$1 notches=$2 button=4
    [ "$notches" -lt 0 ] && { button=5; notches=$((-notches)); }
    [ -n "$keys" ] && xdotool keydown "$keys"
    for _ in $(seq 1 "$notches"); do xdotool click "$button"; sleep 0.2; done
    [ -n "$keys" ] && xdotool keyup "$keys"
    sleep 0.3
}

# Prints a digest of the pixels the 500 x 500 map view shows now (at client (4, 4)).
view_digest() {
    xwd -silent -id "$wid" | python3 -c '
import hashlib, struct, sys
data = sys.stdin.buffer.read()
h = struct.unpack(">25I", data[:100])
size, width, bpp, line, colours = h[0], h[4], h[11], h[12], h[19]
pixels = data[size + 12 * colours:]
left, top, step = 4, int(sys.argv[1]) + 4, bpp // 8
digest = hashlib.sha1()
for y in range(top, top + 500):
    digest.update(pixels[y * line + left * step:y * line + (left + 500) * step])
print(digest.hexdigest())' "$menu"
}
