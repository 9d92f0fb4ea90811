// SPDX-License-Identifier: Zlib
// The page around the game. Before anything is downloaded it checks that the
// browser has WebAssembly and WebGL; then it downloads the game's .wasm, the
// data the game needs at this canvas's size (one art tier) and the scripts,
// showing one progress bar for all of it, and starts the game. It keeps the
// game's keys from scrolling the page, releases presses that end outside
// the canvas, tells the player what went wrong in words, and gives an
// embedding page the window.vornhelm object.
'use strict';

// Shared with other parts of the page: each adds its own members.
window.vornhelm = window.vornhelm || {};

var Module = (function () {
  var byId = function (id) { return document.getElementById(id); };
  var canvas = byId('canvas');
  var loading = byId('loading'), loadingText = byId('loading-text'), loadingFill = byId('loading-fill');
  var message = byId('message'), messageText = byId('message-text');
  var retryButton = byId('message-retry'), closeButton = byId('message-close');
  var notice = byId('notice');
  // The build's files by their plain names: the name served (with its
  // content hash) and the size. Absent in a build without the table.
  var files = window.VORNHELM_FILES || {};
  var served = function (name) { return files[name] ? files[name].path : name; };
  var sizeOf = function (name) { return files[name] ? files[name].size : 0; };
  var ended = false;
  var lastLine = '';

  // --- messages ------------------------------------------------------------

  function showMessage(text, options) {
    options = options || {};
    messageText.textContent = text;
    retryButton.hidden = !options.retry;
    retryButton.onclick = options.retry ? function () { message.hidden = true; options.retry(); } : null;
    closeButton.hidden = !options.closable;
    message.hidden = false;
    (options.retry ? retryButton : options.closable ? closeButton : message).focus();
  }
  closeButton.onclick = function () { message.hidden = true; canvas.focus({ preventScroll: true }); };

  var noticeShown = {};
  // A short line at the top that does not stop the game; each kind once.
  function showNotice(kind, text) {
    if (noticeShown[kind]) return;
    noticeShown[kind] = true;
    notice.textContent = text;
    notice.hidden = false;
    setTimeout(function () { notice.hidden = true; }, 8000);
  }

  // The game has stopped: nothing more runs, and the page says why.
  function stop(text) {
    if (ended) return;
    ended = true;
    loading.hidden = true;
    showMessage(text, { closable: true });
    if (Module.pauseMainLoop) Module.pauseMainLoop();
  }

  // --- what the browser must have ------------------------------------------

  function missingFeature() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function')
      return 'This browser cannot run Vornhelm: it has no WebAssembly. ' +
             'Please use a current version of a common browser.';
    var probe = document.createElement('canvas');
    var gl = null;
    try { gl = probe.getContext('webgl') || probe.getContext('experimental-webgl'); } catch (e) { gl = null; }
    if (!gl) return 'This browser cannot run Vornhelm: WebGL is switched off or not supported. ' +
                    'Turn on hardware acceleration in the browser\'s settings, or use another browser.';
    var lose = gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    return '';
  }

  // --- art tiers -----------------------------------------------------------

  // The art level the game picks for a drawable of this size: 1, 2 or 4.
  function levelFor(width, height) {
    if (width > 1230 || height > 1230) return 4;
    if (width > 630 || height > 630) return 2;
    return 1;
  }
  // The canvas's drawable in device pixels, as the game sizes it.
  function neededLevel() {
    var box = canvas.getBoundingClientRect(), ratio = window.devicePixelRatio || 1;
    return levelFor(Math.round(box.width * ratio), Math.round(box.height * ratio));
  }
  var tierPackage = function (level) { return 'vornhelm-data-' + level; };

  // --- downloads -----------------------------------------------------------

  var buffers = {};  // served name -> ArrayBuffer, handed to the game's loaders
  var progress = {};  // plain name -> [bytes so far, bytes in all]

  function showProgress() {
    var done = 0, all = 0;
    for (var name in progress) { done += progress[name][0]; all += progress[name][1]; }
    var share = all > 0 ? Math.min(1, done / all) : 0;
    loadingFill.style.width = (100 * share).toFixed(1) + '%';
    loading.setAttribute('aria-valuenow', Math.round(100 * share));
    loadingText.textContent = 'Loading ' + Math.round(100 * share) + ' %';
  }

  // The file's bytes, counted into the progress as they arrive.
  function download(name) {
    var path = served(name);
    if (buffers[path]) return Promise.resolve(buffers[path]);
    progress[name] = [0, sizeOf(name)];
    return fetch(path).then(function (response) {
      if (!response.ok) throw new Error('the server answered ' + response.status + ' for ' + name);
      // The table's size is the file's own; a compressed transfer's length is not.
      progress[name][1] = sizeOf(name) || Number(response.headers.get('Content-Length')) || 0;
      if (!response.body || !response.body.getReader) return response.arrayBuffer();
      var reader = response.body.getReader(), parts = [], got = 0;
      function pump() {
        return reader.read().then(function (step) {
          if (step.done) return;
          parts.push(step.value);
          got += step.value.length;
          progress[name][0] = got;
          showProgress();
          return pump();
        });
      }
      return pump().then(function () {
        var all = new Uint8Array(got), at = 0;
        parts.forEach(function (part) { all.set(part, at); at += part.length; });
        return all.buffer;
      });
    }).then(function (buffer) {
      progress[name] = [buffer.byteLength, buffer.byteLength];
      showProgress();
      buffers[path] = buffer;
      return buffer;
    });
  }

  function runScript(name) {
    return new Promise(function (resolve, reject) {
      var script = document.createElement('script');
      script.src = served(name);
      script.onload = resolve;
      script.onerror = function () { reject(new Error('the script ' + name + ' did not arrive')); };
      document.body.appendChild(script);
    });
  }

  var tiers = {};  // level -> promise of its package in the game's files

  // A data package: its data downloaded here, then its script, which takes
  // the data through getPreloadedPackage and puts the files in place.
  function loadPackage(name) {
    return download(name + '.data').then(function () { return runScript(name + '.js'); });
  }

  function loadTier(level) {
    if (!tiers[level]) {
      tiers[level] = loadPackage(tierPackage(level));
      tiers[level].catch(function () { delete tiers[level]; });
    }
    return tiers[level];
  }

  var loaded = {};  // levels whose files are in place

  // Before the game sees its canvas at a size whose art tier is not there,
  // the tier is fetched; the game gets the size change once it has arrived,
  // so no image it loads is ever missing.
  function holdSizeChange(event) {
    if (!Module.calledRun) return;
    var level = neededLevel();
    if (loaded[level]) return;
    event.stopImmediatePropagation();
    loadTier(level).then(function () {
      loaded[level] = true;
      window.dispatchEvent(new Event('resize'));
    }, function () {
      showNotice('tier', 'Some pictures could not be downloaded; the game goes on with the ones it has.');
    });
  }
  window.addEventListener('resize', holdSizeChange, true);
  document.addEventListener('fullscreenchange', holdSizeChange, true);

  function fail(error) {
    console.error(error);
    loading.hidden = true;
    showMessage('The game could not be downloaded: ' + (error && error.message ? error.message : error) +
                '.\nCheck the connection and try again.', { retry: start });
  }

  // Scripts run in order once the data is in, but are fetched at once
  // beside it.
  var preloaded = {};
  function preload(name) {
    if (preloaded[name]) return;
    preloaded[name] = true;
    var link = document.createElement('link');
    link.rel = 'preload';
    link.as = 'script';
    link.href = served(name);
    document.head.appendChild(link);
  }

  function start() {
    loading.hidden = false;
    showProgress();
    var level;
    offlineWorker().then(function () {
      level = neededLevel();
      ['vornhelm-data-base.js', tierPackage(level) + '.js', 'vornhelm.js'].forEach(preload);
      return Promise.all([download('vornhelm.wasm'), download('vornhelm-data-base.data'),
                          download(tierPackage(level) + '.data')]);
    }).then(function (got) {
      Module.wasmBinary = got[0];
      loadingText.textContent = 'Starting';
      return runScript('vornhelm-data-base.js');
    }).then(function () {
      return loadTier(level);
    }).then(function () {
      loaded[level] = true;
      return runScript('vornhelm.js');
    }).catch(fail);
  }

  // --- the page's own behaviour --------------------------------------------

  // Keys whose default action would move the page (in a frame, the page
  // around it): kept from it while the game has the keyboard.
  var pageKeys = { ArrowUp: 1, ArrowDown: 1, ArrowLeft: 1, ArrowRight: 1, ' ': 1, Spacebar: 1, PageUp: 1,
                   PageDown: 1, Home: 1, End: 1, Tab: 1, Backspace: 1, Enter: 1 };
  function gameHasKeys() {
    var active = document.activeElement;
    return !active || active === document.body || active === canvas || active === document.documentElement;
  }
  window.addEventListener('keydown', function (event) {
    if (pageKeys[event.key] && gameHasKeys() && !event.altKey && !event.metaKey) event.preventDefault();
  }, true);

  // The first press on the canvas gives it the keyboard. A press keeps the
  // pointer until it is released, wherever that is; one lost to the page
  // going away is released.
  var held = {};  // pointer id -> the press's last event
  canvas.addEventListener('pointerdown', function (event) {
    if (document.activeElement !== canvas) canvas.focus({ preventScroll: true });
    held[event.pointerId] = event;
    try { canvas.setPointerCapture(event.pointerId); } catch (e) { /* the pointer went already */ }
  });
  function forget(event) { delete held[event.pointerId]; }
  canvas.addEventListener('pointerup', forget);
  canvas.addEventListener('pointercancel', forget);
  function releaseAll() {
    for (var id in held) {
      var press = held[id];
      delete held[id];
      var where = { bubbles: true, cancelable: true, clientX: press.clientX, clientY: press.clientY,
                    button: press.button, buttons: 0 };
      if (press.pointerType === 'mouse') {
        canvas.dispatchEvent(new MouseEvent('mouseup', where));
      } else if (typeof Touch === 'function') {
        var touch = new Touch({ identifier: press.pointerId, target: canvas, clientX: press.clientX,
                                clientY: press.clientY });
        canvas.dispatchEvent(new TouchEvent('touchcancel', { bubbles: true, cancelable: true, touches: [],
                                                             targetTouches: [], changedTouches: [touch] }));
      }
    }
  }
  window.addEventListener('blur', releaseAll);
  document.addEventListener('visibilitychange', function () { if (document.hidden) releaseAll(); });
  // Touch ids are not pointer ids: touches are tracked by their own ids.
  canvas.addEventListener('touchstart', function (event) {
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var t = event.changedTouches[i];
      held['t' + t.identifier] = { pointerId: t.identifier, pointerType: 'touch', clientX: t.clientX,
                                   clientY: t.clientY, button: 0 };
    }
  }, true);
  function touchGone(event) {
    for (var i = 0; i < event.changedTouches.length; ++i) delete held['t' + event.changedTouches[i].identifier];
  }
  canvas.addEventListener('touchend', touchGone, true);
  canvas.addEventListener('touchcancel', touchGone, true);
  canvas.addEventListener('pointerdown', function (event) {
    if (event.pointerType === 'touch') delete held[event.pointerId];
  });

  // Errors: the game's own stop it with a message the player can close;
  // those of other scripts (a portal's, an extension's) only reach the
  // console.
  function ours(source) {
    if (!source) return false;
    for (var name in files) if (/\.js$/.test(name) && source.indexOf(files[name].path) >= 0) return true;
    return /vornhelm[^/]*\.js|page[^/]*\.js|wasm-function/.test(source);
  }
  window.addEventListener('error', function (event) {
    if (!event.message || event.message.indexOf('unwind') >= 0) return;
    var stack = event.error && event.error.stack || '';
    if (!ours(event.filename) && !ours(stack)) return;
    stop('The game stopped with an error:\n' + event.message + '\nReload the page to start again.');
  });
  window.addEventListener('unhandledrejection', function (event) {
    var reason = event.reason, stack = reason && reason.stack || '';
    if (!ours(stack)) return;
    stop('The game stopped with an error:\n' + (reason.message || reason) + '\nReload the page to start again.');
  });

  // Installable and playable offline: the worker keeps the build's files
  // as they pass through it, so the downloads wait until it is in charge of
  // the page (a moment, once; at most a few seconds, after which the game
  // starts without an offline copy).
  var worker = null;
  function offlineWorker() {
    if (!('serviceWorker' in navigator) || !files['sw.js'] || location.protocol === 'file:')
      return Promise.resolve();
    if (!worker) {
      worker = navigator.serviceWorker.register('sw.js').then(function () {
        if (navigator.serviceWorker.controller) return;
        return new Promise(function (resolve) {
          navigator.serviceWorker.addEventListener('controllerchange', resolve);
          setTimeout(resolve, 4000);
        });
      }).catch(function (error) {
        console.warn('No offline copy: ' + error.message);
      });
    }
    return worker;
  }

  // --- for an embedding page ----------------------------------------------

  // Mute: the game's sound goes on, silent, through the listener's gain.
  var muted = false;
  function applyMute() {
    var context = typeof AL !== 'undefined' && AL.currentCtx;
    if (context && context.gain) context.gain.gain.value = muted || paused ? 0 : 1;
    return !!context;
  }
  window.vornhelm.mute = function () {
    muted = true;
    if (applyMute()) return;
    // Sound starts with the game: muted before that, it starts silent.
    var wait = setInterval(function () { if (!muted || applyMute()) clearInterval(wait); }, 250);
  };
  window.vornhelm.unmute = function () {
    muted = false;
    applyMute();
  };

  // Pause: the suspension a hidden page gets (updates stop, the state is
  // saved), silent whatever the mute; resume picks up where it stopped.
  var paused = false;
  function applyPause() {
    if (Module._vornhelm_page_pause) Module._vornhelm_page_pause(paused ? 1 : 0);
    applyMute();
  }
  window.vornhelm.pause = function () { paused = true; applyPause(); };
  window.vornhelm.resume = function () { paused = false; applyPause(); };

  var problem = missingFeature();
  if (problem) {
    loading.hidden = true;
    showMessage(problem);
  } else {
    setTimeout(start, 0);
  }

  return {
    canvas: canvas,
    print: function (text) {
      lastLine = text;
      console.log(text);
    },
    // The GL emulation announces itself; a player has no use for that.
    printErr: function (text) {
      if (!/^WARNING: using emscripten GL/.test(text)) console.warn(text);
    },
    // The runtime-error prompt has no one to answer it in a page.
    stdin: function () { return null; },
    locateFile: function (name) { return served(name); },
    getPreloadedPackage: function (name) {
      var buffer = buffers[name];
      delete buffers[name];
      return buffer || null;
    },
    setStatus: function () {},
    onRuntimeInitialized: function () {
      loading.hidden = true;
      // Paused by the embedding page while loading: the game starts paused.
      if (paused) setTimeout(applyPause, 0);
    },
    // The game ended the program after an error.
    quit: function (code, toThrow) {
      stop(code === 0 ? 'The game has ended. Reload the page to play again.'
                      : 'The game stopped with an error' + (lastLine ? ':\n' + lastLine : '.') +
                        '\nReload the page to start again.');
      throw toThrow;
    },
    onAbort: function (what) {
      stop('The game stopped with an error:\n' + what + '\nReload the page to start again.');
    },
    showMessage: showMessage,
    showNotice: showNotice,
    // The host calls this when the state could not be stored.
    onSaveFailed: function () {
      showNotice('save', 'Scores and settings cannot be saved in this browser window ' +
                         '(storage is blocked); the game goes on.');
    },
  };
})();

// What the page offers an embedding page and the player: the session so
// far as a replay file (the desktop plays it with `vornhelm --replay FILE`),
// and, once a game has ended, a link that saves it.
window.vornhelm.replay = function () {
  if (!Module._vornhelm_session_take) return null;
  var size = Module._vornhelm_session_take();
  var at = Module._vornhelm_session_bytes();
  return Module.HEAPU8.slice(at, at + size);
};
window.addEventListener('vornhelm:gameover', function () {
  var save = document.getElementById('save-replay');
  if (save) save.hidden = false;
});
document.getElementById('save-replay').addEventListener('click', function () {
  var bytes = window.vornhelm.replay();
  if (!bytes) return;
  var link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
  link.download = 'vornhelm-' + new Date().toISOString().replace(/[:.]/g, '-') + '.vhr';
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
});
