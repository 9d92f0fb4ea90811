# The package tests read the package `make deb` builds; the first test of the
# label builds it (the game and its data only, when they are up to date).
if(TARGET deb)
  add_test(NAME packaging_build_deb COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target deb)
  set_tests_properties(packaging_build_deb PROPERTIES LABELS packaging FIXTURES_SETUP vornhelm_deb TIMEOUT 300)
endif()
target_compile_definitions(tests_packaging PRIVATE
  VORNHELM_DEB="${VORNHELM_DEB}"
  VORNHELM_APP_ID="${VORNHELM_APP_ID}"
  VORNHELM_RELEASE_DATE="${VORNHELM_RELEASE_DATE}")
