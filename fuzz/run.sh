#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time, starting from the checked-in seed corpus in fuzz/corpus/<target>/.
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     default 60 s, every target
# Any crash, sanitizer finding, broken property or time-out fails the run; the input that did it is left
# in build/fuzz/artifacts/ (reproduce with: build/fuzz/fuzz/<target> <that file>).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=("${@:2}")
((${#targets[@]})) || targets=(fuzz_key_string fuzz_settings fuzz_language_key_map)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
out=build/fuzz
failed=()
for target in "${targets[@]}"; do
    # New inputs go to a scratch corpus; the checked-in seeds are only read.
    mkdir -p "$out/artifacts" "$out/corpus/$target"
    echo "== $target: ${seconds} s"
    "$out/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" "$out/corpus/$target" \
        "fuzz/corpus/$target" >"$out/$target.log" 2>&1 || { failed+=("$target"); tail -n 40 "$out/$target.log"; }
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' "$out/$target.log" || true
done
((${#failed[@]} == 0)) || { echo "fuzz: failed: ${failed[*]}"; exit 1; }
echo "fuzz: ${#targets[@]} targets ran ${seconds} s each without a finding"
