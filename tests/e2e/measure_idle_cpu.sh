#!/bin/bash
# SPDX-License-Identifier: Zlib
# Idle CPU share of the window probe under Xvfb + openbox (rate 0, suspended).
# Usage: tests/e2e/measure_idle_cpu.sh [build-dir] [seconds-per-case]
set -euo pipefail
probe="${1:-build}/testapps/window_probe"
seconds=${2:-5}
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
pids+=($!)
read -r -u 3 display
export DISPLAY=":$display"
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done
xmessage -name other other >/dev/null 2>&1 & pids+=($!)
other=$(xdotool search --sync --name '^other$' | head -1)

# measure <label> <rate> [xdotool command [window]]
measure() {
    PROBE_RATE=$2 "$probe" >/dev/null 2>&1 & local pid=$!
    pids+=($pid)
    local window=$(xdotool search --sync --name '^Vornhelm$' | head -1)
    [ $# -gt 2 ] && xdotool "$3" --sync "${4:-$window}"
    sleep 1
    local before=$(awk '{print $14 + $15}' /proc/$pid/stat)
    sleep "$seconds"
    local after=$(awk '{print $14 + $15}' /proc/$pid/stat)
    awk -v l="$1" -v d=$((after - before)) -v t="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%-28s %.2f%% of one core\n", l, 100 * d / t / s }'
    kill $pid; wait $pid 2>/dev/null || true
}
measure "rate 0, focused, idle:" 0
measure "rate 60, iconified:" 60 windowminimize
measure "rate 60, focus elsewhere:" 60 windowactivate "$other"
measure "rate 60, running:" 60
