#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a while.
# Usage: tools/fuzz.sh [seconds per target, default 20]
# The build goes to $TG_FUZZ_BUILD (default build/fuzz); the seed corpora in
# tests/fuzz/corpus/ are read, never written: new inputs and any crashing
# input go under the build directory.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
build=${TG_FUZZ_BUILD:-$here/build/fuzz}
targets="ini_fuzz title_fuzz lyrics_fuzz utf8_fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTG_FUZZ=ON -DTG_SANITIZE=fuzzer-no-link,address,undefined >/dev/null
fi
# shellcheck disable=SC2086
cmake --build "$build" -j 2 --target $targets >/dev/null

status=0
summary=""
for target in $targets; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    log="$build/$target.log"
    echo "==== $target ($seconds s)"
    if "$build/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$here/tests/fuzz/corpus/$target" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log and $artifacts)"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary="$summary$target: ${runs:-0} executions, $result
"
done
echo "==== fuzz summary"
printf '%s' "$summary"
exit $status
