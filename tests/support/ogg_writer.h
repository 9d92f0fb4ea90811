// SPDX-License-Identifier: Zlib
// Ogg Vorbis files made on the spot with the reference encoder, for the
// decoding tests and the benchmark.
#pragma once

#include <vorbis/vorbisenc.h>

#include <functional>
#include <vector>

namespace soundfiles {

// Encodes `frames` frames; sampleAt(frame, channel) gives each sample in
// [-1, 1]. Empty when the encoder refuses the settings.
inline std::vector<unsigned char> EncodeOgg(int channels, int rate, int frames,
                                            const std::function<float(int, int)>& sampleAt) {
    std::vector<unsigned char> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) return vorbis_info_clear(&info), out;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    ogg_page page;
    ogg_packet packet, comments, codes;
    vorbis_comment_init(&comment);
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, 20240601);
    auto flushPages = [&](bool all) {
        while (all ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    };
    vorbis_analysis_headerout(&dsp, &comment, &packet, &comments, &codes);
    for (ogg_packet* p : {&packet, &comments, &codes}) ogg_stream_packetin(&stream, p);
    flushPages(true);
    for (int done = 0, n = 1; n > 0; done += n) {
        n = frames - done < 1024 ? frames - done : 1024;  // 0 marks the end
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i) buffer[c][i] = sampleAt(done + i, c);
        vorbis_analysis_wrote(&dsp, n);
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                flushPages(false);
            }
        }
    }
    flushPages(true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace soundfiles
