#!/usr/bin/env bash
# Builds the speed bench (RelWithDebInfo, in build-bench/) and runs it headless
# on a generated store of a million lines, or of N with --lines N:
#   ./bench.sh [--lines N] [--runs R]
set -euo pipefail
cd "$(dirname "$0")"
./tools/build.sh --bench >/dev/null
QT_QPA_PLATFORM=offscreen ./build-bench/bench/valmeq_bench "$@"
