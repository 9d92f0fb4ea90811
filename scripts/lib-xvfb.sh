# SPDX-License-Identifier: Zlib
# Sourced by the scripts that run the game on a private display.
#
#   xvfb_start WORK [SIZE]
#                     starts Xvfb on a free display (its number kept in
#                     WORK/display) with a screen of SIZE (1024x768 unless
#                     given) and exports DISPLAY, with OpenAL's null device
#                     so that no sound card is needed
#   xvfb_wm           starts openbox on it and waits until it manages windows
#   xvfb_stop         ends both (call it from the script's exit trap)

xvfb_pid=""
xvfb_wm_pid=""

xvfb_start() {
    Xvfb -displayfd 3 -screen 0 "${2:-1024x768}x24" -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    while [ ! -s "$1/display" ]; do sleep 0.1; done
    DISPLAY=":$(cat "$1/display")"
    ALSOFT_DRIVERS=null
    export DISPLAY ALSOFT_DRIVERS
}

xvfb_wm() {
    openbox --sm-disable >/dev/null 2>&1 &
    xvfb_wm_pid=$!
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.1; done
}

xvfb_stop() {
    if [ -n "$xvfb_wm_pid" ]; then kill "$xvfb_wm_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
