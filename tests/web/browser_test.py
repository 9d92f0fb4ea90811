#!/usr/bin/python3
# SPDX-License-Identifier: Zlib
"""The browser build in headless Chromium, served from 127.0.0.1.

  browser_test.py WEB_BUILD_DIR page NATIVE_BUILD_DIR
  browser_test.py WEB_BUILD_DIR site | phone
  browser_test.py WEB_BUILD_DIR replays REPLAY_DIR
  browser_test.py WEB_BUILD_DIR pixels NATIVE_BUILD_DIR REPLAY_DIR

Each check prints one line; the last counts them. Exit code 0 when all passed."""

import base64
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

WIDTH, HEIGHT = 1280, 720
PAGE = "site/index.html"
STATE_KEY = "vornhelm.state"


class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, ok, what):
        print(("ok    " if ok else "FAIL  ") + what, flush=True)
        self.passed, self.failed = self.passed + bool(ok), self.failed + (not ok)
        return ok

    def summary(self):
        print("%d passed, %d failed" % (self.passed, self.failed))
        return 0 if self.failed == 0 else 1


# --- pixels -----------------------------------------------------------------

def share(shot, test):
    """Share of the canvas's pixels for which test(r, g, b) holds."""
    w, h, px = shot
    return sum(1 for i in range(0, len(px), 3) if test(px[i], px[i + 1], px[i + 2])) / float(w * h)


def near(r, g, b, want, tolerance=6):
    return max(abs(r - want[0]), abs(g - want[1]), abs(b - want[2])) <= tolerance


def loading_screen(shot):
    """Cleared to (40, 40, 80) with an orange band at alpha 0.7 across the middle."""
    return (share(shot, lambda r, g, b: near(r, g, b, (40, 40, 80))) > 0.2 and
            share(shot, lambda r, g, b: near(r, g, b, (187, 124, 66), 10)) > 0.05)


def start_screen(shot):
    """The loading screen's colours and, at 0.7 of the height, the ovals under
    "Click to Start" darkening the yellow disc or the backdrop beside it
    (the loading screen, where a click is no start, has none there)."""
    w, h, px = shot
    y = int(0.7 * h)
    xs = range(int(0.45 * w), int(0.55 * w))

    def darkened(x):
        r, g, b = px[3 * (y * w + x):3 * (y * w + x) + 3]
        # Over the disc, or beside it on a narrow screen whose disc is small.
        return (80 < r < 150 and abs(r - g) < 8 and b < 60) or near(r, g, b, (20, 20, 41), 8)

    return loading_screen(shot) and sum(1 for x in xs if darkened(x)) > 0.6 * len(xs)


def day_sky(shot):
    return share(shot, lambda r, g, b: near(r, g, b, (0, 175, 250)))


def playing(shot):
    """The day sky on at least 15 % of the canvas: its share, else 0."""
    sky = day_sky(shot)
    return sky if sky >= 0.15 else 0


def menu_screen(shot):
    """The title menu's sea and sky, without the loading screen or the play sky."""
    bluish = share(shot, lambda r, g, b: b > 150 and g > 100 and r < 150)
    return bluish > 0.25 and day_sky(shot) < 0.05 and not loading_screen(shot)


def pause_panel(shot):
    return share(shot, lambda r, g, b: r > 170 and 90 < g < 160 and b < 90) > 0.04


# --- the page ---------------------------------------------------------------

def open_page(browser, url):
    """The first frame that shows the loading screen (it may last under a second), or None."""
    browser.navigate(url)
    return browser.wait_for_canvas(lambda shot: shot if loading_screen(shot) else None, 30, step=0.05)


def audio_state(browser):
    return browser.evaluate("typeof AL !== 'undefined' && AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'")


def stored_state(browser):
    return browser.evaluate("localStorage.getItem('%s')" % STATE_KEY)


def lose_focus(browser):
    """The game saves when it is suspended: the page loses the focus and gets it back."""
    for event in ("blur", "focus"):
        browser.evaluate("window.dispatchEvent(new FocusEvent('%s'))" % event)
        browser.pump(0.3)


def save_by_losing_focus(browser):
    lose_focus(browser)
    return stored_state(browser)


def start_screen_shown(browser, seconds=30):
    return browser.wait_for_canvas(start_screen, seconds, step=0.05)


def start_to_menu(browser, checks):
    """Clicks as soon as the start screen shows."""
    if not checks.check(start_screen_shown(browser, 20), "loading ends on the start screen"):
        return False
    browser.click(WIDTH / 2, (HEIGHT - 26) / 2)
    return checks.check(browser.wait_for_canvas(menu_screen, 15), "after the start click the menu appears")


def give_up_a_game(browser, checks):
    """From the menu Enter starts a game; Escape opens the pause panel, whose
    button left of the chosen one gives the game up."""
    browser.press("Enter")
    sky = browser.wait_for_canvas(playing, 10)
    checks.check(sky, "Enter starts a game: day sky on %.0f%% of the canvas" % (100 * (sky or 0)))
    browser.pump(1.0)
    browser.press("Escape")
    checks.check(browser.wait_for_canvas(pause_panel, 5), "Escape opens the pause panel")
    browser.press("ArrowLeft")
    browser.press(" ")


def check_session_replay(browser, checks, native):
    """The page's recording of the session replays on the desktop build to the same end."""
    checks.check(browser.wait_for(lambda: browser.evaluate(
        "!document.getElementById('save-replay').hidden"), 5), "after the game over the page offers Save replay")
    taken = browser.evaluate("(() => { const b = window.vornhelm.replay(); let s = '';"
                             " for (let i = 0; i < b.length; i++) s += String.fromCharCode(b[i]);"
                             " return [btoa(s), UTF8ToString(Module._vornhelm_describe_state())]; })()")
    if not checks.check(taken and taken[0], "window.vornhelm.replay() gives the session's bytes"):
        return
    with tempfile.TemporaryDirectory() as scratch:
        path = os.path.join(scratch, "page.vhr")
        with open(path, "wb") as f:
            f.write(base64.b64decode(taken[0]))
        proc = subprocess.run(["env", "-u", "DISPLAY", os.path.join(native, "vornhelm"), "--replay", path, "--fast"],
                              cwd=native, capture_output=True, text=True, timeout=120)
    last = proc.stdout.strip().splitlines()[-1] if proc.stdout.strip() else proc.stderr.strip()
    checks.check(proc.returncode == 0 and last.startswith("Replay ended after ") and
                 last.endswith(": " + taken[1]) and ", score " in taken[1],
                 "the desktop replays the page's session to the same end: %s / %s" % (last, taken[1]))


def run_page(browser, server, checks, native):
    url = server.url + PAGE
    first = open_page(browser, url)
    checks.check(first, "the loading screen's colours appear")
    # A click there is no start: the test must not click too early.
    checks.check(first and not start_screen(first), "the loading screen is not the start screen")
    checks.check(audio_state(browser) == "suspended", "sound waits for the player's input")
    if not start_to_menu(browser, checks):
        return
    checks.check(audio_state(browser) == "running", "the click started the sound")

    browser.evaluate("window.gameOver = null; window.addEventListener('vornhelm:gameover',"
                     " e => { window.gameOver = e.detail; })")
    give_up_a_game(browser, checks)
    over = browser.wait_for(lambda: browser.evaluate("window.gameOver"), 15)
    checks.check(over == {"mode": 1, "score": 0} and browser.wait_for_canvas(menu_screen, 15),
                 "giving up returns to the menu and tells the embedding page: vornhelm:gameover %s" % over)
    check_session_replay(browser, checks, native)
    after = browser.wait_for(lambda: stored_state(browser), 5)

    # A reload reads the saved state back: saved again, it is unchanged.
    browser.console.clear()
    checks.check(open_page(browser, url), "the page reloads")
    lines = browser.console_lines()
    checks.check(all("%s Loaded" % m in lines for m in ("Settings", "Badges", "Highscore 0", "Highscore 1",
                                                         "Highscore 2")),
                 "after the reload every block of the state loads")
    checks.check(after and save_by_losing_focus(browser) == after, "the saved state survived the reload")
    if start_to_menu(browser, checks):
        check_fullscreen(browser, checks)


def fullscreen_element(browser):
    return browser.evaluate("document.fullscreenElement ? document.fullscreenElement.id : ''")


def check_fullscreen(browser, checks):
    """F11 toggles the canvas's full screen; when the page leaves it by itself
    (the player's Esc, which the browser keeps) the next F11 enters it again."""
    for step, want in (("F11", "canvas"), ("document.exitFullscreen()", ""), ("F11", "canvas"), ("F11", "")):
        browser.press(step) if step == "F11" else browser.evaluate(step)
        checks.check(browser.wait_for(lambda: fullscreen_element(browser) == want, 5), "%s: full screen %r" % (step, want))
        browser.pump(0.3)


# --- the page as a site: downloads, errors, keys, pointer, storage, offline --

# Run in every document of the site's browser: a query word takes away what
# the page needs (WebAssembly, WebGL, storage), as some browsers and frames do.
TAKE_AWAY = """
(function () {
  var q = location.search;
  if (q.indexOf('nowasm') >= 0) delete window.WebAssembly;
  if (q.indexOf('nowebgl') >= 0) HTMLCanvasElement.prototype.getContext = function () { return null; };
  if (q.indexOf('nostorage') >= 0)
    Object.defineProperty(window, 'localStorage', { get: function () {
      throw new DOMException('The operation is insecure.', 'SecurityError'); } });
})();
"""

def shown(browser, what):
    """The text of an element of the page if it is shown, else None."""
    return browser.evaluate("(() => { const e = document.getElementById('%s'), s = e && getComputedStyle(e);"
                            " return e && !e.hidden && s.display !== 'none' && e.getBoundingClientRect().width > 0"
                            " ? e.textContent.trim() : null; })()" % what)


def fetched_game(browser):
    return browser.evaluate("performance.getEntriesByType('resource').some(e => /\\.(wasm|data)$/.test(e.name))")


def check_refusals(browser, server, checks):
    """What a player sees when the browser lacks a part, or the download fails."""
    for word, want in (("nowasm", "WebAssembly"), ("nowebgl", "WebGL")):
        browser.navigate(server.url + PAGE + "?" + word)
        text = browser.wait_for(lambda: shown(browser, "message-text"), 10)
        checks.check(text and want in text and not shown(browser, "message-retry") and not fetched_game(browser),
                     "without %s the page says so before any download: %r" % (want, text))
    server.fail(".wasm")
    browser.navigate(server.url + PAGE + "?broken")
    text = browser.wait_for(lambda: shown(browser, "message-text"), 20)
    checks.check(text and "could not be downloaded" in text and shown(browser, "message-retry") == "Retry",
                 "a failed download says so with a Retry button: %r" % text)
    server.fail()
    browser.evaluate("document.getElementById('message-retry').click()")
    checks.check(start_screen_shown(browser) and not shown(browser, "message"), "Retry then starts the game")
    browser.errors[:] = [e for e in browser.errors if "503" not in e and "could not be downloaded" not in e
                         and "Failed to load resource" not in e]


def check_keys_and_pointer(browser, checks):
    """A key passes the start screen; a press ended outside the canvas or by a lost focus is released."""
    checks.check(not shown(browser, "loading"), "the loading overlay is gone on the start screen")
    browser.press("Enter")
    checks.check(browser.wait_for_canvas(menu_screen, 15), "Enter passes the start screen")
    browser.pump(1.0)
    def mouse(kind, y=300):
        browser.call("Input.dispatchMouseEvent", type=kind, x=200, y=y, button="left", clickCount=1)
        browser.pump(0.1)
    # Pressed on the canvas, released on the help strip below it.
    mouse("mouseMoved"), mouse("mousePressed"), mouse("mouseMoved", HEIGHT - 4), mouse("mouseReleased", HEIGHT - 4)
    checks.check(browser.evaluate("GLFW.active.buttons") == 0, "a press released outside the canvas is released")
    mouse("mousePressed")
    held = browser.evaluate("GLFW.active.buttons")
    browser.evaluate("window.dispatchEvent(new FocusEvent('blur'))")
    browser.pump(0.2)
    checks.check(held == 1 and browser.evaluate("GLFW.active.buttons") == 0,
                 "a press held while the page loses the focus is released")
    mouse("mouseReleased")
    browser.evaluate("window.dispatchEvent(new FocusEvent('focus'))")
    browser.pump(0.3)


def check_nothing_ends_the_game(browser, checks):
    """The menu's back keys and F4 end the desktop program, a page has no
    exit; another script's error reaches the console only."""
    for what in ("Escape", "Backspace", "F4", "setTimeout(() => { throw new Error('an advert failed'); }, 0)"):
        browser.evaluate(what) if "(" in what else browser.press(what)
        browser.pump(0.5)
        checks.check(not shown(browser, "message") and menu_screen(browser.canvas_pixels()),
                     "%s in the menu ends nothing: %r" % (what, shown(browser, "message-text")))
    browser.errors[:] = [e for e in browser.errors if "an advert failed" not in e]
    browser.evaluate("Module.showMessage('test', {closable: true})")
    browser.evaluate("document.getElementById('message-close').click()")
    checks.check(not shown(browser, "message"), "the game's message can be closed")


def check_embedding_api(browser, checks):
    """An embedding page mutes and pauses the game (nothing moves, the state
    is saved, silent), and gives it back (a game's end: the page test)."""
    gain = "AL.currentCtx.gain.gain.value"
    browser.evaluate("window.vornhelm.mute()")
    muted = browser.evaluate(gain)
    browser.evaluate("window.vornhelm.unmute()")
    checks.check(muted == 0 and browser.evaluate(gain) == 1 and menu_screen(browser.canvas_pixels()),
                 "mute() silences the game (gain %s) and unmute() gives it back (%s)" % (muted, browser.evaluate(gain)))

    browser.evaluate("localStorage.removeItem('%s')" % STATE_KEY)
    browser.evaluate("window.vornhelm.pause()")
    browser.pump(0.3)
    still = browser.canvas_pixels()
    browser.pump(1.0)
    held = browser.canvas_pixels() == still
    saved, silent = stored_state(browser), browser.evaluate(gain) == 0
    browser.evaluate("window.vornhelm.resume()")
    moving = browser.wait_for(lambda: browser.canvas_pixels() != still, 3)
    checks.check(held and saved and silent and moving and browser.evaluate(gain) == 1,
                 "pause() holds the menu still (%s), saves (%s) and silences (%s); resume() goes on (%s)" % (
                     held, bool(saved), silent, bool(moving)))



def check_lost_context(browser, checks):
    """A lost WebGL context (a GPU reset, a phone's background tab) comes back drawn."""
    lose = "document.getElementById('canvas').getContext('webgl').getExtension('WEBGL_lose_context')"
    browser.evaluate("window.loseContext = %s; loseContext.loseContext()" % lose)
    browser.pump(0.5)
    lost = menu_screen(browser.canvas_pixels())
    browser.evaluate("loseContext.restoreContext()")
    back = browser.wait_for_canvas(menu_screen, 10)
    browser.pump(1.0)
    checks.check(not lost and back and menu_screen(browser.canvas_pixels()),
                 "a lost and restored context draws the menu again (while lost: %s)" % lost)


def check_storage_blocked(browser, server, checks):
    browser.navigate(server.url + PAGE + "?nostorage")
    if not checks.check(start_screen_shown(browser), "with storage blocked the game starts"):
        return
    browser.press("Enter")
    browser.wait_for_canvas(menu_screen, 15)
    lose_focus(browser)
    notice = browser.wait_for(lambda: shown(browser, "notice"), 3)
    checks.check(notice and "save" in notice and not shown(browser, "message"),
                 "a failed save shows a notice and no error: %r" % notice)
    lose_focus(browser)
    browser.press("Enter")
    checks.check(browser.wait_for_canvas(playing, 10), "and play goes on")


def check_embedded(browser, server, checks):
    """The game in a frame of a tall page: its keys do not scroll the page."""
    browser.navigate(server.url + cdp.EMBED_PAGE)
    frame = "document.getElementById('game').contentDocument"
    ready = browser.wait_for(lambda: browser.evaluate(
        "(() => { const w = (document.getElementById('game') || {}).contentWindow;"
        " return !!(w && w.Module && w.Module.calledRun); })()"), 30)
    if not checks.check(ready, "the game runs in the portal's frame"):
        return
    browser.pump(1.0)
    browser.click(400, 300)
    focused = browser.evaluate("%s.activeElement && %s.activeElement.id" % (frame, frame))
    for key in ("ArrowDown", " ", "PageDown", "End", "Tab", "ArrowUp"):
        browser.press(key)
    scrolled = browser.evaluate("window.scrollY")
    checks.check(focused == "canvas" and scrolled == 0,
                 "the first click gives the canvas the keys (%r) and they leave the portal where it was "
                 "(scrolled %s pixels)" % (focused, scrolled))


def check_offline(browser, server, checks):
    """The page is installable; once played, it reloads and plays offline."""
    browser.navigate(server.url + PAGE)
    start_screen_shown(browser)
    worker = browser.wait_for(lambda: browser.evaluate("!!navigator.serviceWorker.controller"), 10)
    manifest = browser.call("Page.getAppManifest")
    problems = browser.call("Page.getInstallabilityErrors")["installabilityErrors"]
    checks.check(worker and not problems and not manifest.get("errors") and '"512x512"' in manifest.get("data", ""),
                 "the page is installable: %s %s" % (problems, manifest.get("errors")))
    server.close()
    browser.call("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=-1,
                 uploadThroughput=-1)
    browser.call("Page.reload")
    ok = start_screen_shown(browser)
    if ok:
        browser.press("Enter")
        ok = browser.wait_for_canvas(menu_screen, 15)
    checks.check(worker and ok, "an offline reload plays (worker in charge: %s)" % worker)
    browser.errors[:] = [e for e in browser.errors if "ERR_INTERNET_DISCONNECTED" not in e]


def check_hashed_names(folder, checks):
    """Files the page names (but its worker) are named by their content's hash: two builds never mix."""
    with open(os.path.join(folder, "site", "index.html")) as f:
        table = json.loads(re.search(r"VORNHELM_FILES = (\{.*?\});", f.read()).group(1))
    wrong = []
    for name, entry in table.items():
        if name == "sw.js":
            continue
        with open(os.path.join(folder, "site", entry["path"]), "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()[:12]
        if entry["path"] != re.sub(r"(\.[a-z]+)$", "." + digest + r"\1", name):
            wrong.append(entry["path"])
    checks.check(len(table) > 10 and not wrong, "%d files named by their content's hash; wrong: %s" % (
        len(table) - 1, wrong))


def run_site(browser, server, checks):
    check_hashed_names(server.folder, checks)
    browser.before_each_page(TAKE_AWAY)
    check_refusals(browser, server, checks)
    if not checks.check(start_screen_shown(browser), "the page shows the start screen"):
        return
    check_keys_and_pointer(browser, checks)
    check_lost_context(browser, checks)
    check_embedding_api(browser, checks)
    check_nothing_ends_the_game(browser, checks)
    check_storage_blocked(browser, server, checks)
    check_embedded(browser, server, checks)
    check_offline(browser, server, checks)


# --- the first download and the phone -------------------------------------

def check_touch_help(browser, checks, orientation):
    fits = browser.evaluate("(() => { const c = document.getElementById('controls'), r = c.getBoundingClientRect();"
                            " return c.scrollWidth <= c.clientWidth && r.bottom <= innerHeight + 0.5; })()")
    checks.check(fits and shown(browser, "help-touch") and not shown(browser, "help-keys"),
                 "%s: the touch help fits the screen: %r" % (orientation, shown(browser, "help-touch")))


def check_growing_canvas(browser, checks, width, height, ratio):
    """A canvas that grows past its art level: the game sees the new size
    only once that level's files are in place."""
    browser.evaluate("window.sizesSeen = []; window.addEventListener('resize', () => sizesSeen.push("
                     "[GLFW.active.width, Module.FS.analyzePath('/data/menu-hd2.png').exists]), true)")
    browser.call("Emulation.setDeviceMetricsOverride", width=WIDTH, height=HEIGHT, deviceScaleFactor=1, mobile=False)
    grown = browser.wait_for(lambda: browser.evaluate("GLFW.active.width") == WIDTH, 20)
    seen = browser.evaluate("sizesSeen")
    checks.check(grown and seen and all(has for w, has in seen if w > 1230) and start_screen_shown(browser, 10),
                 "grown to 1280 x 720, the game loads its level 4 art only once it is there: %s" % seen)


def ground(shot):
    """Share of the canvas that is the play screen's green ground."""
    return share(shot, lambda r, g, b: r < 30 and g > 150 and b < 30)


def check_phone(browser, checks, width, height, ratio):
    """The phone in both orientations, played by taps: holding the on-screen
    pad's up button lifts the helicopter off the home pad (the ground drops
    out of sight below it). Which tap chooses what is the game's tests'."""
    check_touch_help(browser, checks, "portrait")
    browser.tap(width / 2, height * 0.45)
    # The portrait menu shows little sea: it is told by the loading screen's colours having gone.
    checks.check(browser.wait_for_canvas(lambda shot: not loading_screen(shot), 15),
                 "portrait: a tap passes the start screen")
    browser.call("Emulation.setDeviceMetricsOverride", width=height, height=width, deviceScaleFactor=ratio,
                 mobile=True, screenOrientation={"type": "landscapePrimary", "angle": 90})
    browser.pump(1.5)
    check_touch_help(browser, checks, "landscape")
    checks.check(browser.wait_for_canvas(menu_screen, 15), "landscape: the menu is drawn again at the new size")
    # Mode 2, right of the chosen, slides into the middle, where a tap starts it.
    browser.tap(440, 237)
    browser.pump(1.0)
    browser.tap(347, 237)
    if not checks.check(browser.wait_for_canvas(playing, 10), "landscape: a tap on the chosen mode starts it"):
        return
    browser.pump(1.0)
    before = ground(browser.canvas_pixels())
    # The pad's up button: 32 virtual pixels above its centre, 64 from the
    # left and the bottom (at 844 x 390 CSS pixels, 1.08 CSS pixels each).
    browser.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": 67, "y": 264, "id": 1}])
    browser.pump(1.5)
    after = ground(browser.canvas_pixels())
    browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
    checks.check(before > 0.05 and after < before / 3, "landscape: holding the on-screen pad's up button flies up "
                 "(ground %.0f%% of the screen, then %.0f%%)" % (100 * before, 100 * after))


# (what, CSS width, height, device pixels per CSS pixel, the first download's
# limit in bytes, what is checked after it); the phone's screen takes touch.
SCREENS = (("1280 x 720", 1280, 720, 1, 3.5e6, None), ("800 x 600", 800, 600, 1, None, check_growing_canvas),
           ("the phone (390 x 844 at 3x)", 390, 844, 3, None, check_phone))


def run_phone(folder):
    """The bytes a fresh browser receives up to the start screen, at three
    sizes, and what each size then shows."""
    checks = Checks()
    server = cdp.Server(folder)
    try:
        for what, width, height, ratio, limit, then in SCREENS:
            browser = cdp.Browser(width, height)
            try:
                phone = then is check_phone
                browser.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                             deviceScaleFactor=ratio, mobile=phone)
                if phone:
                    browser.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
                browser.count_downloads()
                browser.navigate(server.url + PAGE)
                ok = start_screen_shown(browser)
                browser.pump(1.0)
                checks.check(ok and browser.downloaded <= (limit or 1e99), "first download at %s: %.2f MB (at most %s)"
                             % (what, browser.downloaded / 1e6, limit and "%.1f MB" % (limit / 1e6)))
                if then:
                    then(browser, checks, width, height, ratio)
                checks.check(not browser.errors, "%s: no errors on the console: %s" % (what, browser.errors[:3]))
            finally:
                browser.close()
    finally:
        server.close()
    return checks.summary()


def node_replay(folder, path):
    """A replay played under node on the staged data: (exit code, stdout lines, stderr lines)."""
    folder = os.path.abspath(folder)
    proc = subprocess.run(["node", "--no-experimental-fetch", os.path.join(folder, "vornhelm-replay-node.js"),
                           os.path.abspath(path)],
                          cwd=os.path.join(folder, "stage"), capture_output=True, text=True, timeout=120)
    return proc.returncode, proc.stdout.splitlines(), proc.stderr.splitlines()


def run_replays(folder, replay_dir):
    """The committed replays under node: the page's WebAssembly, no window and no sound."""
    checks = Checks()
    names = sorted(f[:-4] for f in os.listdir(replay_dir) if f.endswith(".vhr"))
    for name in names:
        with open(os.path.join(replay_dir, name + ".txt")) as f:
            expected = f.read().strip().splitlines()[-1]
        code, lines, _ = node_replay(folder, os.path.join(replay_dir, name + ".vhr"))
        ended = [l for l in lines if l.startswith("Replay ended")]
        got = ended[-1] if ended else "(no last line; exit code %d)" % code
        checks.check(code == 0 and got == expected, "%s ends as recorded: %s" % (name, got))
    # The reader's refusals are thrown and caught: a file cut short is
    # refused with one line and exit code 1, not a crash.
    with tempfile.TemporaryDirectory() as scratch:
        cut = os.path.join(scratch, "cut.vhr")
        with open(os.path.join(replay_dir, names[0] + ".vhr"), "rb") as f:
            data = f.read()
        with open(cut, "wb") as f:
            f.write(data[:len(data) // 2])
        code, out, err = node_replay(folder, cut)
    refusal = [l for l in err if l.startswith("vornhelm: cannot replay")]
    checks.check(code == 1 and len(refusal) == 1 and "truncated" in refusal[0] and
                 not any(l.startswith("Replay") for l in out),
                 "a replay cut short is refused: exit code %d, %s" % (code, refusal))
    return checks.summary()


# --- the same frame on the desktop and in the browser -----------------------

# Replay frames compared: a game (the helicopter on its rope, stars, particles,
# the status bar's texts, the terrain's steps) and the menu after it.
FRAMES = (("mode2-fight", 600), ("mode2-fight", 900))

# Measured (Mesa llvmpipe under Xvfb against Chromium's SwiftShader): every
# pixel more than 16 apart lies within 2 pixels of an edge of the desktop's
# frame, where the rasterisers round a boundary or filter a scaled texel
# differently; 0.4 % of the game frame, 2.1 % of the menu's. Away from edges
# the largest difference was 20. The limits are about twice those.
EDGE_RADIUS = 2
FAR_FROM_EDGES_MAX = 32
EDGE_SHARE_MAX = 0.04


def desktop_frame(browser, native, replay, update, out):
    """The desktop game's frame after `update`, under a private X server."""
    proc = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x720x24", os.path.join(native, "vornhelm"),
                           "--replay", replay, "--screenshot-at", str(update), out],
                          cwd=native, capture_output=True, text=True, timeout=120)
    if proc.returncode != 0 or not os.path.exists(out):
        return None
    with open(out, "rb") as f:
        return browser.decode_png(f.read())


def browser_frame(browser, server, name, update):
    """The page's frame after `update`, saved by the same capture code into the program's files."""
    browser.console.clear()
    browser.navigate(server.url + "replay.html?%s.vhr,%d" % (name, update))
    if not browser.wait_for(lambda: any(l.startswith("Replay took") for l in browser.console_lines()), 120):
        return None
    data = browser.evaluate("(() => { try { const d = Module.FS.readFile('/shot.png'); let s = '';"
                            " for (let i = 0; i < d.length; i++) s += String.fromCharCode(d[i]);"
                            " return btoa(s); } catch (e) { return null; } })()")
    return browser.decode_png(base64.b64decode(data)) if data else None


def compare_frames(desktop, web):
    """(share of pixels more than 16 apart in any channel, the largest
    difference farther than EDGE_RADIUS from every edge of the desktop's
    frame, the largest difference of all)."""
    w, h, a = desktop
    b = web[2]

    def apart(p, i, q, j):
        return max(abs(p[i] - q[j]), abs(p[i + 1] - q[j + 1]), abs(p[i + 2] - q[j + 2]))

    far_max = largest = apart_count = 0
    for y in range(h):
        for x in range(w):
            i = 3 * (y * w + x)
            d = apart(a, i, b, i)
            largest = max(largest, d)
            if d <= 16:
                continue
            apart_count += 1
            if not any(apart(a, i, a, 3 * (yy * w + xx)) > 16
                       for yy in range(max(0, y - EDGE_RADIUS), min(h, y + EDGE_RADIUS + 1))
                       for xx in range(max(0, x - EDGE_RADIUS), min(w, x + EDGE_RADIUS + 1))):
                far_max = max(far_max, d)
    return apart_count / float(w * h), far_max, largest


def run_pixels(browser, server, checks, native, replay_dir):
    with tempfile.TemporaryDirectory() as scratch:
        for name, update in FRAMES:
            replay = os.path.abspath(os.path.join(replay_dir, name + ".vhr"))
            desktop = desktop_frame(browser, os.path.abspath(native), replay, update,
                                    os.path.join(scratch, "%s-%d.png" % (name, update)))
            web = browser_frame(browser, server, name, update)
            what = "%s after update %d" % (name, update)
            if not checks.check(desktop and web and desktop[:2] == web[:2], "%s: both frames saved, %s and %s" % (
                    what, desktop and desktop[:2], web and web[:2])):
                continue
            share_apart, far_max, largest = compare_frames(desktop, web)
            checks.check(share_apart <= EDGE_SHARE_MAX and far_max <= FAR_FROM_EDGES_MAX,
                         "%s: %.2f %% of the pixels more than 16 apart (at most %.0f %%); away from edges "
                         "at most %d apart (limit %d); largest difference %d" % (
                             what, 100 * share_apart, 100 * EDGE_SHARE_MAX, far_max, FAR_FROM_EDGES_MAX, largest))


def in_browser(folder, run, *args):
    """run(browser, server, checks, *args) on a fresh Chromium and server, then no console errors."""
    checks = Checks()
    server = cdp.Server(folder)
    browser = cdp.Browser(WIDTH, HEIGHT)
    try:
        run(browser, server, checks, *args)
        checks.check(not browser.errors, "no errors on the console: %s" % browser.errors[:3])
    finally:
        browser.close()
        server.close()
    return checks.summary()


def main():
    runs = {("page", 4): run_page, ("site", 3): run_site, ("pixels", 5): run_pixels}
    if len(sys.argv) >= 3 and (sys.argv[2], len(sys.argv)) in runs:
        return in_browser(sys.argv[1], runs[sys.argv[2], len(sys.argv)], *sys.argv[3:])
    if len(sys.argv) == 3 and sys.argv[2] == "phone":
        return run_phone(sys.argv[1])
    if len(sys.argv) == 4 and sys.argv[2] == "replays":
        return run_replays(sys.argv[1], sys.argv[3])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())
