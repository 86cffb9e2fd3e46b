#!/usr/bin/env bash
# The portable ZIP as a Windows user unpacks it: one folder with the programs, LIESMICH.txt and
# the sample maps in Karten. Started there as a double click starts it (in its own folder, under
# Wine in the build's prefix), the editor opens Wald.MAP from the Karten beside it through the
# open requester and ends on Strg+Q with exit code 0; maptool.exe, when packaged, tells its
# version.
#
# Usage: portable_zip_test.sh Karteneditor-VERSION-win64.zip   (runs itself under xvfb-run)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/package_lib.sh"
package_begin "$(readlink -f "$0")" 'win64\.zip' "$@"
zip=$package

top=Karteneditor-$version
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/unpacked"
folder=$work/unpacked/$top
[ -d "$folder" ] || fail "the archive has no folder $top"
[ "$(ls "$work/unpacked")" = "$top" ] || fail "the archive holds more than $top: $(ls "$work/unpacked")"
programs=$(cd "$folder" && ls ./*.exe | sed 's|^\./||' | sort | tr '\n' ' ')
case " $programs" in *" mapeditor.exe "*) ;; *) fail "no mapeditor.exe in the archive ($programs)" ;; esac
for program in $programs; do
    case $program in mapeditor.exe | maptool.exe) ;; *) fail "an unknown program: $program" ;; esac
done
expected_files=$( (cd "$samples" && ls | sed 's|^|Karten/|'; echo LIESMICH.txt; for p in $programs; do echo "$p"; done) | sort)
actual_files=$(cd "$folder" && find . -type f | sed 's|^\./||' | sort)
[ "$actual_files" = "$expected_files" ] ||
    fail "the archive's files differ from the expected:$(diff <(echo "$expected_files") <(echo "$actual_files"))"
diff -r "$samples" "$folder/Karten" || fail "the archive's sample maps differ from $samples"

# LIESMICH.txt: UTF-8 with a byte order mark, every line ended by CR LF, German first, English
# after it, and a program named only when it is in the archive.
python3 - "$folder/LIESMICH.txt" "$programs" <<'PY' || fail "LIESMICH.txt is not as it should be"
import sys
data = open(sys.argv[1], "rb").read()
programs = sys.argv[2].split()
problems = []
if not data.startswith(b"\xef\xbb\xbf"):
    problems.append("no UTF-8 byte order mark")
text = data[3:].decode("utf-8")
if text.replace("\r\n", "").count("\n") or text.replace("\r\n", "").count("\r"):
    problems.append("a line not ended by CR LF")
if "{" in text:
    problems.append("a program's mark is left: " + text[text.index("{"):][:30])
german, english = text.find("Die Befehlszeile"), text.find("The command line")
if not 0 <= german < english:
    problems.append("not German first, then English")
for program in ("mapeditor.exe", "maptool.exe"):
    if (program in text) != (program in programs):
        problems.append("%s %s" % (program, "not named" if program in programs else "named, not packaged"))
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
PY

# Started as Explorer starts it: in the program's own folder, whose Karten it works with.
cd "$folder"
editor=$folder/mapeditor.exe
e2e_start_editor
editor_ended() { ! editor_running; }
open_map Wald
# The main window takes the keys again once the requester is gone.
sleep 1
xdotool key ctrl+q
within_ms editor_ended 5000 "the editor did not end after Strg+Q"
expect_exit_0

if [ -f "$folder/maptool.exe" ]; then
    said=$("$wine" "$folder/maptool.exe" --version | tr -d '\r')
    [ "$said" = "maptool (Karteneditor) $version" ] || fail "maptool.exe --version said: $said"
fi
echo "the unpacked archive runs: $programs"
