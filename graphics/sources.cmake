# SPDX-License-Identifier: Zlib
# The batched renderer and surfaces.
core_sources(
  draw.cpp
  frame_capture.cpp
  gl_calls.cpp
  premultiply.cpp
  renderer.cpp
  stretches.cpp
  surface.cpp
  surface_factories.cpp
)
