#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once in release, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for flavour in release sanitize; do
  echo "== $flavour build"
  bash scripts/build.sh "$flavour"
  dir=build; [ "$flavour" = sanitize ] && dir=build-sanitize
  echo "== $flavour tests"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
done
