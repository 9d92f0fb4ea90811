# Installation, in two layouts made by the same rules:
#
#                     `make install PREFIX=P`          the Debian package (P = /usr)
#   launcher          P/bin/vornhelm                   P/games/vornhelm
#   its data folder   P/share/vornhelm/data/           P/share/games/vornhelm/
#   in both           P/libexec/vornhelm/vornhelm      the game
#                     P/share/applications/vornhelm.desktop
#                     P/share/icons/hicolor/NxN/apps/vornhelm.png   64, 128 and 256 pixels
#                     P/share/metainfo/<app id>.metainfo.xml
#                     P/share/man/man6/vornhelm.6.gz
#   package only      P/share/doc/vornhelm/copyright, changelog.gz
#
# `cmake --install build` installs the first (component "prefix"); the second
# is component "deb", installed only when named (packaging/deb.cmake).
# The launcher finds the rest from where it stands, so a tree may be moved;
# the desktop entry names the launcher by the prefix installed to.

# Who and where the project is, for the package and the AppStream metadata.
# The project has no public home yet: these name the reserved domain
# vornhelm.example until it has one.
set(VORNHELM_APP_ID example.vornhelm.Vornhelm)
set(VORNHELM_HOMEPAGE https://vornhelm.example)
set(VORNHELM_MAINTAINER "Vornhelm developers <developers@vornhelm.example>")
# Where the README's screenshots (docs/screenshots/) are published.
set(VORNHELM_SCREENSHOTS_URL ${VORNHELM_HOMEPAGE}/screenshots)

set(VORNHELM_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vornhelm.metainfo.xml.in
               ${VORNHELM_PACKAGING_DIR}/${VORNHELM_APP_ID}.metainfo.xml @ONLY)

# Manual page and changelog, compressed as Debian wants them (no name or time
# in the gzip header, so the bytes depend on the text alone).
set(VORNHELM_MANPAGE_GZ ${VORNHELM_PACKAGING_DIR}/vornhelm.6.gz)
set(VORNHELM_CHANGELOG_GZ ${VORNHELM_PACKAGING_DIR}/changelog.gz)
foreach(pair "vornhelm.6;${VORNHELM_MANPAGE_GZ}" "changelog;${VORNHELM_CHANGELOG_GZ}")
  list(GET pair 0 source)
  list(GET pair 1 output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/packaging/${source} ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${source}
    VERBATIM)
endforeach()
add_custom_target(vornhelm_packaging_files ALL DEPENDS ${VORNHELM_MANPAGE_GZ} ${VORNHELM_CHANGELOG_GZ})

# One layout: `component` names it; the folders are relative to the prefix.
function(vornhelm_install_layout component bin_dir data_dir)
  set(game_dir libexec/vornhelm)
  set(which COMPONENT ${component})
  if(component STREQUAL "deb")
    list(APPEND which EXCLUDE_FROM_ALL)
  endif()

  set(GAME_DIR ${game_dir})
  set(DATA_DIR ${data_dir})
  configure_file(${CMAKE_SOURCE_DIR}/packaging/vornhelm.sh.in ${VORNHELM_PACKAGING_DIR}/${component}/vornhelm @ONLY)
  install(PROGRAMS ${VORNHELM_PACKAGING_DIR}/${component}/vornhelm DESTINATION ${bin_dir} ${which})
  install(TARGETS vornhelm RUNTIME DESTINATION ${game_dir} ${which})
  # The contact sheets are not the game's; the icons are, for its window.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${data_dir} ${which}
          PATTERN preview EXCLUDE)
  foreach(level_size "vornhelm.png;64" "vornhelm-hd.png;128" "vornhelm-hd2.png;256")
    list(GET level_size 0 file)
    list(GET level_size 1 size)
    install(FILES ${CMAKE_BINARY_DIR}/data/icon/${file}
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME vornhelm.png ${which})
  endforeach()
  install(FILES ${VORNHELM_PACKAGING_DIR}/${VORNHELM_APP_ID}.metainfo.xml DESTINATION share/metainfo ${which})
  install(FILES ${VORNHELM_MANPAGE_GZ} DESTINATION share/man/man6 ${which})
  install(CODE "
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/vornhelm.desktop\")
    file(READ \"${CMAKE_SOURCE_DIR}/packaging/vornhelm.desktop.in\" text)
    string(REPLACE \"@LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/${bin_dir}/vornhelm\" text \"\${text}\")
    message(STATUS \"Installing: \${entry}\")
    file(WRITE \"\${entry}\" \"\${text}\")
  " ${which})
endfunction()

vornhelm_install_layout(prefix bin share/vornhelm/data)
vornhelm_install_layout(deb games share/games/vornhelm)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/deb/copyright ${VORNHELM_CHANGELOG_GZ}
        DESTINATION share/doc/vornhelm COMPONENT deb EXCLUDE_FROM_ALL)
