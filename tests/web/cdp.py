# SPDX-License-Identifier: Zlib
"""Headless Chromium driven through the DevTools protocol, and a static file
server on 127.0.0.1 (standard library and Debian's python3-websocket only)."""

import base64
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

CHROMIUM_FLAGS = [
    "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
    "--disable-gpu-sandbox", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--mute-audio",
    "--remote-debugging-port=0", "--remote-allow-origins=*",
]


# The keys the tests press: their DOM key names and key codes.
KEY_CODES = {"Enter": 13, "Escape": 27, " ": 32, "ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40,
             "F11": 122, "F4": 115, "Backspace": 8, "PageDown": 34, "End": 35, "Tab": 9}

# A tall page with the game in a frame near its top, as a portal shows it.
EMBED_PAGE = "embedding-page-of-the-tests.html"
PAGES = {EMBED_PAGE: b'<!doctype html><link rel="icon" href="data:,"><title>portal</title>'
                     b'<body style="margin:0"><iframe id="game" src="site/index.html" '
                     b'style="width:800px;height:600px;border:0;display:block"></iframe>'
                     b'<div style="height:6000px">more of the portal</div></body>'}


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """The folder's files, and the page that embeds the game."""

    failing = ()  # parts of paths answered with 503, as a broken network would

    def do_GET(self):
        if any(part in self.path for part in self.failing):
            self.send_error(503)
            return
        body = PAGES.get(self.path.lstrip("/"))
        if body is None:
            return self.send_file()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_file(self):
        """A file, as a static server does that sends precompressed copies
        (name.gz beside it) to browsers that take gzip."""
        path = self.translate_path(self.path)
        packed = path + ".gz"
        if "gzip" not in self.headers.get("Accept-Encoding", "") or not os.path.isfile(packed):
            return super().do_GET()
        with open(packed, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class QuietServer(http.server.ThreadingHTTPServer):
    # A page that goes away mid-download resets its connection; that is no news.
    def handle_error(self, request, client_address):
        pass


class Server:
    """Serves one folder on 127.0.0.1 at a free port, from a thread."""

    def __init__(self, folder):
        self.folder = folder
        # Each server's own handler class: its failing paths are its own.
        handler = functools.partial(type("Handler", (QuietHandler,), {}), directory=folder)
        self.handler = handler.func
        self.httpd = QuietServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def fail(self, *parts):
        self.handler.failing = parts

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """One Chromium with one page. Console lines and page errors are kept."""

    def __init__(self, width=1280, height=720):
        self.profile = tempfile.mkdtemp(prefix="vornhelm-chromium-")
        binary = shutil.which("chromium") or shutil.which("chromium-browser")
        if not binary:
            raise RuntimeError("chromium is not installed")
        self.proc = subprocess.Popen(
            [binary] + CHROMIUM_FLAGS + ["--user-data-dir=" + self.profile,
                                         "--window-size=%d,%d" % (width, height), "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % self._devtools_port(), timeout=10) as r:
            page = next(t for t in json.load(r) if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60,
                                              suppress_origin=True)
        self.next_id = 0
        self.console = []  # (level, text)
        self.errors = []   # exceptions and error log entries
        self.downloaded = 0  # bytes received, once the Network domain is on
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=False)

    def _devtools_port(self):
        deadline = time.time() + 30
        while time.time() < deadline:
            line = self.proc.stderr.readline()
            m = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if m:
                # Keep reading stderr so that Chromium never blocks on it.
                threading.Thread(target=self.proc.stderr.read, daemon=True).start()
                return int(m.group(1))
            if not line and self.proc.poll() is not None:
                break
        raise RuntimeError("chromium did not start its DevTools server")

    def _event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
            if params["type"] == "error":
                self.errors.append(text)
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.errors.append(details.get("exception", {}).get("description", details.get("text")))
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            self.errors.append(params["entry"]["text"])
        elif method == "Network.loadingFinished":
            self.downloaded += params.get("encodedDataLength", 0)
        elif method == "Target.attachedToTarget":
            # A worker of the page (the offline worker downloads for it):
            # its traffic is counted too, then it runs on.
            session = params["sessionId"]
            for step in ("Network.enable", "Runtime.runIfWaitingForDebugger"):
                self.next_id += 1
                self.ws.send(json.dumps({"id": self.next_id, "sessionId": session, "method": step}))

    def call(self, method, **params):
        self.next_id += 1
        ident = self.next_id
        self.ws.send(json.dumps({"id": ident, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == ident:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def pump(self, seconds):
        """Takes in events for a while (the page runs on by itself)."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            self.ws.settimeout(max(0.01, deadline - time.time()))
            try:
                self._event(json.loads(self.ws.recv()))
            except websocket.WebSocketTimeoutException:
                pass
        self.ws.settimeout(60)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def count_downloads(self):
        """Bytes received from here on, by the page and its workers, add up
        in self.downloaded."""
        self.call("Network.enable")
        self.call("Target.setAutoAttach", autoAttach=True, waitForDebuggerOnStart=True, flatten=True)

    def before_each_page(self, source):
        """Script run in every new document before the page's own."""
        self.call("Page.addScriptToEvaluateOnNewDocument", source=source)

    def navigate(self, url):
        self.call("Page.navigate", url=url)

    def wait_for(self, predicate, seconds, step=0.2):
        deadline = time.time() + seconds
        while not (value := predicate()) and time.time() < deadline:
            self.pump(step)
        return value

    def wait_for_canvas(self, test, seconds, step=0.2):
        """test(canvas_pixels()) once it holds (its value), or its last value."""
        return self.wait_for(lambda: test(self.canvas_pixels()), seconds, step)

    def console_lines(self):
        return [text for _, text in self.console]

    def canvas_pixels(self, scale=0.25):
        """The canvas as shown on screen, scaled down (large areas keep their
        colours exactly): (width, height, RGB bytes); 1 x 1 black while the
        page has no canvas yet."""
        box = self.evaluate("(() => { const c = document.getElementById('canvas'); if (!c) return null;"
                            " const r = c.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
        if not box or box[2] < 1 or box[3] < 1:
            return 1, 1, b"\0\0\0"
        shot = self.call("Page.captureScreenshot", format="png",
                         clip={"x": box[0], "y": box[1], "width": box[2], "height": box[3], "scale": scale})
        return self.decode_png(base64.b64decode(shot["data"]))

    def decode_png(self, data):
        """A PNG decoded by the browser, without colour management:
        (width, height, RGB bytes)."""
        w, h, rgb = self.evaluate(
            "(async () => { const png = Uint8Array.from(atob('%s'), c => c.charCodeAt(0));"
            " const image = await createImageBitmap(new Blob([png]),"
            " {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});"
            " const g = new OffscreenCanvas(image.width, image.height).getContext('2d');"
            " g.drawImage(image, 0, 0);"
            " const d = g.getImageData(0, 0, image.width, image.height).data, rgb = new Uint8Array(d.length / 4 * 3);"
            " for (let i = 0, j = 0; i < d.length; i += 4) rgb[j++] = d[i], rgb[j++] = d[i + 1], rgb[j++] = d[i + 2];"
            " let s = ''; for (let i = 0; i < rgb.length; i += 32768)"
            " s += String.fromCharCode.apply(null, rgb.subarray(i, i + 32768));"
            " return [image.width, image.height, btoa(s)]; })()" % base64.b64encode(data).decode())
        return w, h, base64.b64decode(rgb)

    def click(self, x, y):
        # A move to where the pointer already was is no event for a new page.
        for kind, at, wait in (("mouseMoved", -3, 0.05), ("mouseMoved", 0, 0), ("mousePressed", 0, 0.1),
                               ("mouseReleased", 0, 0)):
            self.call("Input.dispatchMouseEvent", type=kind, x=x + at, y=y + at, button="left",
                      clickCount=0 if kind == "mouseMoved" else 1)
            self.pump(wait)

    def press(self, key, hold=0.3):
        """A key of KEY_CODES down for a few updates (several frames even on a
        loaded machine, whose SwiftShader frames come 150 ms apart), then up:
        the game reads keys as held."""
        keycode = KEY_CODES[key]
        for kind, wait in (("keyDown", hold), ("keyUp", 0.15)):
            text = {"text": key} if kind == "keyDown" and len(key) == 1 else {}
            self.call("Input.dispatchKeyEvent", type=kind, key=key, code="Space" if key == " " else key,
                      windowsVirtualKeyCode=keycode, nativeVirtualKeyCode=keycode, **text)
            self.pump(wait)

    def tap(self, x, y, hold=0.15):
        point = [{"x": x, "y": y, "id": 1}]
        self.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=point)
        self.pump(hold)
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        self.pump(0.15)

    def close(self):
        self.ws.close()
        self.proc.kill()
        self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
