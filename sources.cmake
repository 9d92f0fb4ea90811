# SPDX-License-Identifier: Zlib
# The sources of vornhelm_core, as CORE_SOURCES: each folder lists its own
# files in its sources.cmake (sub-folders from their parent's), so adding a
# file means adding one line there. The desktop build and the browser build
# (web/web.cmake) both read this.
set(CORE_SOURCES "")
macro(core_sources)
  foreach(source ${ARGN})
    list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${source})
  endforeach()
endmacro()
foreach(folder runtime host graphics audio framework game)
  include(${CMAKE_CURRENT_LIST_DIR}/${folder}/sources.cmake)
endforeach()
