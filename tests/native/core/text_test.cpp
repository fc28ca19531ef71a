#include "core/text.h"

#include <gtest/gtest.h>

#include "utf8.h"

namespace tunewick {
namespace {

TEST(TrimSpaces, RemovesOnlySpacesAtTheEnds) {
    EXPECT_EQ(TrimSpaces(u"  a b  "), u"a b");
    EXPECT_EQ(TrimSpaces(u"\ta\t"), u"\ta\t");
    EXPECT_EQ(TrimSpaces(u"   "), u"");
    EXPECT_EQ(TrimSpaces(u""), u"");
}

TEST(LowerAscii, LowersOnlyLatinCapitals) {
    EXPECT_EQ(LowerAscii(u"Minimize_Startup"), u"minimize_startup");
    EXPECT_EQ(LowerAscii(u"\u00c9@[Z"), u"\u00c9@[z");
}

TEST(Utf8, RoundTripsEveryPlane) {
    const Text text = u"Sigur R\u00f3s \u3072\u3089\u304c\u306a \U0001F3B5";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"\u00f3"), "\xC3\xB3");
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("a\xE3\x81"), u"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xC3(x"), u"\uFFFD(x");
    EXPECT_EQ(ToUtf8(Text(1, u'\xD800')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tunewick
