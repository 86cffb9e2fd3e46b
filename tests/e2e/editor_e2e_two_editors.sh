#!/usr/bin/env bash
# End to end: two editors on one map keep a recovery copy each. Both paint the new map and wait
# until their copies are written; the first is killed, the second saves and quits normally and
# takes only its own copy along. The next start offers the killed editor's copy, and restoring
# and saving it gives that editor's map byte for byte.
#
# Usage: editor_e2e_two_editors.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"

new_map='struct.pack("<h", 10) + b"Neue Karte" + struct.pack("<7i", 1, 8, 4, 64, 64, 5, 5)
+ struct.pack("<3i", 0, 0, 0)'
fields() { echo "struct.pack('<36i', *[$1 if i == $2 * 6 + $3 else 0 for i in range(36)])"; }

# The first editor paints field (2, 1) with brush 3.
e2e_start_editor
first=$pid
first_window=$wid
choose_brush 3
paint_field 2 1

# The second paints field (3, 1) with brush 2. Its window is found by its process.
"$editor" >editor2.log 2>&1 &
pid=$!
second=$pid
wid=""
for _ in $(seq 1 100); do
    wid=$(xdotool search --all --pid "$pid" --name "Veldrane Murmelwald Karteneditor" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] && [ "$wid" != "$first_window" ] || { echo "second window did not appear"; exit 1; }
sleep 1
choose_brush 2
paint_field 3 1

# Both copies are written at the latest 30 s after the change.
copy_of() { ls Karten/NONAME.MAP."$1"-*.sicherung 2>/dev/null | head -n1; }
both_written() { [ -n "$(copy_of "$first")" ] && [ -n "$(copy_of "$second")" ]; }
within_ms both_written 40000 "the two editors did not write a copy each"
sleep 0.5
first_copy=$(copy_of "$first")
expect_bytes "$first_copy" "$new_map + $(fields 3 2 1)"
expect_bytes "$(copy_of "$second")" "$new_map + $(fields 2 3 1)"

# The first editor dies; the second saves and quits, leaving the first one's copy alone.
kill -9 "$first"
wait "$first" 2>/dev/null || true
xdotool key ctrl+s
sleep 0.5
xdotool key ctrl+q
expect_exit_0
expect_bytes Karten/NONAME.MAP "$new_map + $(fields 2 3 1)"
[ -z "$(copy_of "$second")" ] || { echo "the second editor left its copy behind"; exit 1; }
expect_bytes "$first_copy" "$new_map + $(fields 3 2 1)"

# The next start offers the dead editor's copy; Wiederherstellen, save, quit.
e2e_start_editor
requester_open || { echo "the copy of the killed editor was not offered"; exit 1; }
xdotool key Return  # Wiederherstellen
sleep 1
requester_open && { echo "the question is still open"; exit 1; }
xdotool key ctrl+s
sleep 0.5
xdotool key ctrl+q
expect_exit_0
expect_bytes Karten/NONAME.MAP "$new_map + $(fields 3 2 1)"
leftovers=$(ls -A Karten)
[ "$leftovers" = "NONAME.MAP" ] || { echo "left in Karten: $leftovers"; exit 1; }
