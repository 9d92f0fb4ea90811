// SPDX-License-Identifier: Zlib
// String: the index rules of Slice, Split and Replace, ToInt, number
// formatting, identity results, Load (UTF-8, UTF-16, the Latin-1 fallback)
// and Save (UTF-8).
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

using Units = std::vector<int>;
using Bytes = std::vector<unsigned char>;

Units UnitsOf(const String& s) { return Units(s.Data(), s.Data() + s.Length()); }
std::string Ascii(const String& s) { return std::string(s.Data(), s.Data() + s.Length()); }

TEST(String, Slice) {
    const String s("abcdef");
    const struct { int from, term; const char* result; } cases[] = {
        {-3, 6, "def"}, {2, -1, "cde"}, {4, 2, ""}, {-10, 2, "ab"}, {-7, 2, "ab"}, {7, 9, ""}, {0, -10, ""}};
    for (const auto& c : cases) EXPECT_EQ(Ascii(s.Slice(c.from, c.term)), c.result) << c.from << ", " << c.term;
    EXPECT_EQ(Ascii(s.Slice(-2)), "ef");
}

TEST(String, Split) {
    const struct { const char *text, *sep; std::vector<std::string> pieces; } cases[] = {
        {",a,,b,", ",", {"", "a", "", "b", ""}}, {"abc", "", {"a", "b", "c"}}, {"", ",", {""}}, {"", "", {}},
        {"aaa", "aa", {"", "a"}}, {"x", "longer", {"x"}}};
    for (const auto& c : cases) {
        Array<String> a = String(c.text).Split(String(c.sep));
        std::vector<std::string> pieces;
        for (int i = 0; i < a.Length(); ++i) pieces.push_back(Ascii(a[i]));
        EXPECT_EQ(pieces, c.pieces) << c.text << " / " << c.sep;
    }
}

TEST(String, Replace) {
    const struct { const char *text, *find, *repl, *result; } cases[] = {
        {"aaa", "aa", "b", "ba"}, {"ab", "ab", "abab", "abab"}, {"abc", "", "x", "abc"}};
    for (const auto& c : cases) EXPECT_EQ(Ascii(String(c.text).Replace(String(c.find), String(c.repl))), c.result);
}

// 65,536 units each replaced by 32,769: 2^31 + 65,536 units, more than an int counts.
TEST(StringDeathTest, ReplaceWhoseLengthOverflowsStopsWithAMessage) {
    std::vector<Char> many(65536, 'a'), wide(32769, 'b');
    String text(many.data(), 65536), repl(wide.data(), 32769);
    EXPECT_DEATH(text.Replace(String("a"), repl), "String: too long");
}

TEST(String, ToIntAndNumberFormatting) {
    // Numbers beyond the Int range give the nearest bound.
    const std::pair<const char*, int> ints[] = {
        {" 42abc", 42}, {"", 0}, {"abc", 0}, {"-17", -17}, {"0x1f", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX}, {" -00000000000000000000000000000000000000000000000000000012", -12},
        {"000000000000000000000000000000000000000000000000000000000000000000000000009", 0}};
    for (const auto& [text, value] : ints) EXPECT_EQ(String(text).ToInt(), value) << text;
    const std::pair<float, const char*> floats[] = {
        {1.0f, "1.0"}, {0.1f, "0.10000000149011612"}, {-3.0f, "-3.0"}, {1e20f, "1.0000000200408773e+20"}};
    for (const auto& [value, text] : floats) EXPECT_EQ(Ascii(String(value)), text);
    EXPECT_EQ(Ascii(String(-3)), "-3");
}

// n: how many of the bytes are the buffer (-1: all). A sequence cut off by
// the end of the buffer makes the input invalid even when the bytes just
// past the end would complete it.
TEST(String, Load) {
    const struct { Bytes bytes; int n; Units units; } cases[] = {
        {{0xef, 0xbb, 0xbf, 0x41}, -1, {0x41}},                    // UTF-8 byte-order mark
        {{0xff, 0xfe, 0x41, 0x00}, -1, {0x41}},                    // UTF-16, little-endian
        {{0xfe, 0xff, 0xd8, 0x3d, 0xde, 0x00}, -1, {0xd83d, 0xde00}},  // UTF-16, big-endian
        {{0xff, 0xfe, 0x41, 0x00, 0x42}, -1, {0x41}},              // odd length: the last byte is dropped
        {{0xfe, 0xff, 0x00, 0x41}, 3, {}},                         // a lone last byte of UTF-16
        {{0xc3, 0xa9, 0xe2, 0x82, 0xac}, -1, {0xe9, 0x20ac}},      // two- and three-byte sequences
        // Invalid UTF-8: every byte after the byte-order mark is one unit.
        {{0x41, 0x80}, -1, {0x41, 0x80}},
        {{0xf0, 0x9f, 0x98, 0x80}, -1, {0xf0, 0x9f, 0x98, 0x80}},
        {{0xef, 0xbb, 0xbf, 0xe9, 0x74}, -1, {0xe9, 0x74}},
        {{0x41, 0xc3, 0xa9}, 2, {0x41, 0xc3}},
        {{0xc3, 0xa9}, 1, {0xc3}},
        {{0x41, 0xe2, 0x82, 0xac}, 3, {0x41, 0xe2, 0x82}},
        {{0x41, 0xe2, 0x82, 0xac}, 2, {0x41, 0xe2}},
        {{0xef, 0xbb, 0xbf, 0xc3, 0xa9}, 4, {0xc3}},
    };
    for (const auto& c : cases) {
        const int n = c.n < 0 ? int(c.bytes.size()) : c.n;
        EXPECT_EQ(UnitsOf(String::Load(c.bytes.data(), n)), c.units) << n;
    }
}

TEST(String, SaveWritesUtf8) {
    const Char units[] = {0x41, 0x80, 0x7ff, 0x800, 0xd83d, 0xffff, 0};  // surrogates are not joined
    Bytes out = {0x01};                                                  // Save appends
    String(units, 7).Save(out);
    EXPECT_EQ(out, (Bytes{0x01, 0x41, 0xc2, 0x80, 0xdf, 0xbf, 0xe0, 0xa0, 0x80, 0xed, 0xa0, 0xbd, 0xef, 0xbf, 0xbf, 0}));
}

}  // namespace
