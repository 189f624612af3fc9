#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-fuzz/) and runs each, one after the other, from its seed corpus in fuzz/corpus/NAME
# with its dictionary in fuzz/dict/NAME.dict if there is one. New corpus entries, crash inputs
# and each run's log go to a scratch folder ($DVRKIT_FUZZ_WORK, default /tmp/dvrkit-fuzz), never
# into the repository. Every target runs under nice, since the machine is shared.
#   bash scripts/fuzz.sh [--runs N | --seconds S] [target...]
# Without targets, every target of fuzz/CMakeLists.txt runs; the default is --seconds 60. Given
# both, --runs and --seconds each end a target's run, whichever comes first.
# Exit status 1 when a target found a fault (its input is in the scratch folder).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
work=${DVRKIT_FUZZ_WORK:-/tmp/dvrkit-fuzz}
runs=() seconds=()

usage() {
    echo "usage: bash scripts/fuzz.sh [--runs N | --seconds S] [target...]" >&2
    exit 2
}

targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) [ $# -ge 2 ] || usage; runs=(-runs="$2"); shift 2 ;;
        --seconds) [ $# -ge 2 ] || usage; seconds=(-max_total_time="$2"); shift 2 ;;
        -h|--help) usage ;;
        -*) usage ;;
        *) targets+=("$1"); shift ;;
    esac
done
[ ${#runs[@]} -eq 0 ] && [ ${#seconds[@]} -eq 0 ] && seconds=(-max_total_time=60)
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(sed -n 's/^dvrkit_fuzz(\([a-z0-9_]*\) .*/\1/p' "$root/fuzz/CMakeLists.txt")
fi

# Clang and its libFuzzer runtime (a package of its own on Debian).
fuzzer_links() {
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer,address,undefined -o /dev/null - 2>/dev/null
}
if ! command -v clang++ >/dev/null || ! fuzzer_links; then
    [ "$(id -u)" -eq 0 ] || { echo "fuzz: clang with libFuzzer is missing; run as root to install it" >&2; exit 1; }
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null
    fuzzer_links || { echo "fuzz: clang cannot link libFuzzer programs" >&2; exit 1; }
fi

[ -f /work/ccache.env ] && source /work/ccache.env
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVRKIT_FUZZ=ON \
        -DDVRKIT_TESTS=OFF -DDVRKIT_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

# The targets that load their input from a file write it to a folder in TMPDIR: memory is faster.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

found=0
printf '%-16s %12s %9s %7s %7s  %s\n' target executions exec/s cov ft result
for t in "${targets[@]}"; do
    corpus="$work/$t"
    mkdir -p "$corpus" "$work/$t-faults"
    options=("${runs[@]}" "${seconds[@]}" -timeout=10 -print_final_stats=1 -artifact_prefix="$work/$t-faults/")
    [ -f "$root/fuzz/dict/$t.dict" ] && options+=(-dict="$root/fuzz/dict/$t.dict")
    log="$work/$t.log"
    result=clean
    nice -n 19 "$build/fuzz/fuzz_$t" "${options[@]}" "$corpus" "$root/fuzz/corpus/$t" >"$log" 2>&1 || {
        result="FAULT (see $log and $work/$t-faults)"
        found=1
    }
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    printf '%-16s %12s %9s %7s %7s  %s\n' "$t" "${executed:--}" "${rate:--}" "${cov:--}" "${ft:--}" "$result"
done
exit $found
