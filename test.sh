#!/usr/bin/env bash
# Builds Valmeq and runs every test headless through CTest.
#   ./test.sh             in build/
#   ./test.sh --sanitize  in build-sanitize/, under AddressSanitizer (leaks
#                         included) and UndefinedBehaviorSanitizer: any report
#                         fails its test
set -euo pipefail
cd "$(dirname "$0")"
case "${1:-}" in
  "")
    ./tools/build.sh
    dir=build
    ;;
  --sanitize)
    ./tools/build.sh --sanitize
    dir=build-sanitize
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    ;;
  *)
    echo "usage: $0 [--sanitize]" >&2
    exit 2
    ;;
esac
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
