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
// Ogg Vorbis files are decoded by the reference decoder (libvorbisfile). It
// checks every page's checksum and every header's lengths and counts before
// it trusts them, so a damaged file gives none, or the samples of the pages
// that are intact, and a failed open frees all it allocated.
#include "host/audio_decode.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

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

// The decoder reads the caller's open file through these; it never closes
// it. Seeking lets it find the stream's end and its links up front.
std::size_t ReadOgg(void* out, std::size_t size, std::size_t count, void* file) {
    return std::fread(out, size, count, static_cast<std::FILE*>(file));
}

int SeekOgg(void* file, ogg_int64_t offset, int whence) {
    return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}

long TellOgg(void* file) { return std::ftell(static_cast<std::FILE*>(file)); }

const ov_callbacks kOggCallbacks = {ReadOgg, SeekOgg, nullptr, TellOgg};

// Frames asked of the decoder per read; a read returns at most what the
// decoder has ready from one packet, which may be fewer.
constexpr int kReadFrames = 4096;
// 64 MiB of samples: over six minutes of stereo at 44.1 kHz.
constexpr ogg_int64_t kMaxPresizedSamples = ogg_int64_t(1) << 25;
constexpr int kBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

// Decodes the first logical stream into one growing buffer of 16-bit
// samples in native byte order. A hole (a page lost to a failed checksum or
// a gap) is skipped; any other decoding error ends the stream there, keeping
// what came before it.
short* DecodeFrames(OggVorbis_File* file, int channels, int* frames) {
    const std::size_t frameBytes = static_cast<std::size_t>(channels) * sizeof(short);
    const std::size_t chunk = static_cast<std::size_t>(channels) * kReadFrames;
    // The length the last page claims sizes the buffer, so a whole file
    // decodes without growing it; a damaged file may claim anything, so the
    // claim is believed only up to a bound and the buffer grows past it.
    ogg_int64_t claimed = ov_pcm_total(file, -1);
    bool believable = claimed > 0 && claimed <= kMaxPresizedSamples / channels;
    std::size_t expected = static_cast<std::size_t>(believable ? claimed : 4 * kReadFrames);
    std::size_t capacity = expected * channels + chunk, used = 0;
    auto* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    int firstLink = -1;
    // The frame count is an int: a stream that would pass it ends there.
    const std::size_t maxUsed = (static_cast<std::size_t>(INT_MAX) - kReadFrames) * channels;
    while (buffer && used <= maxUsed) {
        if (used + chunk > capacity) {
            capacity *= 2;
            auto* grown = static_cast<short*>(std::realloc(buffer, capacity * sizeof(short)));
            if (!grown) std::free(buffer);
            buffer = grown;
            if (!buffer) break;
        }
        int link = 0;
        long got = ov_read(file, reinterpret_cast<char*>(buffer + used),
                           static_cast<int>(chunk * sizeof(short)), kBigEndian, 2, 1, &link);
        if (got == OV_HOLE) continue;
        if (got <= 0) break;
        if (firstLink < 0) firstLink = link;
        if (link != firstLink) break;  // a chained stream: only its first part
        used += static_cast<std::size_t>(got) / frameBytes * channels;
    }
    *frames = static_cast<int>(used / channels);
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
    OggVorbis_File file;
    // A failed open releases everything it took; the file stays open.
    if (ov_open_callbacks(f, &file, nullptr, 0, kOggCallbacks) != 0) return nullptr;
    const vorbis_info* info = ov_info(&file, -1);
    int channels = info ? info->channels : 0;
    // The header holds the rate in 32 unsigned bits; one beyond an int is
    // no rate any sound could have.
    long rate = info ? info->rate : 0;
    bool usable = channels > 0 && rate > 0 && rate <= INT_MAX;
    int frames = 0;
    short* samples = usable ? DecodeFrames(&file, channels, &frames) : nullptr;
    ov_clear(&file);
    if (!samples) return nullptr;

    *frameCount = frames;
    *channelCount = channels;
    *bytesPerSample = 2;
    *sampleRate = static_cast<int>(rate);
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
