#!/usr/bin/env bash
# Configures and builds Valmeq in build/: the given targets, or everything
# (tests included) when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."
"./tools/deps.sh"
cmake -S . -B build -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" ${1:+--target "$@"}
