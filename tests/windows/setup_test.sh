#!/usr/bin/env bash
# The setup program as a user meets it, under Wine in a scratch prefix: a copy of the build's
# (made in about 2 seconds, where a new prefix takes about 17). For the current user (the
# default) and then for all users (/ALLUSERS), each time:
#  - it installs silently (/S): the files, the Start menu entry "Karteneditor" and the entry
#    under installed programs (the uninstall key with its values) are where that choice puts
#    them, and nothing is in the other user's places;
#  - the Start menu entry starts mapeditor.exe --data-folder; started so (for the current user),
#    the editor's first start makes the data folder %APPDATA%\Karteneditor with the sample maps,
#    its window opens and closes on Strg+Q with exit code 0; then the user saves a map of his own
#    there and changes a sample map;
#  - it uninstalls silently with the entry's QuietUninstallString: no installed file, no
#    shortcut and no uninstall key is left, and the data folder is as the user left it.
#
# Usage: setup_test.sh Karteneditor-VERSION-setup.exe   (WINEPREFIX names the build's prefix;
# runs itself under xvfb-run)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/package_lib.sh"
package_begin "$(readlink -f "$0")" 'setup\.exe' "$@"
setup=$package

cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; kill $wm $pid 2>/dev/null || true; rm -rf "$work"' EXIT

# A Windows path of the prefix as a Unix path; a variable of the Windows environment.
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_variable() { "$wine" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
# Reads the entries of a registry key into the array "values" (empty when the key is missing).
declare -A values
read_key() {
    local name kind value
    values=()
    while read -r name kind value; do
        [[ $kind == REG_* ]] && values[$name]=$value
    done < <("$wine" reg query "$1" 2>/dev/null | tr -d '\r')
    return 0
}
key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }
# Target, arguments and working folder of a shell link (.lnk), one a line.
link_parts() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 20)[0]
at = 76
if flags & 0x1:  # the target's ID list
    at += 2 + struct.unpack_from("<H", data, at)[0]
target = ""
if flags & 0x2:  # the link info, with the target's local path
    size, header = struct.unpack_from("<II", data, at)
    base = struct.unpack_from("<I", data, at + 16)[0]
    target = data[at + base:data.index(b"\0", at + base)].decode("cp1252")
    at += size
strings = []
for bit in (0x4, 0x8, 0x10, 0x20, 0x40):  # name, relative path, working folder, arguments, icon
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        unicode = flags & 0x80
        width = 2 if unicode else 1
        raw = data[at + 2:at + 2 + count * width]
        strings.append((bit, raw.decode("utf-16-le" if unicode else "cp1252")))
        at += 2 + count * width
found = dict(strings)
print(target)
print(found.get(0x20, ""))
print(found.get(0x10, ""))
PY
}
# Every file below a folder with its checksum.
tree_sums() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }

appdata=$(windows_variable APPDATA)
data_folder=$(unix_path "$appdata\\Karteneditor")
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Karteneditor'
user_menu="$appdata\\Microsoft\\Windows\\Start Menu\\Programs"
common_menu="$(windows_variable ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs"
user_programs="$(windows_variable LOCALAPPDATA)\\Programs\\Karteneditor"
common_programs="$(windows_variable ProgramW6432)\\Karteneditor"

# $1: the setup's option for the choice ("" or /ALLUSERS); $2: the uninstaller's option for it,
# as the setup names it; $3 and $4: the uninstall key's hive and that of the other choice; $5:
# where the programs go; $6 and $7: the Start menu's folder and that of the other choice; $8:
# "start" to start the editor from the entry.
install_run_uninstall() {
    local option=$1 mode=$2 hive=$3 other_hive=$4 folder_win=$5 menu_win=$6 other_menu_win=$7
    local start=$8
    local folder link quiet name expected actual
    echo "== setup ${option:-for the current user}"
    "$wine" "$setup" /S $option
    wineserver -w
    folder=$(unix_path "$folder_win")
    link=$(unix_path "$menu_win\\Karteneditor.lnk")

    # The installed files: the programs, LIESMICH.txt, the sample maps and the uninstaller.
    [ -f "$folder/mapeditor.exe" ] || fail "no mapeditor.exe in $folder_win"
    expected=$( (cd "$samples" && ls | sed 's|^|Karten/|'
                 echo LIESMICH.txt; echo Deinstallieren.exe; echo mapeditor.exe
                 [ ! -f "$folder/maptool.exe" ] || echo maptool.exe) | sort)
    actual=$(cd "$folder" && find . -type f | sed 's|^\./||' | sort)
    [ "$actual" = "$expected" ] || fail "installed files differ:$(diff <(echo "$expected") <(echo "$actual"))"
    diff -r "$samples" "$folder/Karten" || fail "the installed sample maps differ"
    [ ! -e "$(unix_path "$other_menu_win\\Karteneditor.lnk")" ] || fail "a Start menu entry of the other users"
    key_exists "$other_hive\\$uninstall_key" && fail "an uninstall key in $other_hive"

    # The entry under installed programs.
    read_key "$hive\\$uninstall_key"
    for name in DisplayName DisplayVersion Publisher DisplayIcon UninstallString \
                QuietUninstallString EstimatedSize NoModify NoRepair; do
        local value
        value=${values[$name]:-}
        echo "  $name: $value"
        case $name in
            DisplayName) expected=Karteneditor ;;
            DisplayVersion) expected=$version ;;
            DisplayIcon) expected="$folder_win\\mapeditor.exe,0" ;;
            UninstallString) expected="\"$folder_win\\Deinstallieren.exe\" $mode" ;;
            QuietUninstallString) expected="\"$folder_win\\Deinstallieren.exe\" $mode /S" ;;
            NoModify | NoRepair) expected=0x1 ;;
            *) expected=$value ;;
        esac
        # Windows' paths are names of any case.
        [ "${value,,}" = "${expected,,}" ] || fail "$hive $name is \"$value\", not \"$expected\""
        [ -n "$value" ] || fail "$hive has no $name"
    done
    local size_kb=$((values[EstimatedSize]))
    local du_kb=$(du -sk --apparent-size "$folder" | cut -f1)
    [ "$size_kb" -gt $((du_kb / 2)) ] && [ "$size_kb" -le $((du_kb + 64)) ] ||
        fail "EstimatedSize $size_kb KB for $du_kb KB installed"

    # The Start menu entry, and the editor started as it starts it.
    [ -f "$link" ] || fail "no Start menu entry $menu_win\\Karteneditor.lnk"
    mapfile -t parts < <(link_parts "$link")
    [ "${parts[0],,}" = "${folder_win,,}\\mapeditor.exe" ] || fail "the entry starts ${parts[0]}"
    [ "${parts[1]}" = "--data-folder" ] || fail "the entry's arguments are \"${parts[1]}\""
    if [ "$start" = start ]; then
        rm -rf "$data_folder"
        # In the entry's working folder; the scenario's log goes beside the test's files.
        cd "$(unix_path "${parts[2]:-$folder_win}")"
        editor=$(unix_path "${parts[0]}")
        e2e_start_editor "${parts[1]}"
        sleep 0.5
        xdotool key ctrl+q
        expect_exit_0
        mv editor.log "$work/"
        cd "$work"
        diff -r "$samples" "$data_folder/Karten" ||
            fail "the first start's data folder differs from the sample maps"
        # The user's own map, and a changed sample map.
        cp "$samples/Wald.MAP" "$data_folder/Karten/Mein Wald.MAP"
        printf 'geändert' >"$data_folder/Karten/Insel.MAP"
    fi
    tree_sums "$data_folder" >"$work/user-maps"

    # Uninstalling as Windows' list of programs does it without a window.
    quiet=${values[QuietUninstallString]}
    local program=${quiet#\"}
    program=${program%%\"*}
    read -ra arguments <<<"${quiet#\"$program\"}"
    "$wine" "$program" "${arguments[@]}"
    wineserver -w
    [ ! -e "$folder" ] || fail "left after uninstalling: $(find "$folder")"
    [ ! -e "$link" ] || fail "the Start menu entry is left"
    key_exists "$hive\\$uninstall_key" && fail "the uninstall key is left in $hive"
    tree_sums "$data_folder" | diff "$work/user-maps" - || fail "uninstalling changed the user's maps"
    echo "  installed, started, uninstalled; the user's maps stay"
}

install_run_uninstall "" /CurrentUser HKCU HKLM "$user_programs" "$user_menu" "$common_menu" start
# The same editor starts from the other entry; the user's maps of the first round stay.
install_run_uninstall /ALLUSERS /AllUsers HKLM HKCU "$common_programs" "$common_menu" "$user_menu" \
    no-start
