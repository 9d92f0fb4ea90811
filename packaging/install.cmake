# SPDX-License-Identifier: Zlib
# Installation, in one of two layouts:
#
#                     `make install PREFIX=P`          VORNHELM_GAMES_LAYOUT=ON (Debian's games)
#   launcher          P/bin/vornhelm                   P/games/vornhelm
#   its data folder   P/share/vornhelm/data/           P/share/games/vornhelm/
#   in both           P/libexec/vornhelm/vornhelm      the game
#                     P/share/applications/vornhelm.desktop
#                     P/share/icons/hicolor/NxN/apps/vornhelm.png   64, 128 and 256 pixels
#                     P/share/metainfo/<app id>.metainfo.xml
#                     P/share/man/man6/vornhelm.6.gz
#
# debian/rules picks the games layout; the packages' copyright and changelog
# are debhelper's to install. The launcher finds the rest from where it
# stands, so a tree may be moved; the desktop entry names the launcher by the
# prefix installed to.
option(VORNHELM_GAMES_LAYOUT "Install as Debian's games are (launcher in games/, data in share/games/)" OFF)

# Who and where the project is, for the AppStream metadata. The project has
# no public home yet: the addresses name the reserved domain vornhelm.example
# and the identifier the reserved example.org (an identifier needs a known
# top-level domain), until it has one; debian/ names the same addresses.
set(VORNHELM_APP_ID org.example.vornhelm)
set(VORNHELM_HOMEPAGE https://vornhelm.example)
# Where the README's screenshots (docs/screenshots/) are published.
set(VORNHELM_SCREENSHOTS_URL ${VORNHELM_HOMEPAGE}/screenshots)

set(VORNHELM_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vornhelm.metainfo.xml.in
               ${VORNHELM_PACKAGING_DIR}/${VORNHELM_APP_ID}.metainfo.xml @ONLY)

# The manual page, compressed as Debian wants it (no name or time in the
# gzip header, so the bytes depend on the text alone).
set(VORNHELM_MANPAGE_GZ ${VORNHELM_PACKAGING_DIR}/vornhelm.6.gz)
add_custom_command(
  OUTPUT ${VORNHELM_MANPAGE_GZ}
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/packaging/vornhelm.6 ${VORNHELM_MANPAGE_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/vornhelm.6
  VERBATIM)
add_custom_target(vornhelm_packaging_files ALL DEPENDS ${VORNHELM_MANPAGE_GZ})

# The layout's folders, relative to the prefix.
function(vornhelm_install_layout bin_dir data_dir)
  set(game_dir libexec/vornhelm)

  set(GAME_DIR ${game_dir})
  set(DATA_DIR ${data_dir})
  configure_file(${CMAKE_SOURCE_DIR}/packaging/vornhelm.sh.in ${VORNHELM_PACKAGING_DIR}/launcher/vornhelm @ONLY)
  install(PROGRAMS ${VORNHELM_PACKAGING_DIR}/launcher/vornhelm DESTINATION ${bin_dir})
  install(TARGETS vornhelm RUNTIME DESTINATION ${game_dir})
  # The contact sheets are not the game's; the icons are, for its window.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${data_dir}
          PATTERN preview EXCLUDE)
  foreach(level_size "vornhelm.png;64" "vornhelm-hd.png;128" "vornhelm-hd2.png;256")
    list(GET level_size 0 file)
    list(GET level_size 1 size)
    install(FILES ${CMAKE_BINARY_DIR}/data/icon/${file}
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME vornhelm.png)
  endforeach()
  install(FILES ${VORNHELM_PACKAGING_DIR}/${VORNHELM_APP_ID}.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${VORNHELM_MANPAGE_GZ} DESTINATION share/man/man6)
  install(CODE "
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/vornhelm.desktop\")
    file(READ \"${CMAKE_SOURCE_DIR}/packaging/vornhelm.desktop.in\" text)
    string(REPLACE \"@LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/${bin_dir}/vornhelm\" text \"\${text}\")
    message(STATUS \"Installing: \${entry}\")
    file(WRITE \"\${entry}\" \"\${text}\")
  ")
endfunction()

# The tests read where the layout put the launcher and the data.
if(VORNHELM_GAMES_LAYOUT)
  set(VORNHELM_INSTALL_BIN_DIR games)
  set(VORNHELM_INSTALL_DATA_DIR share/games/vornhelm)
else()
  set(VORNHELM_INSTALL_BIN_DIR bin)
  set(VORNHELM_INSTALL_DATA_DIR share/vornhelm/data)
endif()
vornhelm_install_layout(${VORNHELM_INSTALL_BIN_DIR} ${VORNHELM_INSTALL_DATA_DIR})
