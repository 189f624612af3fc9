#!/usr/bin/env bash
# Sets up, builds and runs the demo host: `scripts/demo.sh [DIR]`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh release >/dev/null
exec build/tools/dvrkit/dvrkit demo "$@"
