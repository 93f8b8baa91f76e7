#!/usr/bin/env bash
# Start-up time, memory and scrolling of the Kestrin window under a virtual
# display (Xvfb) with Qt Quick's software renderer, side by side with hardinfo
# when it is installed (it is not a project dependency: install it by hand,
# `apt-get install --no-install-recommends hardinfo`, to get the comparison).
#
# Usage: bench/ui_startup.sh [BUILD_DIR]     (default: build)
# Needs: Xvfb, xdotool. Runs each measurement KESTRIN_BENCH_RUNS times (5) and
# prints medians.
#
# Figures:
#   first_frame_ms   exec of the program to its first presented frame, from the
#                    window's own probe (KESTRIN_EXIT_AFTER_FIRST_FRAME=1)
#   window_ms        exec to the first visible top-level window, seen from outside
#                    by polling the X server (same method for both programs)
#   rss_mib          resident memory 3 s after start, when the scan of this
#                    machine has finished
#   scroll           frame times while the list scrolls through 1,000 loaded rows
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
runs=${KESTRIN_BENCH_RUNS:-5}
settle=${KESTRIN_BENCH_SETTLE:-3}
app="$build/bin/kestrin"
scroll_bench="$build/bench/ui_scroll_bench"

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "ui_startup: $tool is required" >&2; exit 2; }
done
[[ -x "$app" ]] || { echo "ui_startup: $app not built" >&2; exit 2; }

# A display number nobody uses.
display=""
for n in $(seq 90 120); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
    display=":$n"
    break
  fi
done
[[ -n "$display" ]] || { echo "ui_startup: no free display number" >&2; exit 2; }

Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
children=()
cleanup() {
  for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display" QT_QUICK_BACKEND=software
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

first_frame_ms() {
  local start out
  start=$(now_us)
  out=$(KESTRIN_EXIT_AFTER_FIRST_FRAME=1 "$app" 2>/dev/null) || return 1
  out=${out##*first-frame-epoch-us=}
  awk -v a="$start" -v b="$out" 'BEGIN { printf "%.1f\n", (b - a) / 1000 }'
}

# Starts "$@", waits for its first visible window, then for the settle time,
# and prints "<window ms> <rss MiB>". The program is stopped afterwards.
window_and_rss() {
  local start pid end rss
  start=$(now_us)
  "$@" >/dev/null 2>&1 &
  pid=$!
  children+=("$pid")
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "n/a n/a"; return; }
  done
  end=$(now_us)
  sleep "$settle"
  rss=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v a="$start" -v b="$end" -v r="$rss" 'BEGIN { printf "%.1f %s\n", (b - a) / 1000, r }'
}

measure_program() {
  local name=$1
  shift
  local windows=() rss=() line
  for _ in $(seq "$runs"); do
    line=$(window_and_rss "$@")
    windows+=("${line% *}")
    rss+=("${line#* }")
  done
  printf '%s window_ms=%s rss_mib=%s\n' "$name" \
    "$(printf '%s\n' "${windows[@]}" | grep -v n/a | median)" \
    "$(printf '%s\n' "${rss[@]}" | grep -v n/a | median)"
}

echo "== Kestrin window, Xvfb + software renderer, median of $runs =="
frames=()
for _ in $(seq "$runs"); do
  frames+=("$(first_frame_ms)")
done
echo "kestrin first_frame_ms=$(printf '%s\n' "${frames[@]}" | median) (runs: ${frames[*]})"
measure_program kestrin "$app"
if command -v hardinfo >/dev/null; then
  measure_program hardinfo hardinfo
else
  echo "hardinfo not installed: no comparison"
fi

if [[ -x "$scroll_bench" ]]; then
  "$scroll_bench" 2>/dev/null
else
  echo "ui_scroll_bench not built: no scrolling figures"
fi
