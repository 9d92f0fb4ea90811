// SPDX-License-Identifier: Zlib
// gxtkSample: one sound decoded into an OpenAL buffer.
#pragma once

#include "runtime/runtime.h"

class gxtkSample : public Object {
public:
    unsigned int bufferId = 0;  // OpenAL buffer name, 0 when it has none

    gxtkSample() {}
    // A collected sample gives up its buffer like a discarded one.
    ~gxtkSample() override;

    // Queues the buffer for deletion; it may still be playing, so the buffer
    // is deleted later, once no source plays it. Returns 0.
    virtual int Discard();
    void SetBuffer(unsigned int buffer);
};
