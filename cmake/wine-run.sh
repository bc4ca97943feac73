#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR: runs one Windows program under the private Wine of STATE, starting
# the display and the prefix first when no test fixture has done so.
set -euo pipefail
state=${1:?state folder}; shift
here=$(cd "$(dirname "$0")" && pwd)
# eval of an empty text succeeds, so test the env command itself before trusting its output.
if ! vars=$("$here/wine-env.sh" env "$state" 2>/dev/null); then
    "$here/wine-env.sh" start "$state"
    vars=$("$here/wine-env.sh" env "$state")
fi
eval "$vars"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exe=$1; shift
exec wine "$exe" "$@"
