#!/usr/bin/env bash
# Configures and builds one flavour of the tree.
#   scripts/build.sh [release|sanitize]   (default release)
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
# Each program is built in one flavour only: the fuzz targets' smoke tests where they run under
# the sanitizers, the benchmarks (run by hand, not by the tests) in release.
case "$flavour" in
  release)  dir=build;          extra=(-DCMAKE_BUILD_TYPE=Release -DDVRKIT_FUZZ_SMOKE=OFF) ;;
  sanitize) dir=build-sanitize; extra=(-DCMAKE_BUILD_TYPE=Debug -DDVRKIT_SANITIZE=ON -DDVRKIT_BENCH=OFF) ;;
  *) echo "build: unknown flavour '$flavour' (release or sanitize)" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -DDVRKIT_WERROR=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
