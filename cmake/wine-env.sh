#!/usr/bin/env bash
# Private Wine environment for tests and local runs: an Xvfb display of its own and a WINEPREFIX inside
# the given state folder, so neither the user's display nor the user's Wine prefix is ever touched.
#   wine-env.sh start STATE [WIDTHxHEIGHT] [DPI]   start (or reuse) the display and the prefix
#   wine-env.sh stop STATE                          stop wineserver and the display
#   wine-env.sh env STATE                           print the variables to export
#   wine-env.sh prefix STATE                        only prepare the prefix, for the caller's own display
# TAPKEYS_XKB=de (fr, es...) gives the display that X keyboard layout, which Wine takes over as it starts. Wine
# recognises a national layout only in a locale whose 8-bit character set holds its letters, so the
# state folder gets a Latin-1 locale of that language, which `env` then exports.
set -euo pipefail
cmd=${1:?start|stop|env}
state=$(mkdir -p "${2:?state folder}" && cd "$2" && pwd)
size=${3:-1024x768}
dpi=${4:-96}

export WINEPREFIX=$state/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A Latin-1 locale for the X keyboard layout, built once into the state folder.
# None for a layout without such a locale (us), so Wine runs in the caller's locale again.
make_locale() {
    local name=${TAPKEYS_XKB}_${TAPKEYS_XKB^^}.ISO-8859-1
    mkdir -p "$state/locale"
    rm -f "$state/locale/name"
    [[ -d $state/locale/$name ]] || localedef -i "${name%.*}" -f ISO-8859-1 "$state/locale/$name" \
        >/dev/null 2>&1 || return 0
    echo "$name" >"$state/locale/name"
}

export_locale() {
    if [[ -s $state/locale/name ]]; then
        export LOCPATH=$state/locale LANG=$(cat "$state/locale/name")
    fi
}

display_alive() {
    [[ -f $state/xvfb.pid && -f $state/display ]] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_display() {
    rm -f "$state/display"
    exec {fd}>"$state/display"
    Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp -noreset >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    exec {fd}>&-
    for _ in $(seq 100); do
        [[ -s $state/display ]] && break
        sleep 0.05
    done
    [[ -s $state/display ]] || { echo "Xvfb did not start: $(cat "$state/xvfb.log")" >&2; exit 1; }
}

reg() { wine reg add "$@" /f >/dev/null 2>&1; }

prepare_prefix() {
    local stamp=$state/prefix/.tapkeys-$size-$dpi
    [[ -f $stamp ]] && return
    wineboot -i >/dev/null 2>&1 || true
    # Every program opens in one virtual desktop the size of the display: Wine then manages
    # activation and focus itself, as Windows would, and xdotool's screen pixels are Windows pixels.
    if [[ $size != none ]]; then
        reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
        reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size"
    fi
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
    reg 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi"
    # Debian's Wine does not find the fonts it ships (Marlett, Wingdings, Tahoma...); the prefix's own
    # font folder always works.
    cp -f /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    rm -f "$state"/prefix/.tapkeys-*
    touch "$stamp"
}

case $cmd in
start)
    display_alive || start_display
    export DISPLAY=:$(cat "$state/display")
    if [[ -n ${TAPKEYS_XKB:-} ]]; then
        setxkbmap -display "$DISPLAY" "$TAPKEYS_XKB"
        make_locale
    fi
    export_locale
    prepare_prefix
    wineserver -p >/dev/null 2>&1 || true
    # Boot the prefix's services (and the desktop) here, away from the caller's output: started by
    # the first test program instead, they would hold its output pipe open and ctest would wait for
    # them until the test timed out.
    wine wineboot >/dev/null 2>&1 </dev/null || true
    ;;
stop)
    wineserver -k >/dev/null 2>&1 || true
    if [[ -f $state/xvfb.pid ]]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
prefix)
    size=none
    prepare_prefix
    ;;
env)
    display_alive || { echo "no display running for $state" >&2; exit 1; }
    export_locale
    echo "export DISPLAY=:$(cat "$state/display") WINEPREFIX=$WINEPREFIX WINEDEBUG=$WINEDEBUG WINEDLLOVERRIDES='$WINEDLLOVERRIDES'" \
        ${LOCPATH:+LOCPATH=$LOCPATH LANG=$LANG}
    ;;
*) echo "usage: $0 start|stop|env|prefix STATE [WxH] [DPI]" >&2; exit 2 ;;
esac
