#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS seconds, one after another.
#   fuzz/run.sh SECONDS BUILD_DIR [TARGET...]     TARGET: cuttext cutbinary profile numberconv (default all)
# New inputs go to BUILD_DIR/corpus/<target>; the seeds in fuzz/corpus/<target> are only read.
# A finding is saved as BUILD_DIR/findings/<target>-crash-... and ends the script with status 1.
# Exit status 77 (a skip for CTest) when clang's fuzzer runtime is missing.
set -euo pipefail

seconds="$1"
build="$(realpath -m "$2")"
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(cuttext cutbinary profile numberconv)
here="$(cd "$(dirname "$0")" && pwd)"

probe_dir="$(mktemp -d)"
trap 'rm -rf "$probe_dir"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
    >"$probe_dir/probe.cpp"
if ! command -v clang++ >/dev/null ||
    ! clang++ -fsanitize=fuzzer,address,undefined "$probe_dir/probe.cpp" -o "$probe_dir/probe" \
        2>/dev/null; then
    echo "fuzz: skipped, clang++ with its libFuzzer runtime is missing" \
        "(Debian packages clang and libclang-rt-dev; scripts/install-deps.sh installs them)"
    exit 77
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/findings"
    log="$build/fuzz_$target.log"
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="$here/$target.dict" -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "$here/corpus/$target" >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        echo "fuzz_$target: $runs runs in $seconds s, no finding"
    else
        echo "fuzz_$target: FINDING (log: $log)"
        grep -E 'ERROR|invariant broken|SUMMARY|Test unit written' "$log" || tail -n 20 "$log"
        status=1
    fi
done
exit $status
