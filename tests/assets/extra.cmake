# SPDX-License-Identifier: Zlib
# The tests read build/data/ and run the generator again into a fresh folder.
if(TARGET tests_assets AND TARGET vornhelm_assets)
  add_dependencies(tests_assets vornhelm_assets)
  target_compile_definitions(tests_assets PRIVATE VORNHELM_ASSETGEN="$<TARGET_FILE:vornhelm_assetgen>")
endif()
