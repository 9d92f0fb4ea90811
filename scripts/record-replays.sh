#!/bin/sh
# SPDX-License-Identifier: Zlib
# Records the regression replays of tests/replays/: one whole game in each
# game mode, each ending in a game over, played with real input on the real
# game binary under a private Xvfb with openbox by the replay pilot
# (tools/replay_pilot/replay_pilot.cpp), from a folder without a state file:
#
#   mode1-rescue   mode 1: three persons carried to the pad, an enemy shot down
#   mode2-fight    mode 2: an enemy shot down
#   mode3-dive     mode 3: straight into the ground
#
# Each replay is kept with the last line that a fast replay of it prints
# (NAME.vhr, NAME.txt), which the regression test expects. A game in which
# the pilot missed its goal (enemy fire can end it first) is played again.
# Run it only on purpose, when the game's behaviour has changed and the new
# games are the right ones:
#
#   scripts/record-replays.sh [BUILD_DIR]
set -e

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target vornhelm vornhelm_assets replay_pilot >/dev/null
game="$build/vornhelm"
pilot="$build/tools/replay_pilot"
out="$root/tests/replays"
mkdir -p "$out"

work=$(mktemp -d /tmp/vornhelm-replays-XXXXXX)
. "$root/scripts/lib-xvfb.sh"
cleanup() {
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
xvfb_start "$work"
xvfb_wm

# The number before WORD in the pilot's last line ("3 pickups, 1 landings").
count() { sed -n "s/.* \([0-9]*\) $1.*/\1/p" "$2"; }

# record NAME MODE PLAN LANDINGS KILLS: the least landings and kills to keep.
record() {
    name=$1 mode=$2 plan=$3
    for attempt in 1 2 3 4 5; do
        dir="$work/$name-$attempt"
        mkdir "$dir"
        ln -s "$build/data" "$dir/data"
        if ! (cd "$dir" && "$pilot" "$game" "$mode" "$plan" game.vhr >pilot.txt 2>&1); then
            echo "$name: attempt $attempt failed: $(tail -1 "$dir/pilot.txt")"
            continue
        fi
        summary=$(grep '^replay_pilot: mode' "$dir/pilot.txt")
        if [ "$(count landings "$dir/pilot.txt")" -lt "$4" ] || [ "$(count kills "$dir/pilot.txt")" -lt "$5" ]; then
            echo "$name: attempt $attempt missed its goal: $summary"
            continue
        fi
        # The replay must end as the recorded game did.
        recorded=$(sed -n 's/^Recorded [0-9]* updates to game.vhr: //p' "$dir/pilot.txt")
        ended=$(cd "$dir" && "$game" --replay game.vhr --fast 2>/dev/null | tail -1)
        if [ "${ended#Replay ended after * updates: }" != "$recorded" ]; then
            echo "$name: the replay ends otherwise than the game did: $ended / $recorded" >&2
            exit 1
        fi
        cp "$dir/game.vhr" "$out/$name.vhr"
        echo "$ended" >"$out/$name.txt"
        echo "$name: $summary"
        echo "$name: $ended"
        return 0
    done
    echo "$name: no attempt reached its goal" >&2
    exit 1
}

record mode1-rescue 1 rescue 1 1
record mode2-fight 2 fight 0 1
record mode3-dive 3 dive 0 0
