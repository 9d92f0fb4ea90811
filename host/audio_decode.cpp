// Sound-file decoding: the RIFF WAVE parser, whole-file Ogg Vorbis decoding
// and the host's choice between them by file-name ending.
//
// WAV headers are untrusted. Besides the fixed layout checks, the parser
// rejects what would make it misbehave: a negative chunk size, a "fmt " chunk
// shorter than its 16 fixed bytes, zero channels, fewer than 8 bits per
// sample, and a sample rate that is not positive. Chunks are skipped by
// reading (never by seeking, so never past the end), and the data block grows
// only with the bytes the file really delivers, so a size that claims more
// than the file holds costs at most the first 64 KiB block and fails as a
// short read.
#include "host/audio_decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "host/glfw_game.h"

namespace {

char tagBuffer[5];

// First allocation for a chunk body; it doubles as bytes keep arriving.
const std::size_t kFirstDataBlock = 1 << 16;

// Reads and drops up to `count` bytes; stops early at the end of the file.
void SkipBytes(std::FILE* f, long count) {
    char scratch[4096];
    while (count > 0) {
        std::size_t want = static_cast<std::size_t>(std::min<long>(count, sizeof scratch));
        std::size_t got = std::fread(scratch, 1, want, f);
        if (got < want) return;
        count -= static_cast<long>(got);
    }
}

// Reads a chunk body of `size` bytes into a new block, or null when the file
// ends first.
unsigned char* ReadChunkBody(std::FILE* f, int size) {
    const std::size_t want = static_cast<std::size_t>(size);
    std::size_t capacity = std::max<std::size_t>(1, std::min(want, kFirstDataBlock));
    auto* data = static_cast<unsigned char*>(std::malloc(capacity));
    std::size_t got = 0;
    while (data) {
        std::size_t limit = std::min(capacity, want);
        got += std::fread(data + got, 1, limit - got, f);
        if (got == want) return data;
        if (got < limit) break;  // the file ended
        capacity = std::min(capacity * 2, want);
        auto* grown = static_cast<unsigned char*>(std::realloc(data, capacity));
        if (!grown) break;
        data = grown;
    }
    std::free(data);
    return nullptr;
}

struct WavFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

// Reads the "fmt " chunk that must follow "WAVE" at once. False for anything
// but integer PCM with a usable sample layout.
bool ReadFormat(std::FILE* f, WavFormat* format) {
    if (std::strcmp(readTag(f), "fmt ") != 0) return false;
    int fmtSize = readInt(f);
    if (fmtSize < 16) return false;
    if (readShort(f) != 1) return false;
    format->channels = readShort(f);
    format->rate = readInt(f);
    readInt(f);    // byte rate
    readShort(f);  // block align
    format->bits = readShort(f);
    SkipBytes(f, fmtSize - 16L);
    return format->channels > 0 && format->bits >= 8 && format->rate > 0;
}

// Walks the chunks after "fmt " up to the first readable "data" chunk.
unsigned char* ReadDataChunk(std::FILE* f, int* size) {
    for (;;) {
        bool isData = std::strcmp(readTag(f), "data") == 0;
        if (std::feof(f)) return nullptr;
        int chunkSize = readInt(f);
        if (chunkSize < 0) return nullptr;
        if (!isData) {
            SkipBytes(f, chunkSize);
            continue;
        }
        *size = chunkSize;
        // A short read leaves the file at its end, where the walk would fail.
        return ReadChunkBody(f, chunkSize);
    }
}

// Decodes every frame into one growing buffer of 16-bit samples. There is
// always room for a whole chunk of 4096 frames (more than one Vorbis frame
// can hold), so no frame is ever cut short.
short* DecodeFrames(stb_vorbis* decoder, int channels, int* frames) {
    const std::size_t chunk = static_cast<std::size_t>(channels) * 4096;
    std::size_t capacity = chunk, used = 0;
    auto* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    *frames = 0;
    while (buffer) {
        int n = stb_vorbis_get_frame_short_interleaved(decoder, channels, buffer + used,
                                                       static_cast<int>(capacity - used));
        if (n == 0) break;
        *frames += n;
        used += static_cast<std::size_t>(channels) * n;
        if (used + chunk > capacity) {
            capacity *= 2;
            auto* grown = static_cast<short*>(std::realloc(buffer, capacity * sizeof(short)));
            if (!grown) std::free(buffer);
            buffer = grown;
        }
    }
    return buffer;
}

typedef unsigned char* (*AudioLoader)(std::FILE*, int*, int*, int*, int*);

struct AudioFormat {
    const char* ending;
    AudioLoader load;
};

const AudioFormat kAudioFormats[] = {{".wav", LoadWAV}, {".ogg", LoadOGG}};

}  // namespace

const char* readTag(std::FILE* f) {
    if (std::fread(tagBuffer, 1, 4, f) != 4) {
        tagBuffer[0] = 0;
        return tagBuffer;
    }
    tagBuffer[4] = 0;
    return tagBuffer;
}

int readShort(std::FILE* f) {
    unsigned char b[2];
    if (std::fread(b, 1, 2, f) != 2) return -1;
    return b[0] | b[1] << 8;
}

int readInt(std::FILE* f) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return -1;
    return static_cast<int>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24);
}

unsigned char* LoadWAV(std::FILE* f, int* frameCount, int* channelCount, int* bytesPerSample,
                       int* sampleRate) {
    if (std::strcmp(readTag(f), "RIFF") != 0) return nullptr;
    readInt(f);  // RIFF size
    if (std::strcmp(readTag(f), "WAVE") != 0) return nullptr;
    WavFormat format;
    if (!ReadFormat(f, &format)) return nullptr;

    int size = 0;
    unsigned char* data = ReadDataChunk(f, &size);
    if (!data) return nullptr;

    int sampleBytes = format.bits / 8;
    *bytesPerSample = sampleBytes;
    *frameCount = static_cast<int>(size / (static_cast<long long>(format.channels) * sampleBytes));
    *channelCount = format.channels;
    *sampleRate = format.rate;
    return data;
}

unsigned char* LoadOGG(std::FILE* f, int* frameCount, int* channelCount, int* bytesPerSample,
                       int* sampleRate) {
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_file(f, 0, &error, nullptr);
    if (!decoder) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    int frames = 0;
    short* samples = info.channels > 0 ? DecodeFrames(decoder, info.channels, &frames) : nullptr;
    stb_vorbis_close(decoder);
    if (!samples) return nullptr;

    *frameCount = frames;
    *channelCount = info.channels;
    *bytesPerSample = 2;
    *sampleRate = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(samples);
}

unsigned char* KrGlfwGame::LoadAudioData(String path, int* frameCount, int* channelCount,
                                         int* bytesPerSample, int* sampleRate) {
    std::FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    String lower = path.ToLower();
    unsigned char* data = nullptr;
    for (const AudioFormat& format : kAudioFormats) {
        if (lower.EndsWith(String(format.ending))) {
            data = format.load(f, frameCount, channelCount, bytesPerSample, sampleRate);
            break;
        }
    }
    std::fclose(f);
    return data;
}
