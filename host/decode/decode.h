// SPDX-License-Identifier: Zlib
// Decoding for the devices, the same for every host: images for surfaces,
// sounds for the audio device; and PNG writing for screenshots.
//
// Sound-file decoding: RIFF WAVE files with integer PCM
// data, read by our own parser, and Ogg Vorbis files, decoded whole. Each
// loader reads from a file the caller opened (and closes) and returns a
// malloc'ed block of interleaved samples that the caller frees with free(),
// or null; the four outputs are written only on success.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class KrGame;
class String;

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

// An image file opened through the host's file access, in the file's own
// channel count (1 to 4); null when it cannot be read.
unsigned char* KrDecodeImage(KrGame* host, String path, int* width, int* height, int* bytesPerPixel);

// A sound file opened through the host's file access, decoded by its ending
// (".wav", ".ogg"); null when it cannot be read or decoded.
unsigned char* KrDecodeAudio(KrGame* host, String path, int* frameCount, int* channelCount,
                             int* bytesPerSample, int* sampleRate);

// Writes RGB rows (top row first) as a PNG file; false when the file cannot
// be written.
bool KrWritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);
