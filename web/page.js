// The page around the game: where its output goes, the download's progress,
// and a visible message when the game ends or fails. Loaded before the data
// package and the game, which both read this Module object.
'use strict';

var Module = (function () {
  var status = document.getElementById('status');
  var progress = document.getElementById('progress');
  var message = document.getElementById('message');
  var ended = false;

  function show(text) {
    message.textContent = text;
    message.hidden = false;
  }

  // The game has stopped: nothing more runs, and the page says why.
  function stop(text) {
    if (ended) return;
    ended = true;
    show(text);
    if (Module.pauseMainLoop) Module.pauseMainLoop();
  }

  var lastLine = '';

  return {
    canvas: document.getElementById('canvas'),
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
    // The data package reports "Downloading data... (done/total)".
    setStatus: function (text) {
      var m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (m) {
        status.textContent = 'Downloading';
        progress.value = Number(m[1]) / Number(m[2]);
      } else if (!text) {
        status.textContent = '';
        progress.hidden = true;
      } else {
        status.textContent = text.replace(/\.\.\.$/, '');
      }
    },
    // The game ended the program: by itself (F4) or after an error.
    quit: function (code, toThrow) {
      stop(code === 0 ? 'The game has ended. Reload the page to play again.'
                      : 'The game stopped with an error' + (lastLine ? ':\n' + lastLine : '.') +
                        '\nReload the page to start again.');
      throw toThrow;
    },
    onAbort: function (what) {
      stop('The game stopped with an error:\n' + what + '\nReload the page to start again.');
    },
    showMessage: show,
  };
})();

window.addEventListener('error', function (event) {
  if (event.message && event.message.indexOf('unwind') < 0)
    Module.showMessage('The page failed: ' + event.message);
});

// What the page offers an embedding page and the player: the session so
// far as a replay file (the desktop plays it with `vornhelm --replay FILE`),
// and, once a game has ended, a link that saves it.
window.vornhelm = window.vornhelm || {};
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
