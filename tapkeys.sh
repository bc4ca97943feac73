#!/usr/bin/env bash
# tapkeys on Linux: cross-builds the Windows program and runs it, or its tests, under Wine.
#   ./tapkeys.sh run    build tapkeys.exe and start it (with Wine's Notepad to type into)
#   ./tapkeys.sh test   build everything and run every test
#   ./tapkeys.sh deps   install the Debian packages the two need
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest clang clang-format
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine fonts-liberation
          xvfb xauth xdotool x11-utils imagemagick python3 nsis zip unzip)

install_deps() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    local sudo=; ((EUID == 0)) || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" "${@:2}"
}

run() {
    install_deps
    build windows --target tapkeys
    local state=build/run
    mkdir -p "$state"
    if [[ -z ${DISPLAY:-} ]]; then
        # No display: start a virtual one of our own (view it with any X client, e.g. x11vnc).
        cmake/wine-env.sh start "$state/wine"
        eval "$(cmake/wine-env.sh env "$state/wine")"
        echo "tapkeys runs on the virtual display $DISPLAY"
    else
        cmake/wine-env.sh prefix "$state/wine"
        export WINEPREFIX=$PWD/$state/wine/prefix WINEDEBUG=-all
    fi
    cp build/windows/tapkeys.exe "$state/"
    [[ -d lang ]] && cp -r lang "$state/" && cp -f dax.ini "$state/" 2>/dev/null || true
    wine notepad >/dev/null 2>&1 &
    exec wine "$state/tapkeys.exe"
}

test_all() {
    install_deps
    local failed=0
    for preset in native native-sanitize windows; do
        build "$preset"
        ctest --preset "$preset" -j2 || failed=1
    done
    return $failed
}

case ${1:-} in
run) run ;;
test) test_all ;;
deps) install_deps ;;
*) echo "usage: $0 run|test|deps" >&2; exit 2 ;;
esac
