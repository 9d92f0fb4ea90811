#!/usr/bin/python3
# SPDX-License-Identifier: Zlib
"""The page's files, made after the browser build (web/web.cmake).

  build_site.py packages DATA_DIR BUILD_DIR FILE_PACKAGER
      The data folder as four packages: vornhelm-data-base (everything but
      the images) and vornhelm-data-1, -2 and -4, the images of one art
      level each (name.png, name-hd.png, name-hd2.png), so that a page
      downloads only the level its canvas needs.
  build_site.py site WEB_SOURCE_DIR BUILD_DIR
      Copies of the page's files named by their content's hash, the page
      (index.html) naming them and the offline worker (sw.js) keeping them,
      all in BUILD_DIR/site/, the folder to publish, each with a gzip copy
      (name.gz) for servers that send precompressed files; and the benchmark's page
      (BUILD_DIR/bench.html) running the benchmark's program."""

import gzip
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

LEVEL_SUFFIX = {"1": "", "2": "-hd", "4": "-hd2"}
# Folders of the generator's output that the game never reads.
NOT_GAME_DATA = ("preview", "icon")


def level_of(name):
    """The art level of a data file, or "base" for files without one."""
    if not name.endswith(".png"):
        return "base"
    if name.endswith("-hd2.png"):
        return "4"
    if name.endswith("-hd.png"):
        return "2"
    return "1"


def packages(data_dir, build_dir, packager):
    stage = os.path.join(build_dir, "stage-split")
    shutil.rmtree(stage, ignore_errors=True)
    for top, dirs, names in os.walk(data_dir):
        rel = os.path.relpath(top, data_dir)
        if rel.split(os.sep)[0] in NOT_GAME_DATA:
            continue
        for name in names:
            target = os.path.join(stage, level_of(name), "data", rel, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(os.path.join(top, name), target)
    for part in ("base", "1", "2", "4"):
        out = os.path.join(build_dir, "vornhelm-data-%s" % part)
        subprocess.run([sys.executable, packager, out + ".data", "--preload", "data",
                        "--js-output=" + out + ".js"], cwd=os.path.join(stage, part), check=True)


# Plain name -> the file in the build folder it is made from.
HASHED = ["page.js", "page.css", "vornhelm.js", "vornhelm.wasm", "icon.png", "icon-192.png", "icon-512.png"] + [
    "vornhelm-data-%s.%s" % (part, ext) for part in ("base", "1", "2", "4") for ext in ("js", "data")]
SHELL = ["page.js", "page.css", "icon.png", "icon-192.png", "icon-512.png"]


def digest(data):
    return hashlib.sha256(data).hexdigest()[:12]


def hashed_name(name, data):
    stem, ext = os.path.splitext(name)
    return "%s.%s%s" % (stem, digest(data), ext)


def site(source_dir, build_dir):
    out = os.path.join(build_dir, "site")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    table = {}

    def put(name, data):
        path = hashed_name(name, data)
        with open(os.path.join(out, path), "wb") as f:
            f.write(data)
        table[name] = {"path": path, "size": len(data)}

    for name in HASHED:
        with open(os.path.join(build_dir, name), "rb") as f:
            put(name, f.read())
    with open(os.path.join(source_dir, "manifest.webmanifest")) as f:
        manifest = json.load(f)
    for icon in manifest["icons"]:
        icon["src"] = table[icon["src"]]["path"]
    put("manifest.webmanifest", json.dumps(manifest, indent=1).encode())
    build = digest("".join(sorted(v["path"] for v in table.values())).encode())
    table["sw.js"] = {"path": "sw.js", "size": 0}

    with open(os.path.join(source_dir, "index.html")) as f:
        page = f.read()

    def page_with(files):
        text = page
        for name in ("page.js", "page.css", "manifest.webmanifest", "icon.png", "icon-192.png"):
            if name in files:
                text = re.sub(r'(src|href)="%s"' % re.escape(name), r'\1="%s"' % files[name]["path"], text)
        script = "<script>window.VORNHELM_FILES = %s;</script>" % json.dumps(files, sort_keys=True)
        return text.replace("<!--vornhelm-files-->", script)

    with open(os.path.join(out, "index.html"), "w") as f:
        f.write(page_with(table))
    with open(os.path.join(source_dir, "sw.js")) as f:
        worker = f.read()
    shell = ["./"] + [table[n]["path"] for n in SHELL + ["manifest.webmanifest"]]
    worker = worker.replace("@BUILD@", build).replace("@SHELL@", json.dumps(shell))
    with open(os.path.join(out, "sw.js"), "w") as f:
        f.write(worker)

    # Precompressed copies beside the files, for a server that sends them to
    # a browser which takes gzip (and the plain file to one which does not).
    for name in os.listdir(out):
        if name.endswith((".js", ".wasm", ".data", ".css", ".html", ".webmanifest")):
            with open(os.path.join(out, name), "rb") as f:
                data = f.read()
            with open(os.path.join(out, name + ".gz"), "wb") as f:
                f.write(gzip.compress(data, 9, mtime=0))

    # The benchmark's page, in the build folder: the game's page running the
    # benchmark's program, without the offline worker.
    bench = {k: {"path": "site/" + v["path"], "size": v["size"]} for k, v in table.items() if k != "sw.js"}
    for name in ("vornhelm.js", "vornhelm.wasm"):
        path = name.replace("vornhelm", "vornhelm-bench")
        bench[name] = {"path": path, "size": os.path.getsize(os.path.join(build_dir, path))}
    with open(os.path.join(build_dir, "bench.html"), "w") as f:
        f.write(page_with(bench).replace("<title>Vornhelm</title>", "<title>Vornhelm benchmark</title>"))


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "packages":
        packages(*sys.argv[2:])
    elif len(sys.argv) == 4 and sys.argv[1] == "site":
        site(*sys.argv[2:])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
