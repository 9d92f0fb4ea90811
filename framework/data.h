// SPDX-License-Identifier: Zlib
// Data paths: where the loaders look for a bare file name.
#pragma once

#include "runtime/runtime.h"

// A path with a scheme or drive prefix ("tandor://data/x", "c:/x"), or one
// starting with "./" or "/", is returned as it is; any other path is taken
// as a name inside the data folder: "tandor://data/" + path.
String kr_data_FixDataPath(String path);
