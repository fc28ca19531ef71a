#include "ui/help_text.h"

#include <gtest/gtest.h>

namespace tunewick {
namespace {

TEST(HelpText, HasLinesTheEditControlBreaksAndQuotesInDoubledApostrophes) {
    const TextView text = kHelpText;
    ASSERT_FALSE(text.empty());
    // A multi-line edit control breaks lines at CR LF only.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "CR alone at " << i;
        } else if (text[i] == u'\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << "LF alone at " << i;
        }
    }
    EXPECT_NE(text.back(), u'\n');
    EXPECT_EQ(text.find(u'"'), TextView::npos);
    EXPECT_NE(text.find(u"''Activate''"), TextView::npos);
}

}  // namespace
}  // namespace tunewick
