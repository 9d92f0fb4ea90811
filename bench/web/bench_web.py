#!/usr/bin/python3
"""Figures of the browser build in headless Chromium (SwiftShader), 1280 x 720:

  bench_web.py WEB_BUILD_DIR [SECONDS]

time from page load to the start screen and from the click to the menu;
updates per second in the menu and in a mode-3 game at wave 10, each over
SECONDS (default 30); the three committed replays run flat out; the sizes of
the .wasm and of everything the page downloads."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "web"))
import browser_test as t  # noqa: E402
import cdp  # noqa: E402


def rate(browser, seconds, keep_alive=False):
    start = browser.evaluate("Module._vornhelm_bench_updates()")
    began = time.time()
    while time.time() - began < seconds:
        browser.pump(1.0)
        if keep_alive:
            browser.evaluate("Module._vornhelm_bench_heal()")
    return (browser.evaluate("Module._vornhelm_bench_updates()") - start) / (time.time() - began)


def main():
    folder = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30
    page = ["index.html", "page.js", "icon.png", "vornhelm-data.js", "vornhelm-data.data", "vornhelm.js",
            "vornhelm.wasm"]
    total = sum(os.path.getsize(os.path.join(folder, f)) for f in page)
    print("vornhelm.wasm: %.2f MB; first download in all: %.2f MB" %
          (os.path.getsize(os.path.join(folder, "vornhelm.wasm")) / 1e6, total / 1e6))

    server = cdp.Server(folder)
    browser = cdp.Browser(t.WIDTH, t.HEIGHT)
    try:
        began = time.time()
        browser.navigate(server.url + "bench.html")
        browser.wait_for(lambda: t.start_screen(browser.canvas_pixels()), 60, step=0.05)
        loaded = time.time() - began
        browser.pump(0.5)
        browser.click(t.WIDTH / 2, (t.HEIGHT - 26) / 2)
        clicked = time.time()
        browser.wait_for(lambda: t.menu_screen(browser.canvas_pixels()), 30, step=0.05)
        print("page load to the start screen: %.2f s; click to the menu: %.2f s (after a pause of 0.5 s)" %
              (loaded, time.time() - clicked))
        browser.pump(1)
        print("menu: %.1f updates/s over %.0f s" % (rate(browser, seconds), seconds))

        # Mode 3 is the third tile of the strip.
        for key in (("ArrowRight", "ArrowRight", 39), ("ArrowRight", "ArrowRight", 39), ("Enter", "Enter", 13)):
            browser.press(*key)
        browser.wait_for(lambda: t.day_sky(browser.canvas_pixels()) > 0.15, 10)
        browser.pump(1)
        browser.evaluate("Module._vornhelm_bench_wave(10)")
        wave = browser.evaluate("Module._vornhelm_bench_heal()")
        print("mode 3, wave %d: %.1f updates/s over %.0f s" % (wave, rate(browser, seconds, True), seconds))

        for name in ("mode1-rescue", "mode2-fight", "mode3-dive"):
            browser.console.clear()
            browser.navigate(server.url + "replay.html?%s.vhr" % name)
            browser.wait_for(lambda: any(l.startswith("Replay took") for l in browser.console_lines()), 120)
            lines = browser.console_lines()
            ended = next(l for l in lines if l.startswith("Replay ended"))
            took = float(next(l for l in lines if l.startswith("Replay took")).split()[2]) / 1000
            updates = int(ended.split()[3])
            print("replay %s: %d updates in %.2f s, %.0f updates/s" % (name, updates, took, updates / took))
    finally:
        browser.close()
        server.close()


if __name__ == "__main__":
    main()
