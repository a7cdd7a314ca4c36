#!/usr/bin/env bash
# Configures and builds Valmeq in build/ (tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
"./tools/deps.sh"
cmake -S . -B build -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
