// Sound files made on the spot for the audio tests, the test programs and
// the benchmark: RIFF WAVE files assembled chunk by chunk (so broken headers
// are as easy to make as good ones), tones, and temporary files that remove
// themselves.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
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
    // The size written into the header; by default the body's length.
    std::int64_t declaredSize = -1;
};

inline Chunk FmtChunk(int format, int channels, int rate, int bits, int extraBytes = 0) {
    Chunk c{"fmt ", {}};
    int align = channels * (bits / 8);
    PutLE(c.body, format, 2);
    PutLE(c.body, channels, 2);
    PutLE(c.body, rate, 4);
    PutLE(c.body, rate * align, 4);
    PutLE(c.body, align, 2);
    PutLE(c.body, bits, 2);
    for (int i = 0; i < extraBytes; ++i) c.body.push_back(0xEE);
    return c;
}

inline Chunk DataChunk(Bytes body) { return Chunk{"data", std::move(body)}; }

inline Chunk ListChunk(int size) { return Chunk{"LIST", Bytes(size, 'i')}; }

// "RIFF", size, "WAVE", then the chunks as given (no pad bytes added).
inline Bytes RiffWave(const std::vector<Chunk>& chunks) {
    Bytes out{'R', 'I', 'F', 'F'};
    PutLE(out, 0, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    for (const Chunk& c : chunks) {
        out.insert(out.end(), c.tag.begin(), c.tag.end());
        std::int64_t size = c.declaredSize >= 0 ? c.declaredSize : static_cast<std::int64_t>(c.body.size());
        PutLE(out, static_cast<std::uint32_t>(size), 4);
        out.insert(out.end(), c.body.begin(), c.body.end());
    }
    std::uint32_t riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(riffSize >> (8 * i));
    return out;
}

inline Bytes PcmWav(int channels, int rate, int bits, const Bytes& data) {
    return RiffWave({FmtChunk(1, channels, rate, bits), DataChunk(data)});
}

// A sine tone as 16-bit little-endian samples, the same in every channel.
inline Bytes Tone16(int frames, int channels, int rate, double hertz = 440, double amplitude = 0.5) {
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        double v = amplitude * 32767 * std::sin(2 * M_PI * hertz * i / rate);
        for (int c = 0; c < channels; ++c) PutLE(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)), 2);
    }
    return out;
}

// A sine tone as unsigned 8-bit samples (silence is 128).
inline Bytes Tone8(int frames, int channels, int rate, double hertz = 440) {
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        auto v = static_cast<unsigned char>(128 + 100 * std::sin(2 * M_PI * hertz * i / rate));
        for (int c = 0; c < channels; ++c) out.push_back(v);
    }
    return out;
}

// Little-endian 16-bit sample i of a byte block.
inline int SampleAt(const unsigned char* data, int i) {
    return static_cast<std::int16_t>(data[2 * i] | data[2 * i + 1] << 8);
}

// A file in /tmp with a unique name ending in `suffix`, removed when the
// object goes away.
class TempFile {
public:
    explicit TempFile(const Bytes& bytes, const std::string& suffix = ".wav") {
        std::string pattern = "/tmp/vornhelm-audio-XXXXXX" + suffix;
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
        if (fd < 0) return;
        path_ = name.data();
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        close(fd);
    }
    ~TempFile() {
        if (!path_.empty()) unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace soundfiles
