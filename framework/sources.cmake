# SPDX-License-Identifier: Zlib
# The app and its delegate, and the graphics, input, audio, random, math and async-event modules.
core_sources(
  app.cpp
  asyncevent.cpp
  audio.cpp
  data.cpp
  graphics.cpp
  graphics_context.cpp
  graphics_draw.cpp
  graphics_matrix.cpp
  image.cpp
  input.cpp
  math.cpp
  random.cpp
)
