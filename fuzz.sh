#!/usr/bin/env bash
# Coverage-guided fuzzing of the readers of outside bytes (libFuzzer, clang,
# AddressSanitizer with leak detection, UndefinedBehaviorSanitizer).
#   ./fuzz.sh --list            the targets
#   ./fuzz.sh TARGET SECONDS    builds in build-fuzz/, then fuzzes TARGET
#   ./fuzz.sh all SECONDS       each target in turn, SECONDS each
# Each run starts from a copy of the committed seeds (fuzz/corpus/TARGET/,
# never written) in build-fuzz/corpus/TARGET/; what it finds is kept in
# build-fuzz/artifacts/TARGET/ and its log in build-fuzz/logs/TARGET.log.
# Exits non-zero on a crash, a hang, a leak or any sanitizer report.
set -euo pipefail
cd "$(dirname "$0")"
targets=(quotations settings lists portfolio import http helpfile notepad)
dir=build-fuzz

usage() {
  echo "usage: $0 --list | TARGET SECONDS | all SECONDS" >&2
  exit 2
}

case "${1:-}" in
  --list)
    printf '%s\n' "${targets[@]}"
    exit 0
    ;;
  "") usage ;;
esac
[ $# -eq 2 ] || usage
what=$1
seconds=$2
[[ "$seconds" =~ ^[0-9]+$ ]] || usage
if [ "$what" = all ]; then
  chosen=("${targets[@]}")
else
  found=0
  for t in "${targets[@]}"; do [ "$t" = "$what" ] && found=1; done
  [ $found -eq 1 ] || { echo "unknown target: $what (see $0 --list)" >&2; exit 2; }
  chosen=("$what")
fi

./tools/deps.sh --fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" -DVALMEQ_FUZZ=ON \
  -DVALMEQ_WERROR=OFF -DBUILD_TESTING=OFF >/dev/null
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
build_targets=()
for t in "${chosen[@]}"; do build_targets+=("fuzz_$t"); done
mkdir -p "$dir/logs"
if ! cmake --build "$dir" -j"$jobs" --target "${build_targets[@]}" >"$dir/logs/build.log" 2>&1; then
  tail -n 40 "$dir/logs/build.log" >&2
  exit 1
fi

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
status=0
for t in "${chosen[@]}"; do
  corpus="$dir/corpus/$t"
  artifacts="$dir/artifacts/$t"
  # A fresh copy of the seeds each run: the committed ones are never touched.
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$t"/* "$corpus"/
  log="$dir/logs/$t.log"
  echo "== $t: $seconds s (log: $log)"
  # One job at a time, every input under 10 s and the process under 2 GB.
  if "$dir/fuzz/fuzz_$t" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|#[0-9]+ *DONE)' "$log" | tail -n 2 || true
  else
    status=1
    echo "!! $t: fault found; see $log and $artifacts/" >&2
    tail -n 40 "$log" >&2
  fi
done
exit $status
