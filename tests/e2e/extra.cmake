# SPDX-License-Identifier: Zlib
# The window tests also run the game binary itself.
if(TARGET tests_e2e)
  add_dependencies(tests_e2e vornhelm)
endif()
# The end-to-end tests run the game on its generated data folder.
if(TARGET tests_e2e AND TARGET vornhelm_assets)
  add_dependencies(tests_e2e vornhelm_assets)
endif()
# The install test checks the layout the build was configured with.
target_compile_definitions(tests_e2e PRIVATE VORNHELM_INSTALL_BIN_DIR="${VORNHELM_INSTALL_BIN_DIR}"
  VORNHELM_INSTALL_DATA_DIR="${VORNHELM_INSTALL_DATA_DIR}")
