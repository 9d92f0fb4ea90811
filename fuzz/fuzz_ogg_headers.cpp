// libFuzzer target for our own check of the Vorbis header packets
// (host/decode/ogg_headers.h), which the WebAssembly build runs instead of the
// reference decoder. Every input is a file's whole contents. The check must
// never crash or hang, and its verdict on the first three packets must be
// the reference decoder's (header parsing and the decoding set-up made from
// it): accepting what the reference refuses would let stb_vorbis read what
// nothing has checked. Seeds: fuzz/seeds/fuzz_ogg/.
#include <vorbis/codec.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/decode/ogg_headers.h"

namespace {

bool ReferenceAccepts(const std::vector<ogg_headers::Packet>& packets) {
    vorbis_info info;
    vorbis_comment comments;
    vorbis_info_init(&info);
    vorbis_comment_init(&comments);
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
        ogg_packet p{};
        p.packet = const_cast<unsigned char*>(packets[i].data());
        p.bytes = static_cast<long>(packets[i].size());
        p.b_o_s = i == 0;
        p.packetno = i;
        ok = vorbis_synthesis_headerin(&info, &comments, &p) == 0;
    }
    if (ok) {
        vorbis_dsp_state dsp;
        ok = vorbis_synthesis_init(&dsp, &info) == 0;
        if (ok) vorbis_dsp_clear(&dsp);
    }
    // The reference takes rates up to 2^32 - 1; an int cannot hold them.
    ok = ok && info.rate <= 0x7fffffff;
    vorbis_comment_clear(&comments);
    vorbis_info_clear(&info);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool ours = ogg_headers::HeadersValid(data, size);
    std::vector<ogg_headers::Packet> packets;
    if (!ogg_headers::FirstPackets(data, size, 3, &packets)) {
        if (ours) std::abort();
        return 0;
    }
    if (ours != ReferenceAccepts(packets)) std::abort();
    return 0;
}
