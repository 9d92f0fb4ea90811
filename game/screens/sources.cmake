# SPDX-License-Identifier: Zlib
# The screens around play: the menu, its score lists, options, credits, badges, the quit screen.
core_sources(
  badges.cpp
  credit_lines.cpp
  credits.cpp
  menu.cpp
  menu_strip.cpp
  options.cpp
  ouya_quit.cpp
  score_panel.cpp
  score_tables.cpp
)
