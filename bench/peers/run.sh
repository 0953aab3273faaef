#!/usr/bin/env bash
# Runs the side-by-side harness: writes the generated document, runs our program and each peer
# once (one process run each), runs the editor's own benchmarks for what is already ahead, and
# prints the figures, the ratios and whether every target is met. CPU time throughout: the
# machine is shared, so wall time says little. Usage: bench/peers/run.sh [BUILD_DIR]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/out}"
doc="$build/peers-document.bas"
results="$(mktemp)"
trap 'rm -f "$results"' EXIT

echo "== load: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
"$build/bench/peers/peers_ours" --write "$doc" || exit 1
"$build/bench/peers/peers_ours" "$doc" | tee -a "$results"
if [ -x "$build/bench/peers/peers_qscintilla" ]; then
    "$build/bench/peers/peers_qscintilla" "$doc" 2>/dev/null | tee -a "$results"
fi
if [ -x "$build/peers-kte/peers_ktexteditor" ]; then
    "$build/peers-kte/peers_ktexteditor" "$doc" 2>/dev/null | tee -a "$results"
fi
# The editor's own benchmarks: CPU milliseconds of the named cases.
bench_cpu() { # program filter name
    "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
        awk -F, -v name="$3" '$1 ~ /_median"?$/ {
            ms = $4; if ($5 ~ /us/) ms /= 1000; if ($5 ~ /ns/) ms /= 1e6;
            sub(/_median"?$/, "", $1); gsub(/"/, "", $1);
            printf "bench %s:%s %.4f\n", name, $1, ms }'
}
export QT_QPA_PLATFORM=offscreen
{
    bench_cpu ide/bench_tabs 'BM_SwitchTabs/52428800' tabs
    bench_cpu editor/widget/bench_paint 'BM_RepaintView/52428800/1|BM_PageDownAndRepaint/52428800/1' paint
    bench_cpu editor/widget/bench_paint 'BM_TypeWrappedAndRepaint/(65536|52428800)/1' keystroke
} | tee -a "$results"
echo "== after: $(cut -d' ' -f1-3 /proc/loadavg)"

awk '
function v(k) { if (!(k in m)) { missing = missing " " k; return 0 } return m[k] }
function check(what, ok, figures) {
    printf "%-58s %-30s %s\n", what, figures, ok ? "met" : "NOT MET"; if (!ok) failed++ }
{ m[$1 " " $2] = $3 }
END {
    print "== targets"
    floor = v("ours floor_ms"); load = v("ours load_ms")
    check("load within 1.3x the floor (read + line index)", load <= 1.3 * floor,
          sprintf("%.1f / %.1f ms = %.2fx", load, floor, load / (floor ? floor : 1)))
    qs = v("qscintilla highlight_ms"); hl = v("ours highlight_ms")
    check("highlighting at least 1.5x faster than QScintilla", qs >= 1.5 * hl,
          sprintf("%.0f / %.0f ms = %.2fx", qs, hl, qs / (hl ? hl : 1)))
    mem = v("ours memory_highlighted_x")
    check("memory once highlighted at most 2.5x the file", mem <= 2.5, sprintf("%.2fx", mem))
    c = v("ours inserts_clean_heap_ms"); d = v("ours inserts_after_churn_ms")
    hi = c > d ? c : d; lo = c > d ? d : c
    check("inserts after heap churn within 1.5x of a clean heap", hi <= 1.5 * lo,
          sprintf("%.1f / %.1f ms = %.2fx", d, c, d / (c ? c : 1)))
    ins = v("ours inserts_ms"); undo = v("ours undo_ms")
    check("10,000 inserts faster than both peers", ins < v("qscintilla inserts_ms") && ins < v("ktexteditor inserts_ms"),
          sprintf("%.1f vs %.0f / %.0f ms", ins, v("qscintilla inserts_ms"), v("ktexteditor inserts_ms")))
    check("undo of 10,000 steps faster than both peers", undo < v("qscintilla undo_ms") && undo < v("ktexteditor undo_ms"),
          sprintf("%.1f vs %.0f / %.0f ms", undo, v("qscintilla undo_ms"), v("ktexteditor undo_ms")))
    tabs = v("bench tabs:BM_SwitchTabs/52428800")
    check("tab switch between two 50 MB files under 20 ms", tabs < 20, sprintf("%.2f ms", tabs))
    rp = v("bench paint:BM_RepaintView/52428800/1"); pd = v("bench paint:BM_PageDownAndRepaint/52428800/1")
    check("highlighted repaint under 5 ms, page down under 10 ms", rp < 5 && pd < 10,
          sprintf("%.2f / %.2f ms", rp, pd))
    small = v("bench keystroke:BM_TypeWrappedAndRepaint/65536/1"); large = v("bench keystroke:BM_TypeWrappedAndRepaint/52428800/1")
    check("keystroke in 50 MB within 2x the one in 64 KB", large <= 2 * small,
          sprintf("%.3f / %.3f ms", large, small))
    if (missing != "") { print "missing figures:" missing; failed++ }
    print failed ? "== " failed " target(s) NOT met" : "== every target met"
    exit failed ? 1 : 0
}' "$results"
