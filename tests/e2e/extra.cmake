# The window tests also run the game binary itself.
if(TARGET tests_e2e)
  add_dependencies(tests_e2e vornhelm)
endif()
# The game start test runs the game from a folder linked to the built data.
if(TARGET tests_e2e AND TARGET vornhelm_assets)
  add_dependencies(tests_e2e vornhelm_assets)
endif()
