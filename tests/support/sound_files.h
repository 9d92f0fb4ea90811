// SPDX-License-Identifier: Zlib
// Sound files made on the spot for the audio tests, the test programs and
// the benchmark: RIFF WAVE files assembled chunk by chunk (so broken headers
// are as easy to make as good ones), tones, and self-removing temporary files.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace soundfiles {

using Bytes = std::vector<unsigned char>;

inline void PutLE(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

struct Chunk {
    std::string tag;
    Bytes body;
    std::int64_t declaredSize = -1;  // written instead of the body's length when >= 0
};

inline Chunk Fmt(int format, int channels, int bits, int extraBytes = 0, int rate = 22050) {
    Chunk c{"fmt ", {}};
    const int align = channels * (bits / 8), fields[][2] = {{format, 2}, {channels, 2}, {rate, 4}, {rate * align, 4}, {align, 2}, {bits, 2}};
    for (const auto& f : fields) PutLE(c.body, static_cast<std::uint32_t>(f[0]), f[1]);
    c.body.resize(c.body.size() + extraBytes, 0xEE);
    return c;
}

// "RIFF", size, "WAVE", then the chunks as given.
inline Bytes RiffWave(const std::vector<Chunk>& chunks) {
    Bytes out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        out.insert(out.end(), c.tag.begin(), c.tag.end());
        PutLE(out, static_cast<std::uint32_t>(c.declaredSize >= 0 ? c.declaredSize : c.body.size()), 4);
        out.insert(out.end(), c.body.begin(), c.body.end());
    }
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>((out.size() - 8) >> (8 * i));
    return out;
}

// A 440 Hz sine at half scale as 16-bit samples, the same in every channel.
inline Bytes Tone16(int frames, int channels = 1, int rate = 22050) {
    Bytes out;
    for (int i = 0; i < frames * channels; ++i)
        PutLE(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(16383 * std::sin(2 * M_PI * 440 * (i / channels) / rate))), 2);
    return out;
}

inline Bytes ToneWav(int frames, int channels = 1) {
    return RiffWave({Fmt(1, channels, 16), {"data", Tone16(frames, channels)}});
}

// A file in /tmp with a unique name ending in `suffix`, removed with the object.
class TempFile {
public:
    explicit TempFile(const Bytes& bytes, const std::string& suffix = ".wav") {
        std::string name = "/tmp/vornhelm-audio-XXXXXX" + suffix;
        int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
        if (fd < 0) return;
        path_ = name;
        if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) path_ += ".unwritten";
        close(fd);
    }
    ~TempFile() { unlink(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace soundfiles
