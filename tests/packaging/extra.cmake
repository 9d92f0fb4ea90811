# SPDX-License-Identifier: Zlib
# The package tests read the packages scripts/build-deb.sh builds with
# dpkg-buildpackage into build/deb/; the first test of the label builds them,
# without their own tests (this run is those).
execute_process(COMMAND dpkg --print-architecture
                OUTPUT_VARIABLE VORNHELM_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
set(VORNHELM_DEB_DIR ${CMAKE_BINARY_DIR}/deb)
add_test(NAME packaging_build_deb COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-deb.sh ${VORNHELM_DEB_DIR})
set_tests_properties(packaging_build_deb PROPERTIES LABELS packaging FIXTURES_SETUP vornhelm_deb TIMEOUT 1800
  ENVIRONMENT "DEB_BUILD_OPTIONS=nocheck")
target_compile_definitions(tests_packaging PRIVATE
  VORNHELM_DEB_DIR="${VORNHELM_DEB_DIR}"
  VORNHELM_DEB_ARCH="${VORNHELM_DEB_ARCH}"
  VORNHELM_APP_ID="${VORNHELM_APP_ID}"
  VORNHELM_RELEASE_DATE="${VORNHELM_RELEASE_DATE}")
