# SPDX-License-Identifier: Zlib
# The collector, collected objects, String and Array, entry and runtime errors.
core_sources(
  entry.cpp
  errors.cpp
  gc.cpp
  string.cpp
)
