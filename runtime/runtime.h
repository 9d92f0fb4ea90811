// SPDX-License-Identifier: Zlib
// The language runtime: collected objects, strings, arrays, entry and errors.
#pragma once

#include "runtime/gc.h"
#include "runtime/array.h"
#include "runtime/string.h"
#include "runtime/errors.h"
#include "runtime/entry.h"
