// SPDX-License-Identifier: Zlib
// UTF-16 file names to UTF-8: characters of every encoded length, surrogate
// pairs joined, lone or reversed surrogates replaced, and nothing read past
// the given length.
#include <gtest/gtest.h>

#include <string>

#include "host/game.h"

namespace {

TEST(Platform, Utf16ToUtf8) {
    const struct { std::u16string text; int length; std::string utf8; } cases[] = {
        {u"A/b", 3, "A/b"},
        {u"\u00e9\u07ff\u0800\uffff", 4, "\xc3\xa9\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf"},
        {u"\U0001F600", 2, "\xf0\x9f\x98\x80"},
        {u"\U00010000\U0010FFFF", 4, "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
        {u"a\U0001F600b", 4, "a\xf0\x9f\x98\x80" "b"},
        {u"\U0001F600", 1, "\xef\xbf\xbd"},  // the pair cut by the length
        {{u'x', 0xd83d}, 2, "x\xef\xbf\xbd"},
        {{0xde00, u'y'}, 2, "\xef\xbf\xbdy"},
        {{0xde00, 0xd83d}, 2, "\xef\xbf\xbd\xef\xbf\xbd"},  // reversed
        {{0xd83d, 0xd83d, 0xde00}, 3, "\xef\xbf\xbd\xf0\x9f\x98\x80"},
        {u"", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.utf8));
        EXPECT_EQ(kr_utf16_to_utf8(c.text.data(), c.length), c.utf8);
    }
}

}  // namespace
