// Sound-file decoding for the audio device: RIFF WAVE files with integer PCM
// data, read by our own parser, and Ogg Vorbis files, decoded whole. Each
// loader reads from a file the caller opened (and closes) and returns a
// malloc'ed block of interleaved samples that the caller frees with free(),
// or null; the four outputs are written only on success.
#pragma once

#include <cstdio>

// The next four bytes as a zero-terminated string, or "" when four bytes
// cannot be read. The result lives in one static buffer that every call
// overwrites.
const char* readTag(std::FILE* f);
// The next two bytes as an unsigned little-endian value, or -1.
int readShort(std::FILE* f);
// The next four bytes as a little-endian 32-bit value, or -1.
int readInt(std::FILE* f);

// Samples as stored in the file: 8-bit data stays unsigned, 16-bit data is
// signed little-endian.
unsigned char* LoadWAV(std::FILE* f, int* frameCount, int* channelCount, int* bytesPerSample,
                       int* sampleRate);
// 16-bit signed samples in native byte order.
unsigned char* LoadOGG(std::FILE* f, int* frameCount, int* channelCount, int* bytesPerSample,
                       int* sampleRate);
