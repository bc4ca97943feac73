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
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2 && failures=$((failures + 1)); fi
}
absent() { [[ ! -e $1 ]]; }
same() { cmp -s "$1" "$2"; }
not() { ! "$@"; }

# The sample host files, relative to the source folder: what both packages must carry.
samples() { (cd "$source" && printf '%s\n' dax.ini lang/*.ini); }

with_wine() {
    export HOME=$1/home
    mkdir -p "$HOME"
    "$wine_env" start "$1" >/dev/null
    eval "$("$wine_env" env "$1")"
    # No menu entries of the installed shortcut on the Linux side.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}
unix_path() { winepath -u "$1" 2>/dev/null; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\tapkeys'
registered() { wine reg query "$1" >/dev/null 2>&1; }
install() { wine "$(winepath -w "$out/$name.exe")" /S "$@"; }

# The uninstaller copies itself to the temp folder and returns at once; the copy does the work and
# drops the uninstall entry last. Then it and its record are gone.
uninstall_silently() {
    wine "$(winepath -w "$1/uninstall.exe")" /S
    for _ in $(seq 240); do registered "$uninstall_key" || break; sleep 0.25; done
    expect "the uninstaller removed tapkeys.exe, itself and its record" \
        bash -c "[[ ! -e '$1/tapkeys.exe' && ! -e '$1/uninstall.exe' && ! -e '$1/uninstall.ini' ]]"
    expect "the uninstaller is no longer registered" not registered "$uninstall_key"
}

# A GUI that is still up after a few seconds has started; one that ended did so without a fault.
starts() {
    local rc=0
    (cd "$1" && timeout 5 wine "$(winepath -w "$1/tapkeys.exe")" >/dev/null 2>&1) || rc=$?
    [[ $rc == 0 || $rc == 124 ]]
}

check_build() {
    rm -rf "$out"
    "${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -B "$out" -G "ZIP;NSIS"
    expect "the ZIP and the installer were built" test -s "$out/$name.zip" -a -s "$out/$name.exe"
}

check_zip() {
    local listed expected file
    listed=$(unzip -Z1 "$out/$name.zip" | grep -v '/$' | sort)
    expected=$( (printf '%s\n' tapkeys.exe README.md; samples) | sed "s|^|$name/|" | sort)
    expect "the ZIP holds the exe, README.md, dax.ini and lang/*.ini, and nothing else" test "$listed" == "$expected"
    unpacked=$(mktemp -d)
    trap 'rm -rf "$unpacked"' EXIT
    unzip -q "$out/$name.zip" -d "$unpacked"
    expect "tapkeys.exe in the ZIP is the built exe" same "$unpacked/$name/tapkeys.exe" "$build/tapkeys.exe"
    for file in $(samples); do expect "$file in the ZIP is the source" same "$unpacked/$name/$file" "$source/$file"; done
}

check_installer() {
    local folder start_menu file
    expect "the installer asks for no administrator rights" grep -qa 'level="asInvoker"' "$out/$name.exe"
    with_wine "$state"
    folder=$(unix_path "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\tapkeys")
    start_menu=$(unix_path "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
    rm -rf "$folder" "$start_menu/tapkeys.lnk"
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

    expect "the silent install succeeds" install
    expect "tapkeys.exe is the built exe in %LOCALAPPDATA%\\Programs\\tapkeys" same "$folder/tapkeys.exe" "$build/tapkeys.exe"
    for file in $(samples); do expect "$file is installed" same "$folder/$file" "$source/$file"; done
    expect "the uninstaller is installed" test -s "$folder/uninstall.exe"
    expect "a Start-menu shortcut for this user starts tapkeys.exe" grep -qa 'tapkeys.exe' "$start_menu/tapkeys.lnk"
    expect "the uninstaller is registered for this user" registered "$uninstall_key"
    expect "nothing is registered for all users" not registered "${uninstall_key/HKCU/HKLM}"
    expect "the installed tapkeys.exe starts" starts "$folder"

    printf '[misc]\r\nSAFEMODE=1\r\n' >"$folder/tapkeys.ini"
    cp "$folder/tapkeys.ini" "$state/settings.expected"
    uninstall_silently "$folder"
    expect "the uninstaller removed the sample files and the lang folder" \
        bash -c "[[ ! -e '$folder/dax.ini' && ! -e '$folder/lang' ]]"
    expect "a silent uninstall keeps the user's settings" same "$folder/tapkeys.ini" "$state/settings.expected"
    expect "the Start-menu shortcut is gone" absent "$start_menu/tapkeys.lnk"
    rm -rf "$folder"
}

# Installing beside the host keeps the host's own files, adds only the missing samples, remembers on a
# second install which files were its own, and removes only those.
check_host_folder() {
    local host kept file
    with_wine "$state"
    host=$(unix_path 'C:\dax-host')
    kept=$state/host-files
    rm -rf "$host" "$kept"
    mkdir -p "$host/lang" "$kept"
    printf '[general]\r\nUSEDLANGUAGE=de\r\n' >"$host/dax.ini"
    printf '[osk]\r\nKEYMAP_NORMAL=the host'"'"'s own\r\n' >"$host/lang/de.ini"
    printf '[osk]\r\nKEYMAP_NORMAL=a language tapkeys does not ship\r\n' >"$host/lang/xx.ini"
    cp -r "$host/." "$kept/"

    expect "the silent install succeeds" install '/D=C:\dax-host'
    expect "a second install succeeds" install '/D=C:\dax-host'
    expect "tapkeys.exe is installed beside the host" same "$host/tapkeys.exe" "$build/tapkeys.exe"
    for file in dax.ini lang/de.ini lang/xx.ini; do expect "the host's $file is kept" same "$host/$file" "$kept/$file"; done
    for file in $(samples); do
        [[ -e $kept/$file ]] || expect "the missing $file is added" same "$host/$file" "$source/$file"
    done
    uninstall_silently "$host"
    for file in dax.ini lang/de.ini lang/xx.ini; do expect "the host's $file outlives the uninstall" same "$host/$file" "$kept/$file"; done
    for file in $(samples); do [[ -e $kept/$file ]] || expect "the added $file is removed" absent "$host/$file"; done
    rm -rf "$host" "$kept"
}

case ${1:-} in
wine-start) with_wine "${2:?state}" ;;
wine-stop) HOME=${2:?state}/home "$wine_env" stop "$2" ;;
build | zip | installer | host-folder)
    build=${2:?build folder} out=${3:?package folder} name=${4:?package name} source=${5:-} state=${6:-}
    "check_${1/-/_}"
    ((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; }
    echo "all checks passed"
    ;;
*) echo "usage: $0 build|zip|installer|host-folder|wine-start|wine-stop ..." >&2; exit 2 ;;
esac
