// SPDX-License-Identifier: Zlib
// The reference decoder's verdict on three Vorbis header packets: the headers
// themselves and the decoding set-up it makes from them before the first
// audio packet, with a rate an int can hold (the reference takes rates up to
// 2^32 - 1). Our own header check (host/decode/ogg_headers.h) must agree;
// its tests and its fuzzer ask this.
#pragma once

#include <vorbis/codec.h>

#include "host/decode/ogg_headers.h"

inline bool ReferenceAccepts(const ogg_headers::Packet& id, const ogg_headers::Packet& comment,
                             const ogg_headers::Packet& setup) {
    vorbis_info info;
    vorbis_comment comments;
    vorbis_info_init(&info);
    vorbis_comment_init(&comments);
    bool ok = true;
    const ogg_headers::Packet* packets[3] = {&id, &comment, &setup};
    for (int i = 0; i < 3 && ok; ++i) {
        ogg_packet p{};
        p.packet = const_cast<unsigned char*>(packets[i]->data());
        p.bytes = static_cast<long>(packets[i]->size());
        p.b_o_s = i == 0;
        p.packetno = i;
        ok = vorbis_synthesis_headerin(&info, &comments, &p) == 0;
    }
    if (ok) {
        vorbis_dsp_state dsp;
        ok = vorbis_synthesis_init(&dsp, &info) == 0;
        if (ok) vorbis_dsp_clear(&dsp);
    }
    ok = ok && info.rate <= 0x7fffffff;
    vorbis_comment_clear(&comments);
    vorbis_info_clear(&info);
    return ok;
}
