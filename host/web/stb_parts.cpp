// SPDX-License-Identifier: Zlib
// The stb decoders and the PNG writer, compiled into the WebAssembly build,
// which cannot link the system's stb library.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
// Without STB_VORBIS_HEADER_ONLY the header holds the decoder itself.
#include <stb_vorbis.h>
