#!/usr/bin/env bash
# Builds the speed bench (RelWithDebInfo, in build-bench/) and runs it headless
# on a generated market of 2.5 million lines, or of N with --lines N; with
# --check it fails when a target is missed:
#   ./bench.sh [--lines N] [--runs R] [--check]
set -euo pipefail
cd "$(dirname "$0")"
./tools/build.sh --bench >/dev/null
QT_QPA_PLATFORM=offscreen ./build-bench/bench/valmeq_bench "$@"
