// SPDX-License-Identifier: Zlib
// Checks the three header packets of an Ogg Vorbis stream before a decoder
// that trusts them (stb_vorbis) reads them: every length, count and index in
// them must fit the packet and point at something that exists, the way the
// reference decoder checks them. Used where the reference decoder cannot be
// built (the WebAssembly build); pure functions over bytes in memory.
#pragma once

#include <cstddef>
#include <vector>

namespace ogg_headers {

using Packet = std::vector<unsigned char>;

// The first `count` packets of the stream that the file's first page begins,
// joined from their segments across pages; false when the bytes do not hold
// that many whole packets. Page checksums are not looked at here.
bool FirstPackets(const unsigned char* bytes, std::size_t size, int count, std::vector<Packet>* out);

// The identification header: version 0, at least one channel, a sample
// rate from 1 to INT_MAX, block sizes 64 to 8192 with the short one no
// longer than the long one, the framing bit set. *channels is set on success.
bool IdentificationValid(const Packet& packet, int* channels);

// The comment header: the vendor string and every comment inside the
// packet, the framing bit set.
bool CommentValid(const Packet& packet);

// The setup header for a stream of `channels` channels: codebooks, time
// slots, floors, residues, mappings and modes, each index in range.
bool SetupValid(const Packet& packet, int channels);

// All of the above on the start of a file.
bool HeadersValid(const unsigned char* bytes, std::size_t size);

}  // namespace ogg_headers
