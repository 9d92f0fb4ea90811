#!/bin/bash
# Measures how much processor time the host's main loop uses while it has
# nothing timed to do: at update rate 0, iconified, and unfocused (both
# suspend the game), with the normal 60 updates per second for comparison.
# Runs the window probe test application under a private Xvfb with openbox
# and reads its user + system time from /proc over a few idle seconds.
#
#   tests/e2e/measure_idle_cpu.sh [build-dir] [seconds-per-case]
set -euo pipefail

build=${1:-build}
seconds=${2:-5}
probe="$build/testapps/window_probe"
[ -x "$probe" ] || { echo "build the window_probe target first ($probe)"; exit 1; }

tick=$(getconf CLK_TCK)
log=$(mktemp)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -f "$log"
}
trap cleanup EXIT

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
pids+=($!)
read -r -u 3 display
export DISPLAY=":$display"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Starts the probe at the given rate and waits for its window.
start_probe() {
    PROBE_RATE=$1 "$probe" >"$log" 2>/dev/null &
    probe_pid=$!
    pids+=($probe_pid)
    window=$(xdotool search --sync --name '^Vornhelm$' | head -1)
    sleep 1
}

stop_probe() { kill "$probe_pid"; wait "$probe_pid" 2>/dev/null || true; }

# The measurement means nothing unless the game really was suspended.
expect_suspended() {
    grep -qx suspend "$log" || { echo "  (the probe was not suspended: this case is void)"; }
}

# Percent of one core used by the probe over the measuring interval.
measure() {
    local before after
    sleep 1
    before=$(cpu_ticks "$probe_pid")
    sleep "$seconds"
    after=$(cpu_ticks "$probe_pid")
    awk -v d=$((after - before)) -v t="$tick" -v s="$seconds" \
        'BEGIN { printf "%.2f%% of one core (%d ticks of 1/%d s in %d s)\n", 100 * d / t / s, d, t, s }'
}

printf 'rate 0, focused, idle:         '
start_probe 0
measure
stop_probe

printf 'rate 60, iconified:            '
start_probe 60
xdotool windowminimize --sync "$window"
measure
expect_suspended
stop_probe

printf 'rate 60, focus on another app: '
start_probe 60
xmessage -name other "other window" >/dev/null 2>&1 &
pids+=($!)
other=$(xdotool search --sync --name '^other$' | head -1)
xdotool windowactivate --sync "$other"
measure
expect_suspended
stop_probe

printf 'rate 60, running (reference):  '
start_probe 60
measure
stop_probe
