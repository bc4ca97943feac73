#!/usr/bin/env bash
# Checks what the two packages (built into OUT by cpack) hold and what they do. The installer and its
# uninstaller run under a Wine of their own (display, prefix and home folder inside STATE), so neither
# the user's desktop menus nor the Wine prefix of the other tests are touched.
#   check_packages.sh zip         BUILD OUT NAME SOURCE       the ZIP's files and their bytes
#   check_packages.sh installer   BUILD OUT NAME SOURCE STATE per-user install, silent uninstall
#   check_packages.sh host-folder BUILD OUT NAME SOURCE STATE install beside the host keeps its files
#   check_packages.sh wine-start|wine-stop STATE
set -euo pipefail
wine_env=$(cd "$(dirname "$0")" && pwd)/../../cmake/wine-env.sh
failures=0
expect() { if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1" >&2 && failures=$((failures + 1)); fi; }
not() { ! "$@"; }
# Each file of the list ($1) under folder $2 is byte for byte the one under $3 (or, with $3 "-", absent).
same_files() {
    for file in $1; do
        if [[ $3 == - ]]; then expect "$2/$file is absent" test ! -e "$2/$file"
        else expect "$2/$file is $3/$file" cmp -s "$2/$file" "$3/$file"; fi
    done
}
samples=$(cd "${5:-.}" && printf '%s\n' dax.ini lang/*.ini lang/*.txt 2>/dev/null || true)  # what both packages carry

with_wine() {
    export HOME=$1/home WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"  # no Linux menu entries
    mkdir -p "$HOME" && "$wine_env" start "$1" >/dev/null
    eval "$("$wine_env" env "$1")"
}
windows_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')\\$2" 2>/dev/null; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\tapkeys'
registered() { wine reg query "$1" >/dev/null 2>&1; }
install() { wine "$(winepath -w "$out/$name.exe")" /S "$@"; }

# The uninstaller copies itself to the temp folder and returns at once; the copy does the work and
# drops the uninstall entry last.
uninstall_silently() {
    wine "$(winepath -w "$1/uninstall.exe")" /S
    for _ in $(seq 240); do registered "$uninstall_key" || break; sleep 0.25; done
    same_files "tapkeys.exe uninstall.exe uninstall.ini" "$1" -
    expect "the uninstaller is no longer registered" not registered "$uninstall_key"
}


check_zip() {
    unpacked=$(mktemp -d) && trap 'rm -rf "$unpacked"' EXIT
    expect "the ZIP holds the exe, README.md and the samples, and nothing else" test \
        "$(unzip -Z1 "$out/$name.zip" | grep -v '/$' | sort)" == \
        "$( (printf '%s\n' tapkeys.exe README.md $samples) | sed "s|^|$name/|" | sort)"
    unzip -q "$out/$name.zip" -d "$unpacked"
    same_files tapkeys.exe "$unpacked/$name" "$build"
    same_files "README.md $samples" "$unpacked/$name" "$source"
}

check_installer() {
    expect "the installer asks for no administrator rights" grep -qa 'level="asInvoker"' "$out/$name.exe"
    with_wine "$state"
    folder=$(windows_folder LOCALAPPDATA 'Programs\tapkeys') start_menu=$(windows_folder APPDATA 'Microsoft\Windows\Start Menu\Programs')
    rm -rf "$folder" "$start_menu/tapkeys.lnk"
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    expect "the silent install succeeds" install
    same_files tapkeys.exe "$folder" "$build"
    same_files "$samples" "$folder" "$source"
    expect "the uninstaller is installed" test -s "$folder/uninstall.exe"
    expect "a Start-menu shortcut for this user starts tapkeys.exe" grep -qa 'tapkeys.exe' "$start_menu/tapkeys.lnk"
    expect "the uninstaller is registered for this user" registered "$uninstall_key"
    expect "nothing is registered for all users" not registered "${uninstall_key/HKCU/HKLM}"
    mkdir -p "$state/kept" && printf '[misc]\r\nSAFEMODE=1\r\n' | tee "$folder/tapkeys.ini" >"$state/kept/tapkeys.ini"
    uninstall_silently "$folder"
    same_files "dax.ini lang" "$folder" -
    same_files tapkeys.lnk "$start_menu" -
    same_files tapkeys.ini "$folder" "$state/kept"  # a silent uninstall keeps the user's settings
}

# Installing beside the host keeps the host's own files, adds only the missing samples, remembers on a
# second install which files were its own, and removes only those.
check_host_folder() {
    with_wine "$state"
    host=$(winepath -u 'C:\dax-host' 2>/dev/null) kept=$state/host-files own="dax.ini lang/de.ini lang/xx.ini"
    rm -rf "$host" "$kept" && mkdir -p "$host/lang" "$kept"
    for file in $own; do printf '[osk]\r\nKEYMAP_NORMAL=the host'"'"'s own %s\r\n' "$file" >"$host/$file"; done
    cp -r "$host/." "$kept/"
    added=$(for file in $samples; do [[ -e $kept/$file ]] || echo "$file"; done)
    expect "the silent install succeeds" install '/D=C:\dax-host'
    expect "a second install succeeds" install '/D=C:\dax-host'
    same_files tapkeys.exe "$host" "$build"
    same_files "$own" "$host" "$kept"
    same_files "$added" "$host" "$source"
    uninstall_silently "$host"
    same_files "$own" "$host" "$kept"
    same_files "$added" "$host" -
}

case ${1:?usage: $0 zip|installer|host-folder|wine-start|wine-stop ...} in
wine-start) with_wine "${2:?state}" ;;
wine-stop) HOME=${2:?state}/home "$wine_env" stop "$2" ;;
*)
    build=${2:?build folder} out=${3:?package folder} name=${4:?package name} source=${5:-} state=${6:-}
    "check_${1/-/_}"
    ((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; } ;;
esac
