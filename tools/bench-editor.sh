#!/usr/bin/env bash
# Speed of the editor window, from a built tree (default: build):
#  1. TForm1::Redraw of a 64 x 64 cel at zoom 16, offscreen, also with the onion skin on and in
#     the chip view (two layers with colour data: the costliest tables), next to
#     a memcpy of the same frame; the companion window's picture of that cel at 1x, 2x and 4x
#     next to a memcpy of the same picture;
#  2. start-up to the first painted window and resident memory under Xvfb, side by side with the
#     least Qt Widgets program that shows one painted frameless window (median of RUNS launches,
#     the two programs taking turns).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-21}
bin=$build/bin
for exe in bench_editor_redraw bench_editor_startup bench_minimal_startup; do
  [[ -x "$bin/$exe" ]] || { echo "bench-editor: $bin/$exe is missing; build first (make build)" >&2; exit 1; }
done

echo "== Redraw of a 64 x 64 cel at zoom 16 (offscreen; onion skin on, chip view) against memcpy of the"
echo "   4 MiB frame; the companion's 1x, 2x and 4x picture of it against memcpy of its 464 KiB"
"$bin/bench_editor_redraw" --benchmark_min_time=0.5 2>/dev/null

echo
echo "== Start-up to the first painted window under Xvfb (median of $runs runs each)"
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
set -euo pipefail
bin=$1 runs=$2
unset QT_QPA_PLATFORM
# A home of its own: the editor looks for recovery copies there at start, and finds none.
export XDG_RUNTIME_DIR=$(mktemp -d)
export HOME=$XDG_RUNTIME_DIR XDG_DATA_HOME=$XDG_RUNTIME_DIR/.local/share
one() { SPRITEHEX_LAUNCH_NS=$(date +%s%N) "$bin/$1"; }
one bench_minimal_startup >/dev/null; one bench_editor_startup >/dev/null  # warm the caches
for _ in $(seq "$runs"); do
  echo "minimal $(one bench_minimal_startup)"
  echo "editor $(one bench_editor_startup)"
done
rm -rf "$XDG_RUNTIME_DIR"
INNER
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" bash "$inner" "$bin" "$runs" 2>/dev/null |
  awk '
    { for (i = 2; i <= NF; ++i) { split($i, kv, "="); n = ++count[$1, kv[1]]; v[$1, kv[1], n] = kv[2] } }
    function median(name, key,   n, i, j, t, a) {
      n = count[name, key]
      for (i = 1; i <= n; ++i) a[i] = v[name, key, i]
      for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    END {
      printf "%-10s %12s %9s %9s\n", "", "start-up ms", "RSS MiB", "peak MiB"
      for (k = 1; k <= 2; ++k) {
        name = k == 1 ? "minimal" : "editor"
        t[k] = median(name, "startup_ms"); r[k] = median(name, "rss_kib"); h[k] = median(name, "hwm_kib")
        printf "%-10s %12.1f %9.1f %9.1f\n", k == 1 ? "minimal" : "spritehex", t[k], r[k] / 1024, h[k] / 1024
      }
      printf "%-10s %12.2f %9.2f %9.2f\n", "ratio", t[2] / t[1], r[2] / r[1], h[2] / h[1]
    }'
