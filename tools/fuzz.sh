#!/usr/bin/env bash
# Runs every fuzzer built in $1 for $2 seconds each (FUZZERS="loader commands" picks some;
# FUZZ_RUNS=N also stops each after N executions).
# New inputs go to $1/corpus/NAME; the checked-in seeds in fuzz/corpus/NAME are only read (the
# import fuzzer also reads those of fuzz/corpus/png). Exits 1 when any fuzzer finds something.
set -euo pipefail
build=$1
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
names=${FUZZERS:-$(cd "$build/bin" && ls fuzz_* | sed 's/^fuzz_//')}
found=()
for name in $names; do
  work="$build/corpus/$name"
  mkdir -p "$work" "$build/crashes/$name"
  seeds=("$top/fuzz/corpus/$name")
  [[ $name == import ]] && seeds+=("$top/fuzz/corpus/png")
  echo "== fuzz_$name for ${seconds}s"
  # The fuzzer's own status counts: a crash or a failed check is a finding, not a quiet pass.
  set +e
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -runs="${FUZZ_RUNS:--1}" -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$name/" "$work" "${seeds[@]}" 2>&1 |
    grep -E '^stat::number_of_executed_units|^stat::peak_rss|ERROR|check failed|SUMMARY|Done|crash-'
  status=${PIPESTATUS[0]}
  set -e
  [[ $status -eq 0 ]] || found+=("fuzz_$name (exit status $status; inputs in $build/crashes/$name)")
done
if [[ ${#found[@]} -gt 0 ]]; then
  printf 'fuzz: a finding in %s\n' "${found[@]}" >&2
  exit 1
fi
echo "fuzz: no finding"
