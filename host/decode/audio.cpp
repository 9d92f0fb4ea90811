// SPDX-License-Identifier: Zlib
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
//
// Ogg Vorbis files are read whole, and only what checks out reaches the
// decoder, stb_vorbis, which is fast but trusts what it reads:
// 1. the pages from the start of the file, each with its checksum right,
//    as long as they belong to the first logical stream: the stream is cut
//    at the first page that is damaged, incomplete or of another stream;
// 2. whose three header packets the reference decoder (libvorbisfile)
//    accepts: it checks every length and count in them, which stb_vorbis
//    does not (a huge comment count made it write through a null pointer);
//    the WebAssembly build, which has no reference decoder, checks them with
//    host/decode/ogg_headers.h instead;
// 3. decoded by stb_vorbis with all its memory in one block of ours, so
//    that a failed open leaves nothing allocated behind.
// A damaged file therefore gives none, or the samples of its intact start.
#include "host/decode/decode.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__EMSCRIPTEN__)
#include "host/decode/ogg_headers.h"
#else
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>
#endif
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "host/game.h"

namespace {

// --- Reading WAV chunks ---

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

// --- Intact pages of Ogg files ---

// Reads the rest of the file into memory; false when a read fails.
bool ReadAll(std::FILE* f, std::vector<unsigned char>* bytes) {
    unsigned char block[65536];
    for (;;) {
        std::size_t got = std::fread(block, 1, sizeof block, f);
        bytes->insert(bytes->end(), block, block + got);
        if (got < sizeof block) return !std::ferror(f);
    }
}

std::uint32_t LE32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The Ogg page checksum: CRC-32, polynomial 0x04C11DB7, not reflected,
// starting from 0, over the page with its own checksum field taken as 0.
const std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        table[i] = crc;
    }
    return table;
}();

std::uint32_t PageChecksum(const unsigned char* page, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        unsigned char byte = i >= 22 && i < 26 ? 0 : page[i];
        crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ byte];
    }
    return crc;
}

// Bytes from the start that hold whole, undamaged pages of the first
// logical stream, up to its last page: the first page must begin it, and
// the walk stops at a page that is cut short, fails its checksum, belongs to
// another stream or begins a new one.
std::size_t IntactFirstStream(const unsigned char* b, std::size_t n) {
    std::size_t at = 0;
    std::uint32_t serial = 0;
    while (at + 27 <= n && std::memcmp(b + at, "OggS", 4) == 0 && b[at + 4] == 0) {
        const bool begins = b[at + 5] & 2, ends = b[at + 5] & 4;
        std::size_t body = at + 27 + b[at + 26];
        if (body > n) break;
        std::size_t end = body;
        for (std::size_t i = at + 27; i < body; ++i) end += b[i];
        if (end > n) break;
        if (at == 0 ? !begins : begins || LE32(b + at + 14) != serial) break;
        if (PageChecksum(b + at, end - at) != LE32(b + at + 22)) break;
        serial = LE32(b + at + 14);
        at = end;
        if (ends) break;
    }
    return at;
}

// --- Checking the Vorbis headers ---

#if defined(__EMSCRIPTEN__)
// The reference decoder is not built for WebAssembly; our own reading of
// the three header packets checks the same lengths, counts and indices.
bool HeadersAccepted(const unsigned char* bytes, std::size_t size) { return ogg_headers::HeadersValid(bytes, size); }
#else
struct Memory {
    const unsigned char* bytes;
    std::size_t size, at;
};

std::size_t ReadMemory(void* out, std::size_t size, std::size_t count, void* source) {
    auto* m = static_cast<Memory*>(source);
    std::size_t want = size && count ? std::min(size * count, m->size - m->at) / size : 0;
    std::memcpy(out, m->bytes + m->at, want * size);
    m->at += want * size;
    return want;
}

// Whether the reference decoder accepts the stream's three header packets;
// it reads them as a stream, not seeking, so it stops after the headers.
bool HeadersAccepted(const unsigned char* bytes, std::size_t size) {
    Memory source{bytes, size, 0};
    const ov_callbacks readOnly = {ReadMemory, nullptr, nullptr, nullptr};
    OggVorbis_File file;
    // A failed open releases everything it took.
    if (ov_open_callbacks(&source, &file, nullptr, 0, readOnly) != 0) return false;
    const vorbis_info* info = ov_info(&file, -1);
    // The header holds the rate in 32 unsigned bits; one beyond an int is
    // no rate any sound could have.
    bool usable = info && info->channels > 0 && info->rate > 0 && info->rate <= INT_MAX;
    ov_clear(&file);
    return usable;
}
#endif

// --- Decoding into 16-bit samples ---

// stb_vorbis takes all its memory from this block, so freeing the block
// frees whatever a failed open left. Checked headers need about 200 KiB;
// the block grows while the decoder asks for more, up to a bound.
constexpr int kFirstArena = 512 << 10;
constexpr int kLargestArena = 32 << 20;

// One decoded sample, nominally -1 to 1, as a 16-bit one: scaled by 32768,
// clamped, rounded to the nearest (ties to even). Clamping comes first, so a
// damaged stream's huge values saturate instead of overflowing.
inline short ToSample(float v) {
    v *= 32768.0f;
    v = v > 32767.0f ? 32767.0f : v < -32768.0f ? -32768.0f : v;
    return static_cast<short>(std::lrint(v));
}

#if defined(__SSE2__)
// Eight samples at once, as ToSample does them (the processor's conversion
// rounds to the nearest, ties to even).
inline __m128i ToSamples8(const float* in) {
    const __m128 scale = _mm_set1_ps(32768.0f), top = _mm_set1_ps(32767.0f), bottom = _mm_set1_ps(-32768.0f);
    __m128 a = _mm_max_ps(_mm_min_ps(_mm_mul_ps(_mm_loadu_ps(in), scale), top), bottom);
    __m128 b = _mm_max_ps(_mm_min_ps(_mm_mul_ps(_mm_loadu_ps(in + 4), scale), top), bottom);
    return _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
}
#endif

// Writes `frames` frames of per-channel float samples as interleaved 16-bit
// ones. Mono and stereo, nearly every file, go eight frames at a time.
void Interleave(float* const* pcm, int channels, int frames, short* out) {
    int done = 0;
#if defined(__SSE2__)
    auto* to = reinterpret_cast<__m128i*>(out);
    if (channels == 1) {
        for (; done + 8 <= frames; done += 8) _mm_storeu_si128(to++, ToSamples8(pcm[0] + done));
    } else if (channels == 2) {
        for (; done + 8 <= frames; done += 8) {
            __m128i left = ToSamples8(pcm[0] + done), right = ToSamples8(pcm[1] + done);
            _mm_storeu_si128(to++, _mm_unpacklo_epi16(left, right));
            _mm_storeu_si128(to++, _mm_unpackhi_epi16(left, right));
        }
    }
#endif
    for (int c = 0; c < channels; ++c)
        for (int i = done; i < frames; ++i) out[static_cast<std::size_t>(i) * channels + c] = ToSample(pcm[c][i]);
}

// Decodes every frame into one growing buffer of 16-bit samples. There is
// always room for a whole chunk of 4096 frames (more than one Vorbis frame
// can hold), so no frame is ever cut short.
short* DecodeFrames(stb_vorbis* decoder, int channels, int* frames) {
    const std::size_t chunk = static_cast<std::size_t>(channels) * 4096;
    std::size_t capacity = chunk * 16, used = 0;
    auto* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    *frames = 0;
    while (buffer) {
        float** pcm = nullptr;
        int n = stb_vorbis_get_frame_float(decoder, nullptr, &pcm);
        if (n <= 0) break;
        n = std::min(n, 4096);
        Interleave(pcm, channels, n, buffer + used);
        *frames += n;
        used += static_cast<std::size_t>(channels) * n;
        if (*frames > INT_MAX - 8192) break;  // the frame count is an int
        if (used + chunk > capacity) {
            capacity *= 2;
            auto* grown = static_cast<short*>(std::realloc(buffer, capacity * sizeof(short)));
            if (!grown) std::free(buffer);
            buffer = grown;
        }
    }
    return buffer;
}

// --- Formats by file-name ending ---

typedef unsigned char* (*AudioLoader)(std::FILE*, int*, int*, int*, int*);

struct AudioFormat {
    const char* ending;
    AudioLoader load;
};

const AudioFormat kAudioFormats[] = {{".wav", LoadWAV}, {".ogg", LoadOGG}};

}  // namespace

// --- WAV fields and files ---

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

// --- Whole-file Ogg Vorbis decoding ---

unsigned char* LoadOGG(std::FILE* f, int* frameCount, int* channelCount, int* bytesPerSample,
                       int* sampleRate) {
    std::vector<unsigned char> file;
    if (!ReadAll(f, &file)) return nullptr;
    const std::size_t intact = IntactFirstStream(file.data(), file.size());
    if (intact == 0 || intact > INT_MAX || !HeadersAccepted(file.data(), intact)) return nullptr;

    std::vector<char> arena;
    stb_vorbis* decoder = nullptr;
    for (int size = kFirstArena; !decoder && size <= kLargestArena; size *= 4) {
        arena.resize(static_cast<std::size_t>(size));
        const stb_vorbis_alloc block = {arena.data(), size};
        int error = 0;
        decoder = stb_vorbis_open_memory(file.data(), static_cast<int>(intact), &error, &block);
        if (!decoder && error != VORBIS_outofmem) return nullptr;
    }
    if (!decoder) return nullptr;
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    int frames = 0;
    short* samples = info.channels > 0 && info.sample_rate <= INT_MAX
                         ? DecodeFrames(decoder, info.channels, &frames)
                         : nullptr;
    stb_vorbis_close(decoder);
    if (!samples) return nullptr;

    *frameCount = frames;
    *channelCount = info.channels;
    *bytesPerSample = 2;
    *sampleRate = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(samples);
}

// --- The host's choice by ending ---

unsigned char* KrDecodeAudio(KrGame* host, String path, int* frameCount, int* channelCount,
                             int* bytesPerSample, int* sampleRate) {
    std::FILE* f = host->OpenFile(path, String("rb"));
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
