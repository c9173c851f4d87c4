#!/bin/sh
# Runs every test level and ends with one summary line:
# native unit tests (plain, ASan+UBSan, TSan), then the Windows-level and
# end-to-end tests under Wine on a private Xvfb.
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here" || exit 1
log="$here/build/test-summary.txt"
: > "$log"

run_ctest() { # name, build dir, extra ctest args...
    name=$1; dir=$2; shift 2
    echo "==== $name tests ($dir)"
    out="$here/build/ctest-$name.log"
    ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$out"
    line=$(grep -E "tests passed|tests failed" "$out" | tail -1)
    [ -n "$line" ] || line="0% tests passed, 1 tests failed out of 1 (no result)"
    echo "$name: $line" >> "$log"
}

run_ctest native build/native
run_ctest asan build/asan
run_ctest tsan build/tsan
# The fuzz targets (INI loader, title parser, lyrics query, UTF-8 stepping), a few seconds
# each: enough to replay the seed corpora and catch what breaks at once.
# Long runs are `make fuzz`.
echo "==== fuzz (5 s per target)"
tools/fuzz.sh 5 2>&1 | tee "$here/build/fuzz.log"
fuzz_total=$(grep -c " executions, " "$here/build/fuzz.log")
fuzz_failed=$(grep -c " executions, FAILED" "$here/build/fuzz.log")
[ "$fuzz_total" -gt 0 ] || { fuzz_total=1; fuzz_failed=1; }
echo "fuzz: $((100 * (fuzz_total - fuzz_failed) / fuzz_total))% tests passed, $fuzz_failed tests failed out of $fuzz_total" >> "$log"

export WINEPREFIX="$here/build/wineprefix"
tools/with-xvfb sh -c "
    $(command -v ctest) --test-dir build/win --output-on-failure -j 2 2>&1 | tee '$here/build/ctest-windows.log'
"
line=$(grep -E "tests passed|tests failed" "$here/build/ctest-windows.log" | tail -1)
[ -n "$line" ] || line="0% tests passed, 1 tests failed out of 1 (no result)"
echo "windows: $line" >> "$log"

echo "==== summary"
cat "$log"
total=0; failed=0
while read -r _ pct _ _ n _ _ _ _ all _; do
    total=$((total + all)); failed=$((failed + n))
done < "$log"
passed=$((total - failed))
pct=0; [ "$total" -gt 0 ] && pct=$((100 * passed / total))
echo "$pct% tests passed, $failed tests failed out of $total"
[ "$failed" -eq 0 ] && [ "$total" -gt 0 ]
