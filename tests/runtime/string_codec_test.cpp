// Text to bytes and back: Load (UTF-8, UTF-16 with a byte-order mark, the
// Latin-1 fallback), Save (UTF-8), files, and the narrow CString copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/runtime/string_helpers.h"

namespace runtime_tests {
namespace {

using Bytes = std::vector<unsigned char>;
using UnitList = std::vector<int>;

String LoadBytes(const Bytes& b) { return String::Load(b.data(), static_cast<int>(b.size())); }

Bytes SaveBytes(const String& s) {
    Bytes out;
    s.Save(out);
    return out;
}

struct LoadCase {
    const char* name;
    Bytes bytes;
    UnitList units;
};

const LoadCase kLoadCases[] = {
    {"Utf8BomThenAscii", {0xef, 0xbb, 0xbf, 0x41}, {0x41}},
    {"Utf16LittleEndian", {0xff, 0xfe, 0x41, 0x00}, {0x41}},
    {"Utf16BigEndian", {0xfe, 0xff, 0x00, 0x41}, {0x41}},
    {"Utf16OddLengthDropsTheLastByte", {0xff, 0xfe, 0x41, 0x00, 0x42}, {0x41}},
    {"Utf16BomOnly", {0xfe, 0xff}, {}},
    {"Utf16BomAndOneByte", {0xff, 0xfe, 0x41}, {}},
    {"Utf16Surrogates", {0xfe, 0xff, 0xd8, 0x3d, 0xde, 0x00}, {0xd83d, 0xde00}},
    {"TwoByteSequence", {0xc3, 0xa9}, {0xe9}},
    {"ThreeByteSequence", {0xe2, 0x82, 0xac, 0x21}, {0x20ac, 0x21}},
    {"OverlongFormIsAccepted", {0xc0, 0x80}, {0}},
    {"SurrogateRangeIsAccepted", {0xed, 0xa0, 0x80}, {0xd800}},
    {"Utf8BomOnly", {0xef, 0xbb, 0xbf}, {}},
    {"Empty", {}, {}},
    {"NulBytesAreUnits", {0x00, 0x41}, {0, 0x41}},
    // Invalid UTF-8: every byte after the byte-order mark becomes one unit.
    {"StrayContinuationByte", {0x41, 0x80}, {0x41, 0x80}},
    {"FourByteSequence", {0xf0, 0x9f, 0x98, 0x80}, {0xf0, 0x9f, 0x98, 0x80}},
    {"TwoByteSequenceCutOff", {0x41, 0xc3}, {0x41, 0xc3}},
    {"ThreeByteSequenceCutOff", {0xe2, 0x82}, {0xe2, 0x82}},
    {"WrongContinuationByte", {0xc3, 0x41}, {0xc3, 0x41}},
    {"WrongSecondContinuation", {0xe2, 0x82, 0x41}, {0xe2, 0x82, 0x41}},
    {"BomThenInvalid", {0xef, 0xbb, 0xbf, 0xe9, 0x74, 0xe9}, {0xe9, 0x74, 0xe9}},
    {"LoneBomByteIsLatin1", {0xfe}, {0xfe}},
    {"ValidThenInvalidLater", {0xc3, 0xa9, 0x41, 0xff}, {0xc3, 0xa9, 0x41, 0xff}},
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class StringLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(StringLoad, Decodes) {
    const LoadCase& c = GetParam();
    String s = LoadBytes(c.bytes);
    EXPECT_EQ(Units(s), c.units);
    if (c.units.empty()) EXPECT_EQ(s.GetRep(), &String::nullRep);
}

INSTANTIATE_TEST_SUITE_P(Bytes, StringLoad, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SaveCase {
    int unit;
    Bytes bytes;
};

TEST(StringSave, EncodesEachUnitByItself) {
    const SaveCase cases[] = {
        {0x41, {0x41}},
        {0x7f, {0x7f}},
        {0x80, {0xc2, 0x80}},
        {0xe9, {0xc3, 0xa9}},
        {0x7ff, {0xdf, 0xbf}},
        {0x800, {0xe0, 0xa0, 0x80}},
        {0x20ac, {0xe2, 0x82, 0xac}},
        {0xd83d, {0xed, 0xa0, 0xbd}},  // surrogates are not joined
        {0xffff, {0xef, 0xbf, 0xbf}},
        {0, {0x00}},
    };
    for (const SaveCase& c : cases) EXPECT_EQ(SaveBytes(FromUnits({c.unit})), c.bytes) << c.unit;
}

TEST(StringSave, AppendsWithoutByteOrderMark) {
    Bytes out = {0x01};
    FromUnits({'a', 0xe9}).Save(out);
    EXPECT_EQ(out, (Bytes{0x01, 'a', 0xc3, 0xa9}));
    EXPECT_TRUE(SaveBytes(String()).empty());
}

TEST(StringSave, RoundTripsEveryUnitExceptALeadingByteOrderMark) {
    std::vector<Char> all;
    for (int u = 1; u <= 0xffff; ++u) {
        if (u != 0xfeff) all.push_back(static_cast<Char>(u));
    }
    String every(all.data(), static_cast<int>(all.size()));
    EXPECT_TRUE(LoadBytes(SaveBytes(every)) == every);

    // A leading U+FEFF is written as the UTF-8 byte-order mark, which Load
    // skips; one further down is kept.
    String marked = FromUnits({0xfeff, 'a', 0xfeff});
    EXPECT_EQ(Units(LoadBytes(SaveBytes(marked))), (UnitList{'a', 0xfeff}));
}

// A temporary file unique to this test process.
class TempFile {
public:
    TempFile() {
        char name[] = "/tmp/vornhelm_string_XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        path_ = name;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

    void Write(const Bytes& bytes) const {
        std::FILE* f = std::fopen(path(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    Bytes Read() const {
        Bytes bytes;
        std::FILE* f = std::fopen(path(), "rb");
        if (!f) return bytes;
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
        return bytes;
    }

private:
    std::string path_;
};

String LoadFile(const TempFile& file) {
    std::FILE* f = std::fopen(file.path(), "rb");
    if (!f) return String("<unopened>");
    String s = String::Load(f);
    std::fclose(f);
    return s;
}

TEST(StringFile, LoadReadsAcrossBlockBoundaries) {
    // 4,095 ASCII bytes put a two-byte sequence across the first block edge;
    // exactly 8,192 bytes end on a block edge with an empty last read.
    for (int ascii : {4095, 8190}) {
        Bytes bytes(ascii, 'x');
        bytes.push_back(0xc3);
        bytes.push_back(0xa9);
        TempFile file;
        file.Write(bytes);
        String s = LoadFile(file);
        ASSERT_EQ(s.Length(), ascii + 1);
        EXPECT_EQ(s[ascii], 0xe9);
        EXPECT_EQ(s[0], 'x');
    }
}

TEST(StringFile, LoadOfEmptyFileIsEmpty) {
    TempFile file;
    file.Write({});
    EXPECT_EQ(LoadFile(file).GetRep(), &String::nullRep);
}

TEST(StringFile, LoadReadsFromTheCurrentPosition) {
    TempFile file;
    file.Write({'a', 'b', 'c'});
    std::FILE* f = std::fopen(file.path(), "rb");
    ASSERT_NE(f, nullptr);
    std::fgetc(f);
    EXPECT_EQ(Ascii(String::Load(f)), "bc");
    std::fclose(f);
}

TEST(StringFile, SaveWritesUtf8) {
    TempFile file;
    std::FILE* f = std::fopen(file.path(), "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(FromUnits({'a', 0x20ac}).Save(f));
    EXPECT_TRUE(String().Save(f));
    std::fclose(f);
    EXPECT_EQ(file.Read(), (Bytes{'a', 0xe2, 0x82, 0xac}));
}

TEST(StringFile, SaveReportsAFailedWrite) {
    TempFile file;
    std::FILE* f = std::fopen(file.path(), "rb");  // not open for writing
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(String("data").Save(f));
    EXPECT_TRUE(String().Save(f));  // nothing to write: nothing can fail
    std::fclose(f);
}

TEST(CString, NarrowsEachUnitToItsLowByte) {
    String::CString<char> text(FromUnits({'a', 0x0142, 0xe9}));
    EXPECT_EQ(std::string(text.c_str()), "aB\xe9");
    String::CString<char> empty{String()};
    EXPECT_STREQ(empty, "");
}

TEST(CString, CopiesShareOneBlock) {
    String::CString<char> a(String("abc"));
    String::CString<char> b(a);
    String::CString<char> c(String("other"));
    EXPECT_EQ(a.c_str(), b.c_str());
    c = a;
    EXPECT_EQ(c.c_str(), a.c_str());
    c = c;
    EXPECT_STREQ(c, "abc");
}

}  // namespace
}  // namespace runtime_tests
