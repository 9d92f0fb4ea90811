# Recording sessions and playing them back.
core_sources(
  reader.cpp
  recording_host.cpp
  replay_host.cpp
  writer.cpp
)
