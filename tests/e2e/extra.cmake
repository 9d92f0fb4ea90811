# The window tests also run the game binary itself.
if(TARGET tests_e2e)
  add_dependencies(tests_e2e vornhelm)
endif()
