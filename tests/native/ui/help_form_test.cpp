#include "ui/help_form.h"

#include <gtest/gtest.h>

#include "form_doubles.h"

namespace tunewick::testing {
namespace {

class FakeHelpHost : public HelpFormHost {
  public:
    void Close() override { ++closed; }
    int closed = 0;
};

TEST(HelpFormTest, LoadFillsTheTextBoxWithLinesTheEditControlBreaks) {
    MemoryTextBox helpText(u"placeholder");
    FakeHelpHost host;
    HelpForm form(helpText, host);
    form.Load();
    const Text text = helpText.Value();
    EXPECT_EQ(text, HelpText());
    EXPECT_EQ(host.closed, 0);

    // A multi-line edit control breaks lines at CR LF only: a CR or an LF alone would show as
    // a mark in the text.
    ASSERT_FALSE(text.empty());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "CR alone at " << i;
        } else if (text[i] == u'\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << "LF alone at " << i;
        }
    }
    EXPECT_NE(text.back(), u'\n');
    // Quoted words stand between doubled apostrophes, never double quotes.
    EXPECT_EQ(text.find(u'"'), Text::npos);
    EXPECT_NE(text.find(u"''Activate''"), Text::npos);
}

TEST(HelpFormTest, OkClosesTheWindow) {
    MemoryTextBox helpText;
    FakeHelpHost host;
    HelpForm form(helpText, host);
    form.Dismiss();
    EXPECT_EQ(host.closed, 1);
}

}  // namespace
}  // namespace tunewick::testing
