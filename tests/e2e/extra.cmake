# The window tests also run the game binary itself.
if(TARGET tests_e2e)
  add_dependencies(tests_e2e vornhelm)
endif()
# The end-to-end tests run the game on its generated data folder.
if(TARGET tests_e2e AND TARGET vornhelm_assets)
  add_dependencies(tests_e2e vornhelm_assets)
endif()
