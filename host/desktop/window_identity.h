// SPDX-License-Identifier: Zlib
// Who the game's windows say they are, so that docks and task switchers
// name them and link them to the desktop entry (StartupWMClass=vornhelm).
#pragma once

// Every window from now on is of class "vornhelm" and carries the icons of
// the data folder's icon/ (64, 128 and 256 pixels); a missing icon file is
// left out. (Each window's title comes with it: host/desktop/window.cpp.)
void KrSetWindowIdentity();
