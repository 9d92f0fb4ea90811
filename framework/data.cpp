// SPDX-License-Identifier: Zlib
#include "framework/data.h"

String kr_data_FixDataPath(String path) {
    // A prefix counts only when its ":/" holds the path's first "/", so
    // "a/b:/c" is still a name inside the data folder.
    int colon = path.Find(String(":/"));
    if (colon != -1 && path.Find(String("/")) == colon + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("tandor://data/") + path;
}
