// SPDX-License-Identifier: Zlib
#include "audio/sample.h"

#include "audio/discarded.h"

gxtkSample::~gxtkSample() { gxtkSample::Discard(); }

int gxtkSample::Discard() {
    if (bufferId != 0) {
        DiscardBuffer(bufferId);
        bufferId = 0;
    }
    return 0;
}

void gxtkSample::SetBuffer(unsigned int buffer) { bufferId = buffer; }
