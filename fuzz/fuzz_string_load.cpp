// SPDX-License-Identifier: Zlib
// Arbitrary bytes decoded as text: String::Load must accept every byte
// sequence, and what it yields must survive a UTF-8 round trip. Reading the
// same bytes from a file must give the same string.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/runtime.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_string_load: %s\n", what);
        std::abort();
    }
}

bool HasUtf16Bom(const uint8_t* p, size_t n) {
    return n >= 2 && ((p[0] == 0xfe && p[1] == 0xff) || (p[0] == 0xff && p[1] == 0xfe));
}

String LoadFromFile(const uint8_t* data, size_t size) {
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return String();
    String s = String::Load(f);
    std::fclose(f);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const int n = static_cast<int>(size);
    String s = String::Load(data, n);

    // Every decoding yields at most one unit per byte (two for UTF-16).
    if (HasUtf16Bom(data, size)) {
        Check(s.Length() == (n - 2) / 2, "UTF-16 length");
    } else {
        Check(s.Length() <= n, "UTF-8 or Latin-1 length");
    }
    Check((s.Length() == 0) == (s.GetRep() == &String::nullRep), "empty strings share one Rep");

    // Saving and loading again gives the same text, except that a leading
    // U+FEFF is written as the byte-order mark, which loading skips.
    std::vector<unsigned char> bytes;
    s.Save(bytes);
    String again = String::Load(bytes.data(), static_cast<int>(bytes.size()));
    String expected = s.Length() > 0 && s[0] == 0xfeff ? s.Slice(1) : s;
    Check(again == expected, "UTF-8 round trip");

    if (size > 0) Check(LoadFromFile(data, size) == s, "file and buffer decode alike");
    return 0;
}
