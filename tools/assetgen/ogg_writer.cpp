// SPDX-License-Identifier: Zlib
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <filesystem>

namespace assetgen {

namespace {

constexpr float kQuality = 0.3f;     // about 112 kbit/s for stereo
constexpr int kSerial = 0x56524e48;  // any fixed number will do
constexpr int kBlock = 1024;         // frames handed to the encoder at a time

bool WritePage(FILE* f, const ogg_page& page) {
    return std::fwrite(page.header, 1, page.header_len, f) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, f) == static_cast<size_t>(page.body_len);
}

}  // namespace

bool WriteOgg(const std::string& path, const Samples& samples, int channels, const std::string& title) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, kSampleRate, kQuality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, kSerial);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    bool ok = true;
    while (ogg_stream_flush(&os, &page) != 0) ok = WritePage(f, page) && ok;

    size_t frames = samples.size() / channels;
    for (size_t done = 0;;) {
        size_t n = std::min(static_cast<size_t>(kBlock), frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buffer[c][i] = samples[channels * (done + i) + c];
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        }
        bool endOfStream = false;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    ok = WritePage(f, page) && ok;
                    if (ogg_page_eos(&page)) endOfStream = true;
                }
            }
        }
        if (n == 0 || endOfStream) break;
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
