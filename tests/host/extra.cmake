# The decoding tests make their Ogg files with the reference encoder.
target_link_libraries(tests_host PRIVATE PkgConfig::VORBISENC)
