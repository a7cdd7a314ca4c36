#!/usr/bin/env bash
# Builds Valmeq and runs every test headless through CTest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
