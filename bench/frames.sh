#!/bin/sh
# SPDX-License-Identifier: Zlib
# What the player sees on the desktop, for one build or two in turns:
# bench_frames full screen on a private X server at 1280 x 720 and at
# 1920 x 1080 (Mesa's llvmpipe), ROUNDS rounds (default 2), SECONDS per
# stretch (default 10). Each build runs in a scratch folder holding a link
# to its data/, so no saved state is read or written.
#   bench/frames.sh BUILD_DIR [BASELINE_BUILD_DIR] [ROUNDS] [SECONDS]
set -e
builds="$1 ${2:-}"
rounds="${3:-2}"
seconds="${4:-10}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
round=1
while [ "$round" -le "$rounds" ]; do
    for size in 1280x720 1920x1080; do
        for build in $builds; do
            build="$(cd "$build" && pwd)"
            ln -sfn "$build/data" "$scratch/data"
            echo "== $build, round $round"
            (cd "$scratch" && ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 ${size}x24" \
                "$build/bench/bench_frames" "$seconds" 2>/dev/null | grep -E '^(menu|play) ')
        done
    done
    round=$((round + 1))
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
