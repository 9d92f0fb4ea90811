#!/usr/bin/python3
"""Figures of the browser build in headless Chromium (SwiftShader), 1280 x 720:

  bench_web.py WEB_BUILD_DIR [--seconds S] [--desktop NATIVE_BUILD_DIR] [--rounds N] [--replays-only]

time from page load to the start screen and from the click to the menu;
the game's own update figures (its counts of updates, its update-rate
measure, its render rate) in the menu and in a mode-3 game at wave 10, each
over S seconds (default 30); the sizes of the .wasm and of everything the page
downloads; and fast replays of the committed mode-1 and mode-3 games, N
rounds (default 7) taking turns between the desktop's `vornhelm --replay
FILE --fast` (when NATIVE_BUILD_DIR is given), the browser build under node
and the browser build in the page. Each replay's time includes the game's
start-up (loading its assets); the mode-1 game runs 2656 updates more than
the mode-3 one, so the difference of their medians is the time of those
updates alone."""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
import browser_test as t  # noqa: E402
import cdp  # noqa: E402

REPLAYS = ("mode1-rescue", "mode3-dive")


def replay_path(name):
    return os.path.abspath(os.path.join(ROOT, "tests", "replays", name + ".vhr"))


def updates_in(line):
    """The update count of a replay's last line."""
    return int(line.split()[3])


def timed_process(argv, cwd):
    """Seconds from start to end of a process, and its last 'Replay ended' line."""
    began = time.perf_counter()
    proc = subprocess.run(argv, cwd=cwd, capture_output=True, text=True, timeout=120)
    took = time.perf_counter() - began
    ended = [l for l in proc.stdout.splitlines() if l.startswith("Replay ended")]
    if proc.returncode != 0 or not ended:
        raise RuntimeError("%s failed: %s %s" % (argv, proc.stdout, proc.stderr))
    return took, ended[-1]


class Desktop:
    label = "desktop, vornhelm --replay FILE --fast (process start to end)"

    def __init__(self, build):
        self.build = os.path.abspath(build)

    def run(self, name):
        return timed_process([os.path.join(self.build, "vornhelm"), "--replay", replay_path(name), "--fast"],
                             self.build)


class Node:
    label = "browser build under node (process start to end)"

    def __init__(self, folder):
        self.folder = os.path.abspath(folder)

    def run(self, name):
        return timed_process(["node", "--no-experimental-fetch", os.path.join(self.folder, "vornhelm-replay-node.js"),
                              replay_path(name)], os.path.join(self.folder, "stage"))


class Page:
    label = "browser build in Chromium (the game's start to end)"

    def __init__(self, browser, server):
        self.browser, self.server = browser, server

    def run(self, name):
        b = self.browser
        b.console.clear()
        b.navigate(self.server.url + "replay.html?%s.vhr" % name)
        b.wait_for(lambda: any(l.startswith("Replay took") for l in b.console_lines()), 120, step=0.02)
        lines = b.console_lines()
        ended = next(l for l in lines if l.startswith("Replay ended"))
        took = float(next(l for l in lines if l.startswith("Replay took")).split()[2]) / 1000
        return took, ended


def bench_replays(runners, rounds):
    """Medians per runner and replay, the runners taking turns each round."""
    times = {(r.label, n): [] for r in runners for n in REPLAYS}
    updates = {}
    for _ in range(rounds):
        for runner in runners:
            for name in REPLAYS:
                took, ended = runner.run(name)
                times[(runner.label, name)].append(took)
                updates[name] = updates_in(ended)
    extra = updates[REPLAYS[0]] - updates[REPLAYS[1]]
    rates = {}
    for runner in runners:
        m1, m3 = (statistics.median(times[(runner.label, n)]) for n in REPLAYS)
        rates[runner.label] = extra / (m1 - m3) if m1 > m3 else float("inf")
        print("%s: %s %d updates %.3f s, %s %d updates %.3f s (medians of %d): %.0f updates/s once running" %
              (runner.label, REPLAYS[0], updates[REPLAYS[0]], m1, REPLAYS[1], updates[REPLAYS[1]], m3, rounds,
               rates[runner.label]), flush=True)
    return rates


def bench_page(browser, server, seconds):
    began = time.time()
    browser.navigate(server.url + "bench.html")
    browser.wait_for(lambda: t.start_screen(browser.canvas_pixels()), 60, step=0.05)
    loaded = time.time() - began
    browser.click(t.WIDTH / 2, (t.HEIGHT - 26) / 2)
    clicked = time.time()
    browser.wait_for(lambda: t.menu_screen(browser.canvas_pixels()), 30, step=0.05)
    print("page load to the start screen: %.2f s; click to the menu: %.2f s" %
          (loaded, time.time() - clicked), flush=True)
    browser.pump(1)
    print("menu, over %.0f s: %s" % (seconds, rates(browser, seconds)), flush=True)

    # Mode 3 is the third tile of the strip.
    for key in (("ArrowRight", "ArrowRight", 39), ("ArrowRight", "ArrowRight", 39), ("Enter", "Enter", 13)):
        browser.press(*key)
    browser.wait_for(lambda: t.day_sky(browser.canvas_pixels()) > 0.15, 10)
    browser.pump(1)
    browser.evaluate("Module._vornhelm_bench_wave(10)")
    wave = browser.evaluate("Module._vornhelm_bench_heal()")
    print("mode 3 at wave %d, over %.0f s: %s" % (wave, seconds, rates(browser, seconds, playing=True)), flush=True)


# Counts the menu's updates from its animation counter, read after every
# animation frame (a frame runs at most 4 updates, 8 steps of the counter,
# so its steps modulo 60 are never ambiguous).
COUNT_MENU_UPDATES = """
window.vornhelmMenuUpdates = 0;
(function () {
  var last = Module._vornhelm_bench_menu_tick();
  function look() {
    var now = Module._vornhelm_bench_menu_tick();
    window.vornhelmMenuUpdates += ((now - last + 60) % 60) / 2;
    last = now;
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
})();
"""


def rates(browser, seconds, playing=False):
    """The game's own update figures over `seconds`: its count of updates per
    second (in a game under way its count of play updates; in the menu the
    steps of the menu's animation counter); and, read 4 times a second, its
    update-rate measure (1000 / the milliseconds since the previous update,
    so the second update of a frame reads 1000 or keeps the first's figure,
    and a late one reads low) as median and range, the same smoothed (a
    whole-number smoothing that settles up to 9 below a steady rate), and
    the smoothed render rate that the debug line (F1) shows."""
    read = lambda f: browser.evaluate("Module._vornhelm_bench_%s()" % f)  # noqa: E731
    counted = lambda: read("play_updates") if playing else browser.evaluate("window.vornhelmMenuUpdates")  # noqa: E731
    if not playing:
        browser.evaluate(COUNT_MENU_UPDATES)
    instant, smoothed, render = [], [], []
    began, start = time.time(), counted()
    while time.time() - began < seconds:
        browser.pump(0.25)
        instant.append(read("update_rate"))
        smoothed.append(read("update_rate_smoothed"))
        render.append(read("render_rate_smoothed"))
        if playing:
            read("heal")
    count = (counted() - start) / (time.time() - began)
    return ("%.1f updates/s counted by the game; its update-rate measure: median %.0f (%d to %d), smoothed %.1f; "
            "its render rate, smoothed: %.1f" % (count, statistics.median(instant), min(instant), max(instant),
                                                 statistics.mean(smoothed), statistics.mean(render)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("web_build")
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--desktop", help="the native build folder, for the desktop's replay figures")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--replays-only", action="store_true")
    args = parser.parse_args()
    folder = args.web_build

    # What a page at 1280 x 720 downloads: the page and its scripts, the
    # .wasm, the data without images and the level 4 images.
    site = os.path.join(folder, "site")
    wanted = ("index.html", "page.", "icon.", "vornhelm.", "vornhelm-data-base.", "vornhelm-data-4.")
    page = [f for f in os.listdir(site) if f.startswith(wanted) and not f.endswith(".gz")]
    total = sum(os.path.getsize(os.path.join(site, f)) for f in page)
    packed = sum(os.path.getsize(os.path.join(site, f + ".gz")) for f in page
                 if os.path.exists(os.path.join(site, f + ".gz")))
    packed += sum(os.path.getsize(os.path.join(site, f)) for f in page
                  if not os.path.exists(os.path.join(site, f + ".gz")))
    print("vornhelm.wasm: %.2f MB; first download at 1280 x 720: %.2f MB, %.2f MB precompressed" %
          (os.path.getsize(os.path.join(folder, "vornhelm.wasm")) / 1e6, total / 1e6, packed / 1e6), flush=True)

    server = cdp.Server(folder)
    browser = cdp.Browser(t.WIDTH, t.HEIGHT)
    try:
        if not args.replays_only:
            bench_page(browser, server, args.seconds)
        in_page = Page(browser, server)
        # A fresh browser compiles the game's code as it first runs it; the
        # code is kept for the next visits, as for a returning player.
        took, _ = in_page.run(REPLAYS[0])
        print("first replay in a fresh browser (%s, code compiled as it runs): %.3f s" % (REPLAYS[0], took))
        for name in REPLAYS:
            in_page.run(name)
        runners = [Desktop(args.desktop)] if args.desktop else []
        if os.path.exists(os.path.join(folder, "vornhelm-replay-node.js")):
            runners.append(Node(folder))
        runners.append(in_page)
        rates = bench_replays(runners, args.rounds)
        if args.desktop:
            for runner in runners[1:]:
                print("%s: %.2f x the desktop's updates/s" % (runner.label, rates[runner.label] /
                                                                rates[Desktop.label]))
    finally:
        browser.close()
        server.close()


if __name__ == "__main__":
    main()
