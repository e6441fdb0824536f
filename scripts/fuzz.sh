#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a while, starting from its seed corpus in tests/data/fuzz/<target>/.
#   scripts/fuzz.sh [seconds per target] [target ...]
# Environment: FUZZ_BUILD (build folder, default build/fuzz), FUZZ_JOBS (parallel build jobs).
# New inputs go to $FUZZ_BUILD/corpus/<target>/, crashes to $FUZZ_BUILD/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(archive uninstall_log path_macros strict_integer manifest)
build=${FUZZ_BUILD:-build/fuzz}

sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
  -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "${FUZZ_JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/artifacts"
# libFuzzer ends without running static destructors: the targets' scratch folders
# go to a temporary folder of the build's own, emptied after each target.
export TMPDIR=$(cd "$build" && pwd)/tmp
status=0
for target in "${targets[@]}"; do
  printf '\n==== fuzz_%s for %s s\n' "$target" "$seconds"
  mkdir -p "$build/corpus/$target" "$TMPDIR"
  max_len=4096
  [ "$target" != archive ] || max_len=16384
  "$build/tests/reliability/fuzz_$target" "$build/corpus/$target" "tests/data/fuzz/$target" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 || status=1
  rm -rf "$TMPDIR"
done
exit $status
