#include "core/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tunewick
