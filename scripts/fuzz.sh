#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 600) with AddressSanitizer
# and UBSan, over the kept corpus fuzz/corpus/<target> (the target's name
# without "fuzz_"). After each run the corpus is merged with what the run
# found and minimised, so it keeps only inputs that reach new code; commit it
# when it has grown. Inputs that crash are kept under fuzz/artifacts/<target>/
# and fail the script.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# FUZZ_BUILD names the build folder (default build-fuzz); FUZZ_RUNS, when
# set, also stops each target after that many executions. One process per
# target at a time: the machine is shared.
#
# AddressSanitizer's default quarantine (256 MB of freed blocks kept poisoned)
# halves the speed of the allocation-heavy targets and is far more than one
# input frees; 16 MB still holds every block an input frees, so a use after
# free inside one input is still caught. Allocation stacks are cut to four
# frames; rerun a crash input with ASAN_OPTIONS unset for the full stack.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
build=${FUZZ_BUILD:-build-fuzz}
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=4}
runs_limit=()
if [ -n "${FUZZ_RUNS:-}" ]; then runs_limit=(-runs="$FUZZ_RUNS"); fi
clang=${CLANGXX:-$(command -v clang++ || true)}
if [ -z "$clang" ]; then echo "fuzz: clang++ not found (scripts/setup.sh installs it)"; exit 1; fi

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$clang" >/dev/null
if ! cmake --build "$build" -j 2 >"$build/build.log" 2>&1; then
    tail -20 "$build/build.log"
    echo "fuzz: building the fuzz targets failed"
    exit 1
fi

# Map seeds: the golden map texts, packed by wdmtool when it is built.
seeds="$build/seeds"
mkdir -p "$seeds"
for wdmtool in build/bin/wdmtool build-debug/bin/wdmtool; do
    [ -x "$wdmtool" ] || continue
    for text in tests/data/wdm/*.txt; do
        "$wdmtool" pack "$text" "$seeds/$(basename "$text" .txt).Wdm" >/dev/null 2>&1 || true
    done
    break
done

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for bin in "$build"/fuzz_*; do [ -x "$bin" ] && targets+=("$(basename "$bin")"); done
fi

failed=0
summary=""
for target in "${targets[@]}"; do
    bin="$build/$target"
    name=${target#fuzz_}
    corpus="fuzz/corpus/$name"
    found="$build/found/$name"
    artifacts="fuzz/artifacts/$target"
    mkdir -p "$corpus" "$found" "$artifacts"
    extra=()
    case "$name" in wdm_*) extra=("$seeds") ;; esac
    echo "fuzz: $target for $seconds s"
    log="$build/$target.log"
    status=0
    started=$SECONDS
    "$bin" -max_total_time="$seconds" "${runs_limit[@]}" -timeout=10 -rss_limit_mb=500 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" \
        "$found" "$corpus" "${extra[@]}" >"$log" 2>&1 || status=$?
    elapsed=$((SECONDS - started))
    runs=$(awk '/stat::number_of_executed_units/ {n += $NF} END {print n + 0}' "$log")
    # Merge and minimise: the kept corpus becomes the smallest set of inputs
    # (old and new) that covers what they all cover.
    merged="$build/merged/$name"
    rm -rf "$merged"
    mkdir -p "$merged"
    "$bin" -merge=1 -timeout=10 -rss_limit_mb=500 "$merged" "$corpus" "$found" "${extra[@]}" >>"$log" 2>&1
    # Hand-named seeds (regression inputs among them) keep their names.
    for seed in "$corpus"/*; do
        base=$(basename "$seed")
        [[ "$base" =~ ^[0-9a-f]{40}$ ]] && continue
        rm -f "$merged/$(sha1sum "$seed" | cut -c1-40)"
        cp "$seed" "$merged/$base"
    done
    rm -rf "$corpus" "$found"
    mv "$merged" "$corpus"
    files=$(find "$corpus" -type f | wc -l)
    peak=$(awk '/stat::peak_rss_mb/ {if ($NF > p) p = $NF} END {print p + 0}' "$log")
    result="$target: $runs runs in $elapsed s, peak $peak MB, corpus $files files"
    if [ "$status" -ne 0 ]; then
        failed=1
        result="$result, FAILED (status $status; inputs in $artifacts, log $log)"
        grep -m 5 -E "ERROR|runtime error|SUMMARY" "$log" || true
    fi
    rmdir "$artifacts" 2>/dev/null || true
    summary="$summary$result\n"
done
printf "%b" "$summary"
exit "$failed"
