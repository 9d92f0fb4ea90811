# Installation: `cmake --install build --prefix P` or `make install PREFIX=P`.
#
#   P/bin/vornhelm                       launcher (packaging/vornhelm.sh)
#   P/libexec/vornhelm/vornhelm          the game
#   P/share/vornhelm/data/               its data folder
#   P/share/applications/vornhelm.desktop
#   P/share/icons/hicolor/NxN/apps/vornhelm.png   64, 128 and 256 pixels
#
# The launcher finds the rest from where it stands, so the tree may be moved;
# the desktop entry names the launcher by the prefix installed to.
install(TARGETS vornhelm RUNTIME DESTINATION libexec/vornhelm)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/vornhelm.sh DESTINATION bin RENAME vornhelm)
# The contact sheets and the icon are not the game's.
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION share/vornhelm/data
        PATTERN preview EXCLUDE PATTERN icon EXCLUDE)
foreach(level_size "vornhelm.png;64" "vornhelm-hd.png;128" "vornhelm-hd2.png;256")
  list(GET level_size 0 file)
  list(GET level_size 1 size)
  install(FILES ${CMAKE_BINARY_DIR}/data/icon/${file}
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME vornhelm.png)
endforeach()
install(CODE "
  set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/vornhelm.desktop\")
  file(READ \"${CMAKE_SOURCE_DIR}/packaging/vornhelm.desktop.in\" text)
  string(REPLACE \"@LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/bin/vornhelm\" text \"\${text}\")
  message(STATUS \"Installing: \${entry}\")
  file(WRITE \"\${entry}\" \"\${text}\")
")
