// SPDX-License-Identifier: Zlib
// Keeps the build's files for play without a network. Every file but the
// page itself is named by its content's hash, so a cached file is never
// stale and a new build never mixes with an old one; the page is asked of
// the network first and taken from the cache when there is none.
'use strict';

var BUILD = '@BUILD@';
var CACHE = 'vornhelm-' + BUILD;
// The page's shell, kept at once; the game's files are kept as the page
// downloads them, so installing costs no second download of them.
var SHELL = @SHELL@;

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) { return cache.addAll(SHELL); })
    .then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) { return /^vornhelm-/.test(name) && name !== CACHE; })
      .map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

function keep(request, response) {
  if (response && response.ok && response.type === 'basic') {
    var copy = response.clone();
    caches.open(CACHE).then(function (cache) { cache.put(request, copy); });
  }
  return response;
}

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  if (request.mode === 'navigate') {
    event.respondWith(fetch(request).then(function (response) { return keep(request, response); })
      .catch(function () {
        return caches.match(request, { ignoreSearch: true }).then(function (hit) {
          return hit || caches.match('./');
        });
      }));
    return;
  }
  event.respondWith(caches.match(request).then(function (hit) {
    return hit || fetch(request).then(function (response) { return keep(request, response); });
  }));
});
