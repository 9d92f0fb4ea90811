# The audio tests make their Ogg files with the reference encoder.
if(TARGET tests_audio)
  target_link_libraries(tests_audio PRIVATE PkgConfig::VORBISENC)
endif()
