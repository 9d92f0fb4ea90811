# The browser host (the browser build only, web/web.cmake): the page's
# events, gamepads, the state in localStorage, and the stb decoders.
core_sources(
  gamepads.cpp
  key_state.cpp
  local_storage.cpp
  page_events.cpp
  standard_gamepad.cpp
  stb_parts.cpp
  touch_fingers.cpp
  web_game.cpp
)
