# SPDX-License-Identifier: Zlib
# The decoding tests make their Ogg files with the reference encoder.
target_link_libraries(tests_host PRIVATE PkgConfig::VORBISENC)
# The browser host's touch fingers need no browser and are tested here.
target_sources(tests_host PRIVATE ${CMAKE_SOURCE_DIR}/host/web/touch_fingers.cpp)
