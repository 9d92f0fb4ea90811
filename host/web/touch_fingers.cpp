// SPDX-License-Identifier: Zlib
#include "host/web/touch_fingers.h"

int KrTouchFingers::Press(long identifier) {
    int finger = Find(identifier);
    if (finger >= 0) return finger;
    for (int i = 0; i < kFingers; ++i) {
        if (used_[i]) continue;
        used_[i] = true;
        held_[i] = identifier;
        return i;
    }
    return -1;
}

int KrTouchFingers::Find(long identifier) const {
    for (int i = 0; i < kFingers; ++i)
        if (used_[i] && held_[i] == identifier) return i;
    return -1;
}

int KrTouchFingers::Release(long identifier) {
    int finger = Find(identifier);
    if (finger >= 0) used_[finger] = false;
    return finger;
}
