#!/usr/bin/env bash
# Whole-process cost of spritehex-cli, as a build pipeline pays it, side by side with cat of the
# same file: wall time (hyperfine, median of many runs, no shell in between) and peak memory
# (GNU time, median of RUNS runs), on an example and on the largest document.
# Targets: tables and info within 1.5 x cat's time, png within 3 x; memory within 2 x cat's.
#
#   tools/bench-cli.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-11}
cli=$build/bin/spritehex-cli
for exe in "$cli" "$build/bin/bench_make_largest"; do
  [[ -x "$exe" ]] || { echo "bench-cli: $exe is missing; build first (make build)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/bench_make_largest" "$work/largest.dat"

# Peak resident memory in KiB of one command, the median of $runs runs.
peak() {
  for _ in $(seq "$runs"); do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; done |
    sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

echo "== spritehex-cli against cat of the same file (time: median of hyperfine's runs)"
printf '%-8s %-12s %10s %8s %10s %8s  %s\n' command file "ms" "x cat" "peak KiB" "x cat" target
for file in examples/ship.dat "$work/largest.dat"; do
  name=$(basename "$file")
  hyperfine -N --warmup 10 --min-runs 100 --export-csv "$work/times.csv" \
    "cat $file" "$cli tables $file" "$cli info $file" "$cli png $file $work/out.png" \
    >/dev/null 2>&1
  catMs=$(awk -F, 'NR == 2 { print $4 * 1000 }' "$work/times.csv")
  catKiB=$(peak cat "$file")
  row=2
  for command in cat tables info png; do
    ms=$(awk -F, -v r="$row" 'NR == r { print $4 * 1000 }' "$work/times.csv")
    case $command in
      cat) kib=$catKiB limit=1 ;;
      tables) kib=$(peak "$cli" tables "$file") limit=1.5 ;;
      info) kib=$(peak "$cli" info "$file") limit=1.5 ;;
      png) kib=$(peak "$cli" png "$file" "$work/out.png") limit=3 ;;
    esac
    awk -v c="$command" -v f="$name" -v ms="$ms" -v cms="$catMs" -v k="$kib" -v ck="$catKiB" \
      -v limit="$limit" 'BEGIN {
        t = ms / cms; m = k / ck
        verdict = c == "cat" ? "" : (t <= limit && m <= 2 ? "met" : "MISSED")
        target = c == "cat" ? "" : sprintf("%s x time, 2 x memory: %s", limit, verdict)
        printf "%-8s %-12s %10.3f %8.2f %10d %8.2f  %s\n", c, f, ms, t, k, m, target
      }'
    row=$((row + 1))
  done
done
