#!/usr/bin/env bash
# tapkeys on Linux: cross-builds the Windows program and runs it, or its tests, under Wine.
#   ./tapkeys.sh run    build tapkeys.exe and start it (with Wine's Notepad to type into)
#   ./tapkeys.sh test   build everything and run every test
#   ./tapkeys.sh deps   install the Debian packages the two need
#   ./tapkeys.sh fuzz [SECONDS]     run each libFuzzer target for SECONDS (default 60; part of test)
#   ./tapkeys.sh soak [PRESSES]     the full soak: PRESSES key presses in each mode (default 10000)
#   ./tapkeys.sh bench [OPTIONS]    the benchmarks against the floor program and xvkbd (bench/bench.py)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest clang clang-format
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine fonts-liberation
          xvfb xauth xdotool x11-utils imagemagick python3 nsis zip unzip libclang-rt-14-dev)
# Only the benchmarks compare against xvkbd; CI does not run them.
bench_packages=(xvkbd)

install_deps() {
    local missing=()
    for p in "${packages[@]}" "$@"; do
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
    fuzz 60 || failed=1
    for preset in native native-sanitize windows; do
        build "$preset"
        ctest --preset "$preset" -j2 || failed=1
    done
    return $failed
}

# Fuzzing: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, a bounded time per
# target from the checked-in seed corpus; any finding fails.
fuzz() {
    install_deps
    fuzz/run.sh "${1:-60}"
}

# The full soak. The Windows tests run a short one (1000 presses in each mode) every time.
soak() {
    install_deps
    build windows
    local b=build/windows
    python3 bench/soak.py --exe $b/tapkeys.exe --target $b/tests/e2e/tapkeys_e2e_target.exe \
        --layout-tool $b/tests/e2e/tapkeys_e2e_layout_points.exe --gui-objects $b/bench/bench_gui_objects.exe \
        --clear-target $b/bench/bench_clear_target.exe --state $b/soak-wine --presses "${1:-10000}"
}

bench() {
    install_deps "${bench_packages[@]}"
    bench/run.sh "$@"
}

case ${1:-} in
run) run ;;
test) test_all ;;
deps) install_deps "${bench_packages[@]}" ;;
fuzz) fuzz "${2:-60}" ;;
soak) soak "${2:-10000}" ;;
bench) shift; bench "$@" ;;
*) echo "usage: $0 run|test|deps|fuzz|soak|bench" >&2; exit 2 ;;
esac
