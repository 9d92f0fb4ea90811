# SPDX-License-Identifier: Zlib
# The browser build, tested in headless Chromium and under node (label web):
# the build itself is the fixture the page, phone and replay tests share.
# Debian's python3 runs the driver (it has python3-websocket).
find_program(VORNHELM_EMCMAKE emcmake)
find_program(VORNHELM_CHROMIUM NAMES chromium chromium-browser)
find_program(VORNHELM_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(VORNHELM_NODE node)
set(web_missing "")
foreach(need VORNHELM_EMCMAKE VORNHELM_CHROMIUM VORNHELM_SYSTEM_PYTHON VORNHELM_NODE)
  if(NOT ${need})
    string(APPEND web_missing " ${need}")
  endif()
endforeach()

if(web_missing)
  add_test(NAME web_skipped COMMAND ${CMAKE_COMMAND} -E echo
    "The browser build is not tested: not installed:${web_missing} (scripts/install-deps.sh installs them)")
  set_tests_properties(web_skipped PROPERTIES LABELS web SKIP_REGULAR_EXPRESSION "not tested")
  return()
endif()

set(web_dir ${CMAKE_BINARY_DIR}/web)
add_test(NAME web_build
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-web.sh ${web_dir} ${CMAKE_BINARY_DIR}/data)
set_tests_properties(web_build PROPERTIES LABELS web FIXTURES_SETUP web_build TIMEOUT 900
  ENVIRONMENT "JOBS=2")

set(web_driver ${VORNHELM_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/web/browser_test.py ${web_dir})
add_test(NAME web_page COMMAND ${web_driver} page ${CMAKE_BINARY_DIR})
# The page as a site: refusals, a failed download and Retry, keys, pointer,
# errors, blocked storage, a portal's frame, an offline reload; then the
# first download at three sizes and the phone under touch emulation, played
# by taps.
add_test(NAME web_site COMMAND ${web_driver} site)
add_test(NAME web_phone COMMAND ${web_driver} phone)
set_tests_properties(web_page web_site web_phone PROPERTIES LABELS web
  FIXTURES_REQUIRED web_build RESOURCE_LOCK browser TIMEOUT 300)
# The same replay frame from the desktop game (under its own Xvfb) and the page.
add_test(NAME web_pixels COMMAND ${web_driver} pixels ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/tests/replays)
set_tests_properties(web_pixels PROPERTIES LABELS web
  FIXTURES_REQUIRED web_build RESOURCE_LOCK browser TIMEOUT 300)
# Under node: no browser needed.
add_test(NAME web_replays COMMAND ${web_driver} replays ${CMAKE_SOURCE_DIR}/tests/replays)
set_tests_properties(web_replays PROPERTIES LABELS web FIXTURES_REQUIRED web_build TIMEOUT 300)
