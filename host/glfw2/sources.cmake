# The classic single-window interface on GLFW 3, and the game's pad layout.
core_sources(
  gamepad_layout.cpp
  glfw2.cpp
  hooks.cpp
  joystick.cpp
  keys.cpp
  keystate.cpp
  video.cpp
)
