// String values: construction, number formatting, comparison, Slice, Split,
// Replace, ToLower, ToInt, sharing of Reps.
#include <gtest/gtest.h>

#include <climits>

#include "tests/runtime/string_helpers.h"

namespace runtime_tests {
namespace {

using Strings = std::vector<std::string>;

TEST(String, EmptyStringsShareTheStaticRep) {
    const Char units[] = {'a'};
    const wchar_t wide[] = {L'a'};
    const unsigned char bytes[] = {'a'};
    for (const String& s : {String(), String(""), String(units, 0), String(wide, 0), String(bytes, 0),
                            String("abc").Slice(2, 2)}) {
        EXPECT_EQ(s.Length(), 0);
        EXPECT_EQ(s.GetRep(), &String::nullRep);
    }
}

TEST(String, Constructors) {
    const wchar_t wide[] = {L'h', 0x20ac, L'!'};
    EXPECT_EQ(Units(String(wide, 3)), (std::vector<int>{'h', 0x20ac, '!'}));
    const unsigned char latin[] = {0x41, 0xe9, 0xff};
    EXPECT_EQ(Units(String(latin, 3)), (std::vector<int>{0x41, 0xe9, 0xff}));
    EXPECT_EQ(Ascii(String("plain")), "plain");
}

TEST(String, IntegerFormatting) {
    const std::pair<int, const char*> cases[] = {
        {0, "0"}, {-3, "-3"}, {42, "42"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(Ascii(String(value)), text) << value;
}

TEST(String, FloatFormatting) {
    const std::pair<float, const char*> cases[] = {
        {1.0f, "1.0"},
        {2.0f, "2.0"},
        {0.5f, "0.5"},
        {0.1f, "0.10000000149011612"},
        {-3.0f, "-3.0"},
        {0.0f, "0.0"},
        {1e20f, "1.0000000200408773e+20"},
        {16777216.0f, "16777216.0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(Ascii(String(value)), text) << text;
}

TEST(String, ConcatenationSharesAnEmptySide) {
    String a("ab"), b("c"), empty;
    EXPECT_EQ(Ascii(a + b), "abc");
    EXPECT_TRUE((a + empty).SameRep(a));
    EXPECT_TRUE((empty + b).SameRep(b));
    EXPECT_EQ(Ascii("x" + b), "xc");
    String c = a;
    c += b;
    EXPECT_EQ(Ascii(c), "abc");
    EXPECT_EQ(Ascii(a), "ab");
}

TEST(String, CopiesShareTheRepAndCountIt) {
    String a("shared");
    const String::Rep* rep = a.GetRep();
    {
        String b = a;
        String c;
        c = b;
        EXPECT_TRUE(c.SameRep(a));
        EXPECT_EQ(rep->refCount, 3);
        c = c;  // self-assignment keeps the count
        EXPECT_EQ(rep->refCount, 3);
    }
    EXPECT_EQ(rep->refCount, 1);
}

TEST(String, EqualityAndAffixes) {
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_FALSE(String("abc") == String("abd"));
    EXPECT_FALSE(String("ab") == String("abc"));
    EXPECT_TRUE(String() == String(""));
    String s("abcdef");
    EXPECT_TRUE(s.StartsWith(String("abc")));
    EXPECT_FALSE(s.StartsWith(String("abd")));
    EXPECT_TRUE(s.EndsWith(String("def")));
    EXPECT_FALSE(s.EndsWith(String("cde")));
    EXPECT_TRUE(s.StartsWith(String()));
    EXPECT_TRUE(s.EndsWith(String()));
    EXPECT_FALSE(String("ab").StartsWith(String("abc")));
    EXPECT_FALSE(String("bc").EndsWith(String("abc")));
}

struct SliceCase {
    int from, term;
    const char* result;
};

TEST(String, SliceIndexRules) {
    const String s("abcdef");
    const SliceCase cases[] = {
        {-3, INT_MAX, "def"}, {2, -1, "cde"}, {4, 2, ""},    {3, 3, ""},     {-10, 2, "ab"},
        {1, 100, "bcdef"},    {7, 9, ""},     {0, -6, ""},   {-2, -1, "e"},  {0, -10, ""},
    };
    for (const SliceCase& c : cases) {
        String r = c.term == INT_MAX ? s.Slice(c.from) : s.Slice(c.from, c.term);
        EXPECT_EQ(Ascii(r), c.result) << c.from << ", " << c.term;
    }
}

TEST(String, FullSliceIsTheSameRep) {
    const String s("abcdef");
    EXPECT_TRUE(s.Slice(0).SameRep(s));
    EXPECT_TRUE(s.Slice(-6).SameRep(s));
    EXPECT_TRUE(s.Slice(-100, 100).SameRep(s));
    EXPECT_FALSE(s.Slice(1).SameRep(s));
}

struct SplitCase {
    const char* text;
    const char* sep;
    Strings pieces;
};

TEST(String, Split) {
    const SplitCase cases[] = {
        {",a,,b,", ",", {"", "a", "", "b", ""}},
        {"abc", "", {"a", "b", "c"}},
        {"", ",", {""}},
        {"", "", {}},
        {"a::b::::c", "::", {"a", "b", "", "c"}},
        {"aaa", "aa", {"", "a"}},
        {"no separator", ";", {"no separator"}},
        {"x", "longer than x", {"x"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(Pieces(String(c.text).Split(String(c.sep))), c.pieces) << c.text << " / " << c.sep;
    }
}

TEST(String, SplitWithoutSeparatorHoldsTheStringItself) {
    String s("whole");
    Array<String> pieces = s.Split(String("|"));
    ASSERT_EQ(pieces.Length(), 1);
    EXPECT_TRUE(pieces[0].SameRep(s));
    EXPECT_TRUE(String().Split(String()).IsEmptyRep());
}

struct ReplaceCase {
    const char* text;
    const char* find;
    const char* repl;
    const char* result;
};

TEST(String, Replace) {
    const ReplaceCase cases[] = {
        {"aaa", "aa", "b", "ba"},
        {"a.b.c", ".", "::", "a::b::c"},
        {"abcabc", "abc", "", ""},
        {"xyz", "y", "", "xz"},
        {"ab", "ab", "abab", "abab"},
        {"start middle end", "start", "S", "S middle end"},
        {"", "a", "b", ""},
    };
    for (const ReplaceCase& c : cases) {
        EXPECT_EQ(Ascii(String(c.text).Replace(String(c.find), String(c.repl))), c.result)
            << c.text << " / " << c.find;
    }
}

TEST(String, ReplaceWithoutMatchOrWithEmptyFindIsTheSameRep) {
    String s("unchanged");
    EXPECT_TRUE(s.Replace(String("zz"), String("y")).SameRep(s));
    EXPECT_TRUE(s.Replace(String(), String("y")).SameRep(s));
}

// 65,536 single units each replaced by 32,769 units: the result would need
// 2^31 + 65,536 units, more than an int can count.
TEST(StringDeathTest, ReplaceLongerThanAnIntCanCountStopsWithAMessage) {
    std::vector<Char> many(65536, 'a');
    std::vector<Char> wide(32769, 'b');
    String text(many.data(), static_cast<int>(many.size()));
    String repl(wide.data(), static_cast<int>(wide.size()));
    EXPECT_DEATH(text.Replace(String("a"), repl), "String: too long");
    // A growth that fits keeps its exact length: 65,536 + 65,536 x 2 units.
    std::vector<Char> three(3, 'c');
    EXPECT_EQ(text.Replace(String("a"), String(three.data(), 3)).Length(), 3 * 65536);
}

TEST(String, ToLower) {
    EXPECT_EQ(Ascii(String("MiXeD 123 [Z]").ToLower()), "mixed 123 [z]");
    // Only A to Z change, as the C library's tolower in its default locale.
    String accented = FromUnits({0xc9, 'A', 0x391});
    EXPECT_EQ(Units(accented.ToLower()), (std::vector<int>{0xc9, 'a', 0x391}));
    String lower("already lower");
    EXPECT_TRUE(lower.ToLower().SameRep(lower));
}

TEST(String, ToInt) {
    const std::pair<const char*, int> cases[] = {
        {" 42abc", 42}, {"", 0}, {"abc", 0}, {"-17", -17}, {"+8", 8}, {"  \t 3 4", 3}, {"0x1f", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(String(text).ToInt(), value) << text;
}

TEST(String, ToIntReadsOnlyTheLowBytesOfTheFirst63Units) {
    // 0x0135 narrows to '5'.
    EXPECT_EQ(FromUnits({'1', 0x0135}).ToInt(), 15);
    std::string padded(62, ' ');
    EXPECT_EQ(String((padded + "7").c_str()).ToInt(), 7);
    EXPECT_EQ(String((padded + " 7").c_str()).ToInt(), 0);
}

TEST(String, CompareOrdersByUnits) {
    EXPECT_LT(String("abc").Compare(String("abd")), 0);
    EXPECT_GT(String("b").Compare(String("abc")), 0);
    EXPECT_LT(String("ab").Compare(String("abc")), 0);
    EXPECT_EQ(String("same").Compare(String("same")), 0);
}

TEST(String, FindStartsAtTheGivenPosition) {
    String s("abcabc");
    EXPECT_EQ(s.Find(String("bc")), 1);
    EXPECT_EQ(s.Find(String("bc"), 2), 4);
    EXPECT_EQ(s.Find(String("bc"), -5), 1);
    EXPECT_EQ(s.Find(String("bc"), 5), -1);
    EXPECT_EQ(s.Find(String("zz")), -1);
}

}  // namespace
}  // namespace runtime_tests
