#!/usr/bin/env bash
# Builds tapkeys.exe, the floor program and the helpers, and runs the benchmarks (about 15 minutes with
# the defaults); any option is passed on to bench.py, e.g. --only latency,startup --presses 100.
# The table goes to build/bench-win/bench-results.md, every figure to build/bench-win/bench-results.json.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench-win
command -v xvkbd >/dev/null || { echo "bench: xvkbd is missing (./tapkeys.sh deps installs it)" >&2; exit 1; }
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tapkeys bench_floor bench_gui_objects bench_ksr tapkeys_e2e_target \
    tapkeys_e2e_layout_points
exec python3 bench/bench.py --exe "$build/tapkeys.exe" --floor "$build/bench/bench_floor.exe" \
    --gui-objects "$build/bench/bench_gui_objects.exe" --target "$build/tests/e2e/tapkeys_e2e_target.exe" \
    --layout-tool "$build/tests/e2e/tapkeys_e2e_layout_points.exe" --ksr "$build/bench/bench_ksr.exe" \
    --state "$build/bench-wine" \
    --json "$build/bench-results.json" --markdown "$build/bench-results.md" "$@"
