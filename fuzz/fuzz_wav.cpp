// SPDX-License-Identifier: Zlib
// libFuzzer target for the WAV parser: every input is a file's whole
// contents, read through fmemopen. The parser must return a block or null
// without crashing, leaking, hanging or allocating what the file does not
// hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/decode/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // fmemopen refuses an empty buffer; an empty file is one byte already read.
    std::vector<unsigned char> bytes(data, data + size);
    bool empty = bytes.empty();
    if (empty) bytes.push_back(0);
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!f) return 0;
    if (empty) std::fgetc(f);

    int frames = 0, channels = 0, bytesPerSample = 0, rate = 0;
    unsigned char* samples = LoadWAV(f, &frames, &channels, &bytesPerSample, &rate);
    if (samples) {
        // Everything the outputs describe lies inside the block (and the
        // block came out of the file, so it is no larger than the input).
        long long described = static_cast<long long>(frames) * channels * bytesPerSample;
        if (channels <= 0 || bytesPerSample <= 0 || rate <= 0 || frames < 0 ||
            described > static_cast<long long>(size)) {
            std::abort();
        }
        volatile unsigned char sink = 0;
        for (long long i = 0; i < described; ++i) sink = sink ^ samples[i];
        std::free(samples);
    }
    std::fclose(f);
    return 0;
}
