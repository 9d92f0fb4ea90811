// SPDX-License-Identifier: Zlib
// Browser touches carry identifiers of the browser's choosing; the game
// knows fingers 0 to 31. A new touch takes the lowest finger that no touch
// holds, and gives it back when it ends, as a touch screen numbers them.
#pragma once

#include <array>

class KrTouchFingers {
public:
    static constexpr int kFingers = 32;

    // The finger for a new touch; -1 when all are held (the touch is
    // ignored). A touch that already holds one keeps it.
    int Press(long identifier);
    // The finger the touch holds, or -1.
    int Find(long identifier) const;
    // The finger the touch held, now free again, or -1.
    int Release(long identifier);

private:
    std::array<long, kFingers> held_{};
    std::array<bool, kFingers> used_{};
};
