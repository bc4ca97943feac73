#!/usr/bin/env bash
# Builds the two packages with CPack and checks what they hold and what they do. The installer and its
# uninstaller run under a Wine of their own (display, prefix and home folder inside STATE), so neither
# the user's desktop menus nor the Wine prefix of the other tests are touched.
#   check_packages.sh build       BUILD OUT NAME              cpack -G ZIP and -G NSIS of BUILD into OUT
#   check_packages.sh zip         BUILD OUT NAME SOURCE       the ZIP's files and their bytes
#   check_packages.sh installer   BUILD OUT NAME SOURCE STATE per-user install, start, silent uninstall
#   check_packages.sh host-folder BUILD OUT NAME SOURCE STATE install beside the host keeps its files
#   check_packages.sh wine-start|wine-stop STATE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine_env=$here/../../cmake/wine-env.sh

failures=0
expect() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what" >&2
        failures=$((failures + 1))
    fi
}
finish() {
    ((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; }
    echo "all checks passed"
}
absent() { [[ ! -e $1 ]]; }
same() { cmp -s "$1" "$2"; }

# The sample host files, relative to the source folder: what both packages must carry.
samples() { (cd "$source" && printf '%s\n' dax.ini lang/*.ini); }

with_wine() {
    local state=$1
    export HOME=$state/home
    mkdir -p "$HOME"
    "$wine_env" start "$state" >/dev/null
    eval "$("$wine_env" env "$state")"
    # No menu entries of the installed shortcut on the Linux side.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}
win_env() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\tapkeys'
registered() { wine reg query "$1" >/dev/null 2>&1; }

# The uninstaller copies itself to the temp folder and returns at once; the copy does the work and
# drops the uninstall entry last.
uninstall_silently() {
    wine "$(winepath -w "$1/uninstall.exe")" /S
    for _ in $(seq 240); do
        registered "$uninstall_key" || return 0
        sleep 0.25
    done
    echo "the uninstaller did not finish within a minute" >&2
}

# A GUI that is still up after a few seconds has started; one that ended did so without a fault.
starts() {
    local rc=0
    (cd "$1" && timeout 5 wine "$(winepath -w "$1/tapkeys.exe")" >/dev/null 2>&1) || rc=$?
    echo "tapkeys.exe: status $rc (124: still running after 5 s)"
    [[ $rc == 0 || $rc == 124 ]]
}

check_build() {
    rm -rf "$out"
    "${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -B "$out" -G "ZIP;NSIS"
    expect "the ZIP was built" test -s "$out/$name.zip"
    expect "the installer was built" test -s "$out/$name.exe"
    finish
}

check_zip() {
    local listed expected
    listed=$(unzip -Z1 "$out/$name.zip" | grep -v '/$' | sort)
    expected=$( (printf '%s\n' tapkeys.exe README.md; samples) | sed "s|^|$name/|" | sort)
    expect "the ZIP holds the exe, README.md, dax.ini and lang/*.ini, and nothing else" \
        test "$listed" == "$expected"
    unpacked=$(mktemp -d)
    trap 'rm -rf "$unpacked"' EXIT
    unzip -q "$out/$name.zip" -d "$unpacked"
    expect "tapkeys.exe in the ZIP is the built exe" same "$unpacked/$name/tapkeys.exe" "$build/tapkeys.exe"
    local file
    for file in $(samples); do
        expect "$file in the ZIP has the bytes of the source" same "$unpacked/$name/$file" "$source/$file"
    done
    finish
}

check_installer() {
    local installer=$out/$name.exe folder start_menu
    expect "the installer asks for no administrator rights" grep -qa 'level="asInvoker"' "$installer"
    with_wine "$state"
    folder=$(unix_path "$(win_env LOCALAPPDATA)\\Programs\\tapkeys")
    start_menu=$(unix_path "$(win_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
    rm -rf "$folder" "$start_menu/tapkeys.lnk"
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

    expect "the silent install succeeds" wine "$(winepath -w "$installer")" /S
    expect "the default folder is %LOCALAPPDATA%\\Programs\\tapkeys" test -d "$folder"
    expect "tapkeys.exe is the built exe" same "$folder/tapkeys.exe" "$build/tapkeys.exe"
    local file
    for file in $(samples); do
        expect "$file is installed" same "$folder/$file" "$source/$file"
    done
    expect "the uninstaller is installed" test -s "$folder/uninstall.exe"
    expect "a Start-menu shortcut for this user starts tapkeys.exe" \
        grep -qa 'tapkeys.exe' "$start_menu/tapkeys.lnk"
    expect "the uninstaller is registered for this user" registered "$uninstall_key"
    expect "nothing is registered for all users" \
        bash -c "! wine reg query '${uninstall_key/HKCU/HKLM}' >/dev/null 2>&1"
    expect "the installed tapkeys.exe starts" starts "$folder"

    printf '[misc]\r\nSAFEMODE=1\r\n' >"$folder/tapkeys.ini"
    cp "$folder/tapkeys.ini" "$state/settings.expected"
    uninstall_silently "$folder"
    expect "the uninstaller removed tapkeys.exe" absent "$folder/tapkeys.exe"
    expect "the uninstaller removed the sample files" absent "$folder/dax.ini"
    expect "the uninstaller removed the lang folder" absent "$folder/lang"
    expect "the uninstaller removed itself and its record" \
        bash -c "[[ ! -e '$folder/uninstall.exe' && ! -e '$folder/uninstall.ini' ]]"
    expect "a silent uninstall keeps the user's settings" same "$folder/tapkeys.ini" "$state/settings.expected"
    expect "the Start-menu shortcut is gone" absent "$start_menu/tapkeys.lnk"
    expect "the uninstaller is no longer registered" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
    rm -rf "$folder"
    finish
}

check_host_folder() {
    local installer=$out/$name.exe host kept
    with_wine "$state"
    host=$(unix_path 'C:\dax-host')
    kept=$state/host-files
    rm -rf "$host" "$kept"
    mkdir -p "$host/lang" "$kept"
    printf '[general]\r\nUSEDLANGUAGE=de\r\n' >"$host/dax.ini"
    printf '[osk]\r\nKEYMAP_NORMAL=the host'"'"'s own\r\n' >"$host/lang/de.ini"
    printf '[osk]\r\nKEYMAP_NORMAL=a language tapkeys does not ship\r\n' >"$host/lang/xx.ini"
    cp -r "$host/." "$kept/"

    expect "the silent install succeeds" wine "$(winepath -w "$installer")" /S '/D=C:\dax-host'
    expect "tapkeys.exe is installed beside the host" same "$host/tapkeys.exe" "$build/tapkeys.exe"
    local file
    for file in dax.ini lang/de.ini lang/xx.ini; do
        expect "the host's $file is left as it was" same "$host/$file" "$kept/$file"
    done
    for file in $(samples); do
        [[ -e $kept/$file ]] || expect "the missing $file is added" same "$host/$file" "$source/$file"
    done

    # Installing again over the first install must not forget which files were its own.
    expect "a second install succeeds" wine "$(winepath -w "$installer")" /S '/D=C:\dax-host'
    expect "a second install leaves the host's dax.ini" same "$host/dax.ini" "$kept/dax.ini"

    uninstall_silently "$host"
    expect "the uninstaller removed tapkeys.exe" absent "$host/tapkeys.exe"
    for file in dax.ini lang/de.ini lang/xx.ini; do
        expect "the host's $file outlives the uninstall" same "$host/$file" "$kept/$file"
    done
    for file in $(samples); do
        [[ -e $kept/$file ]] || expect "the added $file is removed" absent "$host/$file"
    done
    expect "the uninstaller removed itself and its record" \
        bash -c "[[ ! -e '$host/uninstall.exe' && ! -e '$host/uninstall.ini' ]]"
    rm -rf "$host" "$kept"
    finish
}

case ${1:-} in
wine-start) with_wine "${2:?state}" ;;
wine-stop) HOME=${2:?state}/home "$wine_env" stop "$2" ;;
build | zip | installer | host-folder)
    build=${2:?build folder} out=${3:?package folder} name=${4:?package name}
    source=${5:-} state=${6:-}
    case $1 in
    build) check_build ;;
    zip) check_zip ;;
    installer) check_installer ;;
    host-folder) check_host_folder ;;
    esac
    ;;
*) echo "usage: $0 build|zip|installer|host-folder|wine-start|wine-stop ..." >&2; exit 2 ;;
esac
