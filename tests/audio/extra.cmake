# The audio tests make their Ogg files with the reference encoder.
target_link_libraries(tests_audio PRIVATE PkgConfig::VORBISENC)
