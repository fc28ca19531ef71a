#include "settings/windows_1252.h"

#include <gtest/gtest.h>

namespace tunewick {
namespace {

TEST(Windows1252, EveryByteDecodesAndEncodesBackToItself) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const Text text = DecodeWindows1252(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(EncodeWindows1252(text), all);
}

TEST(Windows1252, DecodesTheHighControlsRangeToItsOwnCharacters) {
    struct Case {
        unsigned char byte;
        char16_t unit;
    };
    for (const auto& c : {Case{0x80, u'\u20AC'}, Case{0x81, u'\u0081'}, Case{0x8A, u'\u0160'},
                          Case{0x8D, u'\u008D'}, Case{0x8F, u'\u008F'}, Case{0x90, u'\u0090'},
                          Case{0x93, u'\u201C'}, Case{0x9D, u'\u009D'}, Case{0x9F, u'\u0178'},
                          Case{0xA0, u'\u00A0'}, Case{0xE9, u'\u00E9'}, Case{0x7F, u'\u007F'}}) {
        EXPECT_EQ(DecodeWindows1252(std::string(1, static_cast<char>(c.byte))), Text(1, c.unit))
            << std::hex << int{c.byte};
    }
}

TEST(Windows1252, WhatTheCodePageLacksBecomesAQuestionMarkPerCodeUnit) {
    EXPECT_EQ(EncodeWindows1252(u"a\u0100\u4E2D\u2019\U0001F600z"), "a??\x92??z");
    EXPECT_EQ(EncodeWindows1252(u"\u0080\u009F"), "??");  // C1 controls that 1252 redefines
    EXPECT_EQ(EncodeWindows1252(u"\xD800"), "?");         // a lone surrogate
}

}  // namespace
}  // namespace tunewick
