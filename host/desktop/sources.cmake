# The desktop host: the window, the main loop, input translation, screenshots.
core_sources(
  entry.cpp
  glfw_game.cpp
  input_translate.cpp
  joystick.cpp
  main_loop.cpp
  play_host.cpp
  screenshot.cpp
  video_modes.cpp
  window.cpp
  window_fit.cpp
)
