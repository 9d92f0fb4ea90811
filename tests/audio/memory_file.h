// Decoded sound blocks and in-memory files for the decoding tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/audio_decode.h"

namespace soundfiles {

// A read-only FILE over a copy of some bytes, closed when the object goes.
class MemoryFile {
public:
    explicit MemoryFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
        // fmemopen refuses a zero-length buffer: an empty file is one byte
        // already read.
        bool empty = bytes_.empty();
        if (empty) bytes_.push_back(0);
        file_ = fmemopen(bytes_.data(), bytes_.size(), "rb");
        if (file_ && empty) std::fgetc(file_);
    }
    ~MemoryFile() {
        if (file_) std::fclose(file_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    std::FILE* get() const { return file_; }

private:
    std::vector<unsigned char> bytes_;
    std::FILE* file_ = nullptr;
};

// One loader's result; frees the block.
struct Decoded {
    unsigned char* data = nullptr;
    int frames = -1, channels = -1, bytesPerSample = -1, rate = -1;

    Decoded() = default;
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;
    ~Decoded() { std::free(data); }
};

typedef unsigned char* (*Loader)(std::FILE*, int*, int*, int*, int*);

inline void Decode(Loader load, const std::vector<unsigned char>& bytes, Decoded* out) {
    MemoryFile file(bytes);
    out->data = load(file.get(), &out->frames, &out->channels, &out->bytesPerSample, &out->rate);
}

}  // namespace soundfiles
