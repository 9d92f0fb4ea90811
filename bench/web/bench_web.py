#!/usr/bin/python3
# SPDX-License-Identifier: Zlib
"""Figures of the browser build in headless Chromium (SwiftShader):

  bench_web.py WEB_BUILD_DIR [--seconds S] [--desktop NATIVE_BUILD_DIR] [--rounds N] [--replays-only]
               [--page-only] [--size WxH ...] [--against OTHER_WEB_BUILD_DIR] [--page-rounds N] [--profile]
  bench_web.py WEB_BUILD_DIR --bare [--seconds S] [--size WxH ...]

time from page load to the start screen and from the click to the menu;
what the player sees in the menu and in a mode-3 game at wave 10, each over
S seconds (default 30): the frames shown per second (the frames the game
drew, counted by the game; the page's animation frames, which outnumber
them when the browser runs more of those than there are updates), beside the game's own update figures (its counts of
updates, its update-rate measure, its render rate) and the CPU share of
Chromium's processes (the page's, where the game and WebGL's JavaScript
run, and the GPU process's, where SwiftShader draws); at each --size
(default 1280x720), and with --against for that build too, the two taking
turns, --page-rounds times (default 1); the sizes of the .wasm and of everything the page downloads; and
fast replays of the committed mode-1 and mode-3 games, N rounds (default 7)
taking turns between the desktop's `vornhelm --replay FILE --fast` (when
NATIVE_BUILD_DIR is given), the browser build under node and the browser
build in the page. Each replay's time includes the game's start-up (loading
its assets); the mode-1 game runs 2656 updates more than the mode-3 one, so
the difference of their medians is the time of those updates alone.

--profile samples the page's JavaScript and WebAssembly over each measured
stretch (the DevTools profiler) and prints the functions that took the most
time themselves, and, when perf is installed, the GPU process's time by
library.

--bare measures instead a page that only clears a WebGL canvas each
animation frame (and one that also fills it with one or two textured
quads): what the browser itself costs a frame at that size, the floor
under the game's figures."""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
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


def bench_page(browser, server, seconds, size, profile=False):
    """The page from load to the menu, then the menu and a mode-3 game at
    wave 10; returns the two stretches' figures."""
    width, height = size
    began = time.time()
    browser.navigate(server.url + "bench.html")
    browser.wait_for(lambda: t.start_screen(browser.canvas_pixels()), 60, step=0.05)
    loaded = time.time() - began
    browser.click(width / 2, (height - 26) / 2)
    clicked = time.time()
    browser.wait_for(lambda: t.menu_screen(browser.canvas_pixels()), 30, step=0.05)
    print("page load to the start screen: %.2f s; click to the menu: %.2f s" %
          (loaded, time.time() - clicked), flush=True)
    browser.pump(1)
    menu = rates(browser, seconds, profile=profile)

    # Mode 3 is the third tile of the strip.
    for key in ("ArrowRight", "ArrowRight", "Enter"):
        browser.press(key)
    browser.wait_for(lambda: t.day_sky(browser.canvas_pixels()) > 0.15, 10)
    browser.pump(1)
    browser.evaluate("Module._vornhelm_bench_wave(10)")
    browser.evaluate("Module._vornhelm_bench_heal()")
    play = rates(browser, seconds, playing=True, profile=profile)
    return menu, play


# Counts the page's animation frames and the menu's updates from its
# animation counter, read after every animation frame (a frame runs at most
# 4 updates, 8 steps of the counter, so its steps modulo 60 are never
# ambiguous).
COUNT_FRAMES = """
window.vornhelmFrames = 0;
window.vornhelmMenuUpdates = 0;
(function () {
  var last = Module._vornhelm_bench_menu_tick();
  function look() {
    var now = Module._vornhelm_bench_menu_tick();
    window.vornhelmMenuUpdates += ((now - last + 60) % 60) / 2;
    window.vornhelmFrames += 1;
    last = now;
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
})();
"""


def chromium_processes(browser):
    """Chromium's processes as (pid, kind): the page's (renderer), the GPU
    process's and the rest."""
    found, todo = [], [browser.proc.pid]
    while todo:
        pid = todo.pop()
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                cmdline = f.read()
            # A process's children hang under the thread that started them.
            for task in os.listdir("/proc/%d/task" % pid):
                with open("/proc/%d/task/%s/children" % (pid, task)) as f:
                    todo += [int(c) for c in f.read().split()]
        except OSError:
            continue
        found.append((pid, "page" if b"--type=renderer" in cmdline else
                      "gpu" if b"--type=gpu-process" in cmdline else "rest"))
    return found


def chromium_cpu(browser):
    """CPU seconds so far of Chromium's processes by kind."""
    tick = os.sysconf("SC_CLK_TCK")
    found = {"page": 0.0, "gpu": 0.0, "rest": 0.0}
    for pid, kind in chromium_processes(browser):
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        found[kind] += (int(fields[11]) + int(fields[12])) / tick
    return found


class GpuSampler:
    """perf's samples of the GPU process over a stretch, by library: where
    SwiftShader's drawing goes (its generated code shows as [JIT]). Does
    nothing when perf is missing or may not watch the process."""

    def __init__(self, browser):
        self.proc, self.data = None, tempfile.mktemp(prefix="vornhelm-gpu-", suffix=".perf")
        gpu = [pid for pid, kind in chromium_processes(browser) if kind == "gpu"]
        if gpu and shutil.which("perf"):
            self.proc = subprocess.Popen(["perf", "record", "-q", "-e", "cpu-clock", "-F", "499", "-p",
                                          str(gpu[0]), "-o", self.data], stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)

    def report(self, top=8):
        if not self.proc:
            return
        self.proc.send_signal(signal.SIGINT)
        self.proc.wait()
        out = subprocess.run(["perf", "report", "-i", self.data, "--stdio", "--sort", "dso", "-g", "none"],
                             capture_output=True, text=True).stdout
        os.remove(self.data)
        lines = [l.strip() for l in out.splitlines() if l.strip() and not l.startswith("#")]
        print("    GPU process by library: " + "; ".join(" ".join(l.split()) for l in lines[:top]))


def rates(browser, seconds, playing=False, profile=False):
    """What the player sees over `seconds`: the page's animation frames per
    second; the game's count of updates per second (in a game under way its
    count of play updates; in the menu the steps of the menu's animation
    counter); read 4 times a second, its update-rate measure (1000 / the
    milliseconds since the previous update, so the second update of a frame
    reads 1000 or keeps the first's figure, and a late one reads low) as
    median and range, the same smoothed (a whole-number smoothing that
    settles up to 9 below a steady rate), and the smoothed render rate that
    the debug line (F1) shows; and the CPU share of Chromium's processes."""
    read = lambda f: browser.evaluate("Module._vornhelm_bench_%s()" % f)  # noqa: E731
    counted = lambda: read("play_updates") if playing else browser.evaluate("window.vornhelmMenuUpdates")  # noqa: E731
    browser.evaluate(COUNT_FRAMES)
    sampler = GpuSampler(browser) if profile else None
    if profile:
        browser.call("Profiler.enable")
        browser.call("Profiler.setSamplingInterval", interval=200)
        browser.call("Profiler.start")
    drawn = lambda: browser.evaluate("Module._vornhelm_bench_frames_drawn ? Module._vornhelm_bench_frames_drawn() : -1")  # noqa: E731
    instant, smoothed, render = [], [], []
    began, start, frames, cpu = time.time(), counted(), browser.evaluate("window.vornhelmFrames"), chromium_cpu(browser)
    drawn_at_start = drawn()
    while time.time() - began < seconds:
        browser.pump(0.25)
        instant.append(read("update_rate"))
        smoothed.append(read("update_rate_smoothed"))
        render.append(read("render_rate_smoothed"))
        if playing:
            read("heal")
    took = time.time() - began
    count = (counted() - start) / took
    animation = (browser.evaluate("window.vornhelmFrames") - frames) / took
    # A build without the game's own count: its animation frames stand in.
    shown = (drawn() - drawn_at_start) / took if drawn_at_start >= 0 else animation
    used = {k: 100 * (v - cpu[k]) / took for k, v in chromium_cpu(browser).items()}
    figures = {"frames": shown, "updates": count, "cpu": used}
    print("  %s: %.1f frames shown/s (%.1f animation frames/s), %.1f updates/s counted by the game; "
          "CPU %% of a core: page %.0f, "
          "GPU process %.0f, rest %.0f; its update-rate measure: median %.0f (%d to %d), smoothed %.1f; "
          "its render rate, smoothed: %.1f" %
          ("play" if playing else "menu", shown, animation, count, used["page"], used["gpu"], used["rest"],
           statistics.median(instant), min(instant), max(instant), statistics.mean(smoothed),
           statistics.mean(render)), flush=True)
    if profile:
        print_profile(browser.call("Profiler.stop")["profile"])
        sampler.report()
    return figures


def print_profile(profile, top=25):
    """The functions that took the most time themselves, by share of the
    samples."""
    nodes = {n["id"]: n for n in profile["nodes"]}
    hits = {}
    for sample in profile["samples"]:
        frame = nodes[sample]["callFrame"]
        name = frame["functionName"] or "(anonymous %s:%d)" % (os.path.basename(frame["url"]), frame["lineNumber"])
        hits[name] = hits.get(name, 0) + 1
    total = max(1, len(profile["samples"]))
    for name, n in sorted(hits.items(), key=lambda kv: -kv[1])[:top]:
        print("    %5.1f %%  %s" % (100.0 * n / total, name))


def parse_size(text):
    width, height = (int(v) for v in text.lower().split("x"))
    return width, height


def bench_bare(sizes, seconds):
    """The browser's own cost of a frame: bare/index.html, which only clears
    its canvas (then also draws 1 and 2 textured quads over it), at each
    size; frames per second and the GPU process's CPU per frame."""
    server = cdp.Server(os.path.join(HERE, "bare"))
    try:
        for size in sizes:
            for query in ("", "?quads=1", "?quads=2", "?quads=1&blend"):
                browser = cdp.Browser(*size)
                try:
                    browser.navigate(server.url + "index.html" + query)
                    browser.pump(2)
                    began, frames, cpu = time.time(), browser.evaluate("window.bareFrames"), chromium_cpu(browser)
                    browser.pump(seconds)
                    took = time.time() - began
                    shown = (browser.evaluate("window.bareFrames") - frames) / took
                    gpu = (chromium_cpu(browser)["gpu"] - cpu["gpu"]) / took
                    print("bare page at %dx%d%s: %.1f frames/s, GPU process %.0f %% of a core, %.1f ms of it a frame" %
                          (size[0], size[1], query or " (clear only)", shown, 100 * gpu,
                           1000 * gpu / shown if shown else 0), flush=True)
                finally:
                    browser.close()
    finally:
        server.close()


def bench_pages(builds, sizes, seconds, rounds, profile):
    """The page of each build at each size, the builds taking turns; one
    browser per size. Prints each run and, with more than one round, the
    medians."""
    results = {}
    for _ in range(rounds):
        for size in sizes:
            browser = cdp.Browser(*size)
            try:
                for folder, server in builds:
                    print("%s at %dx%d:" % (folder, size[0], size[1]), flush=True)
                    results.setdefault((folder, size), []).append(bench_page(browser, server, seconds, size,
                                                                             profile))
            finally:
                browser.close()
    if rounds > 1:
        for (folder, size), runs in results.items():
            for i, what in enumerate(("menu", "play")):
                print("%s at %dx%d, %s, medians of %d: %.1f frames shown/s, %.1f updates/s" %
                      (folder, size[0], size[1], what, len(runs), statistics.median(r[i]["frames"] for r in runs),
                       statistics.median(r[i]["updates"] for r in runs)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("web_build")
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--desktop", help="the native build folder, for the desktop's replay figures")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--replays-only", action="store_true")
    parser.add_argument("--page-only", action="store_true")
    parser.add_argument("--size", action="append", type=parse_size, help="window size WxH (default 1280x720)")
    parser.add_argument("--against", help="another web build folder, measured in turns with this one")
    parser.add_argument("--page-rounds", type=int, default=1)
    parser.add_argument("--profile", action="store_true")
    parser.add_argument("--bare", action="store_true", help="only the bare WebGL page at each size")
    args = parser.parse_args()
    if args.bare:
        bench_bare(args.size or [(t.WIDTH, t.HEIGHT)], args.seconds)
        return
    folder = args.web_build
    folders = ([args.against] if args.against else []) + [folder]

    # What a page at 1280 x 720 downloads: the page and its scripts, the
    # .wasm, the data without images and the level 4 images.
    wanted = ("index.html", "page.", "icon.", "vornhelm.", "vornhelm-data-base.", "vornhelm-data-4.")
    for f in folders:
        site = os.path.join(f, "site")
        page = [n for n in os.listdir(site) if n.startswith(wanted) and not n.endswith(".gz")]
        total = sum(os.path.getsize(os.path.join(site, n)) for n in page)
        packed = sum(os.path.getsize(os.path.join(site, n + ".gz")) if os.path.exists(os.path.join(site, n + ".gz"))
                     else os.path.getsize(os.path.join(site, n)) for n in page)
        print("%s: vornhelm.wasm %.2f MB; first download at 1280 x 720: %.2f MB, %.2f MB precompressed" %
              (f, os.path.getsize(os.path.join(f, "vornhelm.wasm")) / 1e6, total / 1e6, packed / 1e6), flush=True)

    servers = [(f, cdp.Server(f)) for f in folders]
    try:
        if not args.replays_only:
            bench_pages(servers, args.size or [(t.WIDTH, t.HEIGHT)], args.seconds, args.page_rounds, args.profile)
        if args.page_only:
            return
        browser = cdp.Browser(t.WIDTH, t.HEIGHT)
        try:
            bench_page_replays(browser, servers[-1][1], args)
        finally:
            browser.close()
    finally:
        for _, server in servers:
            server.close()


def bench_page_replays(browser, server, args):
    in_page = Page(browser, server)
    # A fresh browser compiles the game's code as it first runs it; the
    # code is kept for the next visits, as for a returning player.
    took, _ = in_page.run(REPLAYS[0])
    print("first replay in a fresh browser (%s, code compiled as it runs): %.3f s" % (REPLAYS[0], took))
    for name in REPLAYS:
        in_page.run(name)
    runners = [Desktop(args.desktop)] if args.desktop else []
    if os.path.exists(os.path.join(args.web_build, "vornhelm-replay-node.js")):
        runners.append(Node(args.web_build))
    runners.append(in_page)
    rates = bench_replays(runners, args.rounds)
    if args.desktop:
        for runner in runners[1:]:
            print("%s: %.2f x the desktop's updates/s" % (runner.label, rates[runner.label] /
                                                            rates[Desktop.label]))


if __name__ == "__main__":
    main()
