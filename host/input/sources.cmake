# SPDX-License-Identifier: Zlib
# What every host shares about input: key translation, the joystick layout
# and joystick polling.
core_sources(
  key_table.cpp
  pad_layout.cpp
  pads.cpp
  standard_pad.cpp
)
