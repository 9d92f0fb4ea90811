#!/bin/sh
# Makes the README's screenshots from the committed regression replay of a
# mode-1 game (tests/replays/mode1-rescue.vhr) with --screenshot-at, on a
# private Xvfb: the menu after the game, with its score in the tables, and
# the play with enemies closing in. Regenerate with the replay.
#
#   scripts/make-screenshots.sh [BUILD_DIR]
set -e

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target vornhelm vornhelm_assets >/dev/null
replay="$root/tests/replays/mode1-rescue.vhr"
out="$root/docs/screenshots"
mkdir -p "$out"

work=$(mktemp -d /tmp/vornhelm-shots-XXXXXX)
. "$root/scripts/lib-xvfb.sh"
cleanup() {
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
xvfb_start "$work"
ln -s "$build/data" "$work/data"

# shot UPDATE NAME
shot() {
    (cd "$work" && "$build/vornhelm" --replay "$replay" --screenshot-at "$1" "$out/$2.png" 2>/dev/null | tail -1)
}
shot 1800 play
shot 3280 menu
