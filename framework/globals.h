// SPDX-License-Identifier: Zlib
// Start-up values of the module globals, and the collector's roots.
#pragma once

#include "runtime/entry.h"
