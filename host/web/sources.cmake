# SPDX-License-Identifier: Zlib
# The browser host (the browser build only): the canvas, the page's events,
# gamepads, the state in localStorage, the page's session recording, and the
# stb decoders.
core_sources(
  local_storage.cpp
  page_events.cpp
  pads.cpp
  session.cpp
  stb_parts.cpp
  touch_fingers.cpp
  web_game.cpp
)
