// SPDX-License-Identifier: Zlib
#include "runtime/string.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// --- Shared, counted character storage ---

String::Rep String::nullRep = {1, 0, {0}};

String::Rep* String::Rep::alloc(int length) {
    if (length <= 0) {
        nullRep.retain();
        return &nullRep;
    }
    Rep* rep = static_cast<Rep*>(std::malloc(offsetof(Rep, data) + sizeof(Char) * length));
    if (!rep) {
        std::fputs("String: out of memory\n", stderr);
        std::abort();
    }
    rep->refCount = 1;
    rep->length = length;
    return rep;
}

namespace {

// A result longer than an int can count would wrap around and be written
// through a block far too small; stop with a clear message instead.
int CheckedLength(long long length) {
    if (length > INT_MAX) {
        std::fputs("String: too long\n", stderr);
        std::abort();
    }
    return static_cast<int>(length);
}

}  // namespace

void String::Rep::release() {
    // Only the shared empty Rep has length 0, and it is never freed.
    if (--refCount == 0 && this != &nullRep) std::free(this);
}

// --- Construction and assignment ---

String::String(const Char* p, int n) : rep_(Rep::alloc(n)) {
    if (n > 0) std::memcpy(rep_->data, p, sizeof(Char) * n);
}

String::String(const wchar_t* p, int n) : rep_(Rep::alloc(n)) {
    for (int i = 0; i < n; ++i) rep_->data[i] = static_cast<Char>(p[i]);
}

String::Rep* String::AsciiRep(const char* p) {
    Rep* rep = Rep::alloc(static_cast<int>(std::strlen(p)));
    for (int i = 0; i < rep->length; ++i) rep->data[i] = static_cast<unsigned char>(p[i]);
    return rep;
}

String::String(const char* p) : rep_(AsciiRep(p)) {}

String::String(const unsigned char* p, int n) : rep_(Rep::alloc(n)) {
    for (int i = 0; i < n; ++i) rep_->data[i] = p[i];
}

String::String(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", n);
    rep_ = AsciiRep(buf);
}

String::String(float n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17lg", static_cast<double>(n));
    if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::strcat(buf, ".0");
    rep_ = AsciiRep(buf);
}

String& String::operator=(const String& s) {
    s.rep_->retain();
    rep_->release();
    rep_ = s.rep_;
    return *this;
}

String& String::operator=(String&& s) noexcept {
    if (this != &s) {
        rep_->release();
        rep_ = s.rep_;
        s.rep_ = &nullRep;
        nullRep.retain();
    }
    return *this;
}

// --- Joining two strings ---

String String::operator+(const String& b) const {
    if (Length() == 0) return b;
    if (b.Length() == 0) return *this;
    Rep* rep = Rep::alloc(CheckedLength(static_cast<long long>(Length()) + b.Length()));
    std::memcpy(rep->data, rep_->data, sizeof(Char) * Length());
    std::memcpy(rep->data + Length(), b.rep_->data, sizeof(Char) * b.Length());
    return String(rep);
}

String operator+(const char* a, const String& b) { return String(a) + b; }

// --- Comparing and searching ---

bool String::operator==(const String& b) const {
    if (rep_ == b.rep_) return true;
    return Length() == b.Length() && std::memcmp(rep_->data, b.rep_->data, sizeof(Char) * Length()) == 0;
}

int String::Compare(const String& b) const {
    int n = Length() < b.Length() ? Length() : b.Length();
    for (int i = 0; i < n; ++i) {
        int d = static_cast<int>(rep_->data[i]) - static_cast<int>(b.rep_->data[i]);
        if (d) return d;
    }
    return Length() - b.Length();
}

bool String::StartsWith(const String& s) const {
    if (s.Length() > Length()) return false;
    return std::memcmp(rep_->data, s.rep_->data, sizeof(Char) * s.Length()) == 0;
}

bool String::EndsWith(const String& s) const {
    if (s.Length() > Length()) return false;
    return std::memcmp(rep_->data + Length() - s.Length(), s.rep_->data, sizeof(Char) * s.Length()) == 0;
}

int String::Find(const String& s, int start) const {
    if (start < 0) start = 0;
    int n = s.Length();
    for (int i = start; i + n <= Length(); ++i) {
        if (std::memcmp(rep_->data + i, s.rep_->data, sizeof(Char) * n) == 0) return i;
    }
    return -1;
}

// --- Slicing, splitting and replacing ---

String String::Slice(int from, int term) const {
    int len = Length();
    if (from < 0) {
        from += len;
        if (from < 0) from = 0;
    } else if (from > len) {
        from = len;
    }
    if (term < 0) {
        term += len;
    } else if (term > len) {
        term = len;
    }
    if (from >= term) return String();
    if (from == 0 && term == len) return *this;
    return String(rep_->data + from, term - from);
}

Array<String> String::Split(const String& sep) const {
    int len = Length();
    if (sep.Length() == 0) {
        Array<String> pieces(len);
        for (int i = 0; i < len; ++i) pieces[i] = String(rep_->data + i, 1);
        return pieces;
    }
    int count = 0;
    for (int i = Find(sep); i != -1; i = Find(sep, i + sep.Length())) ++count;
    Array<String> pieces(count + 1);
    if (count == 0) {
        pieces[0] = *this;
        return pieces;
    }
    int start = 0;
    for (int k = 0; k < count; ++k) {
        int at = Find(sep, start);
        pieces[k] = String(rep_->data + start, at - start);
        start = at + sep.Length();
    }
    pieces[count] = String(rep_->data + start, len - start);
    return pieces;
}

String String::Replace(const String& find, const String& repl) const {
    int n = find.Length();
    if (n == 0) return *this;
    int count = 0;
    for (int i = Find(find); i != -1; i = Find(find, i + n)) ++count;
    if (count == 0) return *this;

    int total = CheckedLength(Length() + static_cast<long long>(count) * (repl.Length() - n));
    Rep* rep = Rep::alloc(total);
    Char* out = rep->data;
    int start = 0;
    for (int at = Find(find); at != -1; at = Find(find, start)) {
        std::memcpy(out, rep_->data + start, sizeof(Char) * (at - start));
        out += at - start;
        std::memcpy(out, repl.rep_->data, sizeof(Char) * repl.Length());
        out += repl.Length();
        start = at + n;
    }
    std::memcpy(out, rep_->data + start, sizeof(Char) * (Length() - start));
    return String(rep);
}

// --- Case and number conversion ---

String String::ToLower() const {
    for (int i = 0; i < Length(); ++i) {
        Char c = rep_->data[i];
        if (c >= 'A' && c <= 'Z') {
            Rep* rep = Rep::alloc(Length());
            std::memcpy(rep->data, rep_->data, sizeof(Char) * Length());
            for (int j = i; j < Length(); ++j) {
                Char d = rep->data[j];
                if (d >= 'A' && d <= 'Z') rep->data[j] = d + ('a' - 'A');
            }
            return String(rep);
        }
    }
    return *this;
}

int String::ToInt() const {
    char buf[64];
    int n = Length() < 63 ? Length() : 63;
    for (int i = 0; i < n; ++i) buf[i] = static_cast<char>(rep_->data[i] & 0xff);
    buf[n] = 0;
    // atoi's reading, but a number beyond the Int range gives the nearest
    // bound (atoi's result is undefined there).
    long long v = std::strtoll(buf, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// --- Loading text from bytes ---

namespace {

// Decodes UTF-8 into `out`; false when the input is not valid by our rules.
bool decode_utf8(const unsigned char* p, int n, Char* out, int* units) {
    int count = 0;
    int i = 0;
    while (i < n) {
        unsigned c = p[i];
        if (c < 0x80) {
            out[count++] = static_cast<Char>(c);
            i += 1;
        } else if ((c & 0xe0) == 0xc0) {
            if (i + 1 >= n || (p[i + 1] & 0xc0) != 0x80) return false;
            out[count++] = static_cast<Char>((c & 0x1f) * 64 + (p[i + 1] & 0x3f));
            i += 2;
        } else if ((c & 0xf0) == 0xe0) {
            if (i + 2 >= n || (p[i + 1] & 0xc0) != 0x80 || (p[i + 2] & 0xc0) != 0x80) return false;
            out[count++] =
                static_cast<Char>(((c & 0x0f) * 4096 + (p[i + 1] & 0x3f) * 64 + (p[i + 2] & 0x3f)) & 0xffff);
            i += 3;
        } else {
            return false;
        }
    }
    *units = count;
    return true;
}

}  // namespace

String String::Load(const unsigned char* p, int n) {
    if (n >= 2 && ((p[0] == 0xfe && p[1] == 0xff) || (p[0] == 0xff && p[1] == 0xfe))) {
        bool bigEndian = p[0] == 0xfe;
        int units = (n - 2) / 2;
        if (units == 0) return String();
        Rep* rep = Rep::alloc(units);
        for (int i = 0; i < units; ++i) {
            unsigned a = p[2 + 2 * i], b = p[3 + 2 * i];
            rep->data[i] = static_cast<Char>(bigEndian ? (a << 8 | b) : (b << 8 | a));
        }
        return String(rep);
    }
    if (n >= 3 && p[0] == 239 && p[1] == 187 && p[2] == 191) {
        p += 3;
        n -= 3;
    }
    if (n <= 0) return String();
    // UTF-8 never yields more units than bytes.
    Rep* rep = Rep::alloc(n);
    int units = 0;
    if (!decode_utf8(p, n, rep->data, &units)) {
        for (int i = 0; i < n; ++i) rep->data[i] = p[i];
        return String(rep);
    }
    if (units == 0) {
        rep->release();
        return String();
    }
    if (units == n) return String(rep);
    String s(rep->data, units);
    rep->release();
    return s;
}

String String::Load(std::FILE* f) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, f);
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block) break;
    }
    if (bytes.empty()) return String();
    return Load(bytes.data(), static_cast<int>(bytes.size()));
}

// --- Saving as UTF-8 ---

void String::Save(std::vector<unsigned char>& out) const {
    for (int i = 0; i < Length(); ++i) {
        unsigned c = rep_->data[i];
        if (c < 0x80) {
            out.push_back(static_cast<unsigned char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<unsigned char>(0xc0 | (c >> 6)));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3f)));
        } else {
            out.push_back(static_cast<unsigned char>(0xe0 | (c >> 12)));
            out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3f)));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3f)));
        }
    }
}

bool String::Save(std::FILE* f) const {
    std::vector<unsigned char> bytes;
    Save(bytes);
    if (bytes.empty()) return true;
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// --- Array element construction ---

void t_create(int n, String* p) {
    for (int i = 0; i < n; ++i) new (p + i) String();
}

void t_create(int n, String* p, const String* src) {
    for (int i = 0; i < n; ++i) new (p + i) String(src[i]);
}

void t_destroy(int n, String* p) {
    for (int i = 0; i < n; ++i) p[i].~String();
}
