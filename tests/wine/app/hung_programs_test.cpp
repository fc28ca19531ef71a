// A messenger that stops answering must not take Tunewick down with it: every other
// messenger still gets each record, and Tunewick's own window keeps answering.

#include "scenario.h"

namespace tunewick::e2e {
namespace {

class HungMessengerScenario : public Scenario {};

// How long Tunewick may wait for one messenger, and a margin for Wine on a busy machine.
constexpr Milliseconds kSendBound = 2s;
constexpr Milliseconds kMargin = 1500ms;

bool AnswersWithin(HWND window, Milliseconds bound) {
    wchar_t caption[64] = {};
    DWORD_PTR copied = 0;
    return SendMessageTimeoutW(window, WM_GETTEXT, std::size(caption),
                               reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG,
                               static_cast<UINT>(bound.count()), &copied) != 0 &&
           copied > 0;
}

TEST_F(HungMessengerScenario, TheOtherMessengerGetsEveryRecordAndTunewickKeepsAnswering) {
    WriteSettings("[Defaults]\r\nFormat={0} - {1}\r\n");
    auto healthy = StartMessenger({.caption = u"Healthy", .position = POINT{0, 0}});
    // It logs each record, then sleeps in its handler far longer than Tunewick waits.
    auto hung = StartMessenger({.caption = u"Hung", .sleepMs = 9000, .position = POINT{0, 300}});
    auto app = StartTunewick();
    ASSERT_TRUE(healthy && hung && app);
    // The hung one first in the walk, so that the walk has to go on past it.
    SetWindowPos(hung->Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(FindTopLevelWindows({.className = u"MsnMsgrUIManager"}).front(), hung->Window());

    HWND set = app->Button(u"Set");
    HWND artistBox = app->BoxBeside(u"Artist");
    HWND songBox = app->BoxBeside(u"Song Name");
    ASSERT_TRUE(set && artistBox && songBox);

    const struct {
        Text artist;
        Text song;
    } sends[] = {{u"Band One", u"Song One"}, {u"Band Two", u"Song Two"}};
    for (std::size_t i = 0; i < std::size(sends); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(SetText(artistBox, sends[i].artist));
        ASSERT_TRUE(SetText(songBox, sends[i].song));
        // Posted: the click's handler may wait on the hung messenger longer than a sent
        // click is given.
        const auto clicked = Clock::now();
        ASSERT_TRUE(PostClick(set));
        const auto records = healthy->WaitForRecords(i + 1, kSendBound + kMargin);
        const auto took = Clock::now() - clicked;
        ASSERT_EQ(records.size(), i + 1) << "after " << Ms(took) << " ms";
        EXPECT_EQ(records[i], NowPlayingRecord(sends[i].song, sends[i].artist, u"{0} - {1}", true));
        EXPECT_TRUE(AnswersWithin(app->MainWindow(), 1s)) << "Tunewick's window hangs";
    }
    // It did take the first record before it hung.
    EXPECT_FALSE(hung->Records().empty());
}

}  // namespace
}  // namespace tunewick::e2e
