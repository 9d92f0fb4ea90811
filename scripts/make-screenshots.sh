#!/bin/sh
# SPDX-License-Identifier: Zlib
# Makes the README's and the AppStream metadata's screenshots, 1280 x 720,
# with --screenshot-at from a session recorded full screen on a 1280 x 720
# display (docs/screenshots/session.vhr), on a private Xvfb of that size:
# the title menu, and the play with an enemy jet closing in.
#
#   scripts/make-screenshots.sh [BUILD_DIR]
#   scripts/make-screenshots.sh --record [BUILD_DIR]
#
# --record plays the session again first (the game's behaviour changed, and
# with it the replay): F11 for full screen in the menu, Enter for mode 1, up
# and right a little, then fire for 15 s and F4. Look at the shots after.
set -e

record=""
if [ "${1:-}" = "--record" ]; then record=1; shift; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target vornhelm vornhelm_assets >/dev/null
out="$root/docs/screenshots"
session="$out/session.vhr"

work=$(mktemp -d /tmp/vornhelm-shots-XXXXXX)
. "$root/scripts/lib-xvfb.sh"
cleanup() {
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
xvfb_start "$work" 1280x720
ln -s "$build/data" "$work/data"

if [ -n "$record" ]; then
    xvfb_wm
    (cd "$work" && "$build/vornhelm" --record "$session" >/dev/null 2>&1) &
    game=$!
    window=$(xdotool search --sync --name '^Vornhelm$' | head -n 1)
    xdotool windowactivate --sync "$window"
    sleep 5
    xdotool key F11; sleep 3
    xdotool key Return; sleep 2
    xdotool keydown Up; sleep 1.2; xdotool keyup Up
    xdotool keydown Right; sleep 0.6; xdotool keyup Right
    for i in $(seq 30); do xdotool key space; sleep 0.5; done
    xdotool key F4
    wait "$game" || true
fi

# shot UPDATE NAME
shot() {
    (cd "$work" && "$build/vornhelm" --replay "$session" --screenshot-at "$1" "$out/$2.png" 2>/dev/null | tail -1)
}
shot 300 menu
shot 1500 play
