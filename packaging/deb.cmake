# `make deb` (the target `deb`): the Debian package
# build/vornhelm_<version>_<arch>.deb, made by packaging/deb/make-deb.sh from
# the install rules' "deb" component (packaging/install.cmake). It is packed
# with dpkg-deb on a staged tree rather than by CPack: the tree is exactly
# what `cmake --install` puts there, and Debian's own tools fill in the
# control file, the library dependencies and the archive, as they do for
# the distribution's packages.
find_program(VORNHELM_DPKG dpkg)
if(VORNHELM_DPKG)
  execute_process(COMMAND ${VORNHELM_DPKG} --print-architecture
                  OUTPUT_VARIABLE VORNHELM_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(VORNHELM_DEB ${CMAKE_BINARY_DIR}/vornhelm_${PROJECT_VERSION}_${VORNHELM_DEB_ARCH}.deb)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/deb/control.in ${CMAKE_BINARY_DIR}/packaging/deb/control @ONLY)
  add_custom_target(deb
    COMMAND sh ${CMAKE_SOURCE_DIR}/packaging/deb/make-deb.sh
            ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${VORNHELM_RELEASE_DATE} ${VORNHELM_DEB}
    VERBATIM)
  add_dependencies(deb vornhelm vornhelm_packaging_files)
  if(TARGET vornhelm_assets)
    add_dependencies(deb vornhelm_assets)
  endif()
endif()
