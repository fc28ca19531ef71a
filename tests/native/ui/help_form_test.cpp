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

TEST(HelpFormTest, LoadFillsTheTextBoxWithTheHelpText) {
    MemoryTextBox text1(u"placeholder");
    FakeHelpHost host;
    HelpForm form(text1, host);
    form.Load();
    const Text text = text1.Value();

    const TextView expectedStart =
        u"Tunewick - Help\r\n\r\n"
        u"Tunewick is a simple utility for modifying the song title/artist displayed in your "
        u"Personal Message on MSN 7.\r\n"
        u"Just load up MSN and your media player, and set a song playing. Then load Tunewick, "
        u"and hit the ''Activate'' button.\r\n"
        u"This will start a timer, which reads the current media player song, and changes your "
        u"personal message accordingly, every 5 seconds.\r\n"
        u"Please make note of the ''Format'' text box. It is fine being left as it is: {0} - {1} "
        u", but you may change it. PLEASE NOTE: It really should include both the {0} and {1} "
        u"somewhere. The {0} is the song name, and {1} is the artist.\r\n"
        u"So, for example, you could have, ''{0} is the best song that {1} has ever sung'', or "
        u"''{1} sings {0} really well''.\r\n"
        u"PLEASE REMEMBER NOT TO USE BRACKETS, ALWAYS USE ''Curly Braces''!!\r\n\r\n"
        u"The other two textboxes are for a custom song name/artist. Obviously there is no point "
        u"in setting these whilst thr Tunewick timer is activated.\r\n";
    const TextView expectedEnd = u"\r\n\r\nVantor";

    ASSERT_GT(text.size(), expectedStart.size() + expectedEnd.size());
    EXPECT_EQ(TextView(text).substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(TextView(text).substr(text.size() - expectedEnd.size()), expectedEnd);
    // The acknowledgements: one line between the two, no double quotes anywhere.
    const TextView acknowledgements = TextView(text).substr(
        expectedStart.size(), text.size() - expectedStart.size() - expectedEnd.size());
    EXPECT_FALSE(acknowledgements.empty());
    EXPECT_EQ(acknowledgements.find(u'\r'), TextView::npos);
    EXPECT_EQ(acknowledgements.find(u'\n'), TextView::npos);
    EXPECT_EQ(text.find(u'"'), Text::npos);
    EXPECT_EQ(text, HelpText());
    EXPECT_EQ(host.closed, 0);
}

TEST(HelpFormTest, OkClosesTheWindow) {
    MemoryTextBox text1;
    FakeHelpHost host;
    HelpForm form(text1, host);
    form.Dismiss();
    EXPECT_EQ(host.closed, 1);
}

}  // namespace
}  // namespace tunewick::testing
