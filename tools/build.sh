#!/usr/bin/env bash
# Configures and builds Valmeq, then the given targets, or everything (tests
# included) when none is given:
#   tools/build.sh [target...]             in build/ (RelWithDebInfo)
#   tools/build.sh --sanitize [target...]  in build-sanitize/, with AddressSanitizer
#                                          and UndefinedBehaviorSanitizer (-O1 -g)
#   tools/build.sh --bench                 the speed bench only, in build-bench/
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "${1:-}" in
  --sanitize)
    shift
    dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" -DVALMEQ_SANITIZE=ON)
    ;;
  --bench)
    shift
    dir=build-bench
    set -- valmeq_bench
    ;;
esac
"./tools/deps.sh"
# A compiler cache, when the machine has one, spares rebuilding what another
# checkout already built.
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD"
fi
cmake -S . -B "$dir" -DBUILD_TESTING=ON "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" ${1:+--target "$@"}
