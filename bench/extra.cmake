# SPDX-License-Identifier: Zlib
# The renderer benchmark compares our device with SDL2's 2D renderer; SDL2 is
# linked into the benchmark only, never into the game.
pkg_check_modules(SDL2 IMPORTED_TARGET sdl2)
if(SDL2_FOUND AND TARGET bench_render)
  target_link_libraries(bench_render PRIVATE PkgConfig::SDL2)
elseif(TARGET bench_render)
  set_target_properties(bench_render PROPERTIES EXCLUDE_FROM_ALL TRUE)
  message(STATUS "sdl2 not found: bench_render cannot be built")
endif()

# The Ogg benchmark encodes its own tune with the reference encoder.
if(TARGET bench_ogg)
  target_link_libraries(bench_ogg PRIVATE PkgConfig::VORBISENC)
endif()
