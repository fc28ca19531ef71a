// Start-up into the tray, the tray icon's events and menu, second starts (at the same moment,
// while the running one closes, beside its lone options dialog), start-up beside planted DLLs,
// and the shutdown by the menu and by the end of the user's session, driven from outside as the
// shell and the user would.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "scenario.h"
#include "ui/session_start.h"

namespace tunewick::e2e {
namespace {

constexpr std::string_view kTrayWithLumbrel =
    "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=XMPlay\r\nFormat={1} sings {0}\r\n";

class TrayScenario : public Scenario {};

// The tray icon's right button, as the shell posts it, then the menu's first item ("Show",
// VK_HOME) or its last ("Close", VK_END), without waiting for what it does.
void PickFromTrayMenu(const TunewickApp& app, WORD key) {
    ASSERT_TRUE(app.PostTrayEvent(WM_RBUTTONDOWN));
    const HWND menu = WaitForPopupMenu(app.Id(), 3s);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(PostMenuKey(menu, key));
    ASSERT_TRUE(PostMenuKey(menu, VK_RETURN));
}

TEST_F(TrayScenario, StartsInTheTrayWithLumbrelAndClosesFromTheTrayMenu) {
    WriteSettings(kTrayWithLumbrel);
    auto messenger = StartMessenger();
    auto xmplay =
        StandInPlayer::Start({.className = u"xmplay-main", .caption = u"Some Band - Some Song"});
    ASSERT_TRUE(messenger && xmplay);
    const std::size_t iconsBefore = TrayIconCount();

    const auto started = Clock::now();
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    HWND main = app->MainWindow();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsBefore + 1; }, 2s))
        << TrayIconCount() << " icons, " << iconsBefore << " before";
    const HWND tray = WaitForTopLevel(
        {.className = u"__winex11_standalone_tray", .caption = u"Wine System Tray"}, 2s);
    EXPECT_TRUE(tray != nullptr && IsWindowVisible(tray));
    HWND lumbrel = app->Button(u"Deactivate Lumbrel");
    ASSERT_TRUE(lumbrel) << "the settings switch the XMPlay mode on";

    // The first tick comes one interval after start; the window never shows meanwhile.
    bool everVisible = false;
    WaitUntil(
        [&] {
            everVisible = everVisible || IsWindowVisible(main);
            return !messenger->Records().empty();
        },
        kInterval + 3 * kTickSlack, 5ms);
    const auto firstAfter = Clock::now() - started;
    EXPECT_FALSE(everVisible);
    auto records = messenger->Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], NowPlayingRecord(u"Some Song", u"Some Band", u"{1} sings {0}", true));
    EXPECT_GE(firstAfter, kInterval - kTickSlack) << Ms(firstAfter) << " ms";
    EXPECT_LE(firstAfter, kInterval + 2 * kTickSlack) << Ms(firstAfter) << " ms";

    // A single click on the icon does nothing, a double click brings the window back; "Minimize To
    // Tray" puts it away again, and the icon, already there, stays one.
    ASSERT_TRUE(app->PostTrayEvent(WM_LBUTTONDOWN));
    ASSERT_TRUE(app->PostTrayEvent(WM_LBUTTONUP));
    // Posted messages are handled in order: once this send is answered, so were they.
    ASSERT_TRUE(ReadText(main));
    EXPECT_FALSE(IsWindowVisible(main));
    ASSERT_TRUE(app->PostTrayEvent(WM_LBUTTONDBLCLK));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 2s));
    ASSERT_TRUE(Click(app->Button(u"Minimize To Tray")));
    EXPECT_TRUE(WaitForWindowGone(main, 2s, /*orHidden=*/true));
    EXPECT_EQ(TrayIconCount(), iconsBefore + 1);

    // Right button on the icon: the menu. Its last item, "Close", ends the program.
    ASSERT_NO_FATAL_FAILURE(PickFromTrayMenu(*app, VK_END));
    EXPECT_EQ(app->Process().WaitForExit(5s), 0u);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsBefore; }, 2s));
    records = messenger->Records();
    ASSERT_EQ(records.size(), 2u) << "exactly one record at shutdown";
    EXPECT_EQ(records[1], EmptyRecord(true));
}

// At 240 DPI the main window is wide enough for the pointer to cross x = 515 and 516 of its
// client area: moves there are moves, not the tray icon's double click and right button.
TEST_F(TrayScenario, AtHighDpiMovesOverTheWindowAreNoTrayEvents) {
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    HWND main = app->MainWindow();
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 2s));
    RECT client{};
    ASSERT_TRUE(GetClientRect(main, &client));
    ASSERT_GT(client.right, WM_RBUTTONDOWN) << "run at 240 DPI (TUNEWICK_WINE_DPI=240)";

    // In the right margin, beside the mode buttons: the window's own background.
    for (const int x : {514, 515, 516, 517, 516, 515}) {
        ASSERT_TRUE(MovePointerTo(main, POINT{x, client.bottom / 4})) << "x = " << x;
    }
    // Posted messages are handled in order: once this send is answered, so were the moves.
    ASSERT_TRUE(ReadText(main));
    EXPECT_EQ(WaitForPopupMenu(app->Id(), 500ms), nullptr) << "a move opened the tray menu";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
}

// A shortcut in the Startup folder, then a double click: the second start brings the running
// Tunewick forward and ends, having sent, written and switched on nothing, though its own
// settings would switch Kestrin on and add a second icon.
TEST_F(TrayScenario, ASecondStartBringsTheRunningOneForwardAndEnds) {
    auto messenger = StartMessenger();
    ASSERT_TRUE(messenger);
    const std::size_t iconsBefore = TrayIconCount();
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    HWND main = app->MainWindow();
    ASSERT_TRUE(Click(app->Button(u"Minimize To Tray")));
    ASSERT_TRUE(WaitForWindowGone(main, 2s, /*orHidden=*/true));

    auto elsewhere = TempFolder::Create(L"second");
    ASSERT_TRUE(elsewhere);
    const auto exe = PlaceTunewickIn(elsewhere->Path());
    ASSERT_TRUE(exe);
    constexpr std::string_view kItsSettings =
        "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=Winamp\r\n";
    ASSERT_TRUE(WriteFileBytes(elsewhere->Path() / L"settings.cfg", kItsSettings));
    auto second = ChildProcess::Launch(*exe, {});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->WaitForExit(5s), 0u);

    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 2s));
    EXPECT_EQ(TrayIconCount(), iconsBefore + 1);
    EXPECT_TRUE(app->Button(u"Activate Kestrin")) << "no mode changed";
    EXPECT_TRUE(messenger->Records().empty());
    EXPECT_EQ(ReadFileBytes(elsewhere->Path() / L"settings.cfg"), std::string(kItsSettings));
    EXPECT_EQ(app->Close(), 0u);
}

// The main windows of every Tunewick, shown or not.
std::size_t MainWindowCount() {
    return FindTopLevelWindows({.caption = Text(kMainCaption)}).size();
}

// A Startup-folder shortcut racing the user's double click: one runs, with its window.
TEST_F(TrayScenario, TwoStartsAtTheSameMomentLeaveOneTunewickWithItsWindow) {
    const auto exe = PlaceTunewickIn(Folder());
    ASSERT_TRUE(exe);
    auto first = ChildProcess::Launch(*exe, {});
    auto second = ChildProcess::Launch(*exe, {});
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(
        WaitUntil([&] { return !first->Running() || !second->Running(); }, kSessionWait + 3s));
    ChildProcess& running = first->Running() ? *first : *second;
    const ChildProcess& ended = first->Running() ? *second : *first;
    EXPECT_EQ(ended.WaitForExit(0ms), 0u);
    const HWND main = WaitForMainWindow(running);
    ASSERT_TRUE(main);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 2s));
    EXPECT_EQ(MainWindowCount(), 1u);
    ASSERT_TRUE(PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(running.WaitForExit(5s), 0u);
}

// "Close" from the tray while a slow messenger holds up the clearing record, and a start at
// once: the closing one says no to the request to show itself, and the start takes over.
TEST_F(TrayScenario, AStartWhileTheRunningOneClosesTakesOverOnceItHasEnded) {
    auto slow = StartMessenger({.caption = u"Slow", .sleepMs = 3000});
    auto app = StartTunewick();
    ASSERT_TRUE(slow && app);
    ASSERT_NO_FATAL_FAILURE(PickFromTrayMenu(*app, VK_END));
    ASSERT_EQ(slow->WaitForRecords(1).size(), 1u) << "the closing one waits on it from here";
    const auto exe = PlaceTunewickIn(Folder());
    ASSERT_TRUE(exe);
    auto again = ChildProcess::Launch(*exe, {});
    ASSERT_TRUE(again) << "CreateProcessW failed: " << GetLastError();

    EXPECT_EQ(app->Process().WaitForExit(5s), 0u);
    const HWND main = WaitForMainWindow(*again);
    ASSERT_TRUE(main) << "the new start ended too";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 2s));
    EXPECT_TRUE(again->Running());
    EXPECT_EQ(MainWindowCount(), 1u);
}

// The options dialog outlives the main window, as intended; the session does not: a start
// runs as if no Tunewick ran, and the dialog still ends its own program.
TEST_F(TrayScenario, AStartWithOnlyTheOptionsDialogLeftRunsWithItsOwnWindow) {
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    auto dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(PostMessageW(app->MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0));
    ASSERT_TRUE(WaitForWindowGone(app->MainWindow(), 2s));
    ASSERT_TRUE(app->Process().Running()) << "the dialog keeps its program";

    auto again = TunewickApp::Start(Folder());
    ASSERT_TRUE(again) << "no main window of the new start";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(again->MainWindow()) != FALSE; }, 2s));
    EXPECT_TRUE(IsWindowVisible(dialog->window));
    ASSERT_TRUE(Click(dialog->cancel));
    EXPECT_EQ(app->Process().WaitForExit(5s), 0u);
    EXPECT_TRUE(again->Process().Running());
    EXPECT_EQ(again->Close(), 0u);
}

// Names of system DLLs that a GUI program loads by name, directly or through another DLL's
// imports. Wine takes the first ones from the program's folder when a file lies there (it
// builds them "prefer native"; shcore comes in through shell32 and shlwapi); on Windows any
// that is not a known DLL would be.
constexpr const wchar_t* kPlantedNames[] = {
    L"shcore.dll",           L"dwmapi.dll",  L"propsys.dll", L"userenv.dll",  L"msctf.dll",
    L"uiautomationcore.dll", L"apphelp.dll", L"uxtheme.dll", L"comctl32.dll", L"shell32.dll",
    L"shlwapi.dll",          L"imm32.dll",   L"oleacc.dll",  L"version.dll",
};

// Downloads: Tunewick.exe among files nobody looked at, some named like system DLLs, and the
// same in the folder it is started from. Every window and the tray menu run; none is loaded.
TEST_F(TrayScenario, DllsPlantedBesideItAndInItsCurrentDirectoryAreNeverLoaded) {
    auto current = TempFolder::Create(L"current");
    ASSERT_TRUE(current);
    for (const auto& folder : {Folder(), current->Path()}) {
        for (const wchar_t* name : kPlantedNames) {
            std::error_code error;
            std::filesystem::copy_file(SiblingProgram(L"planted_marker.dll"), folder / name, error);
            ASSERT_FALSE(error) << error.message();
        }
    }
    auto app = TunewickApp::Start(Folder(), current->Path());
    ASSERT_TRUE(app) << "Tunewick did not start beside the planted DLLs";

    const auto help = [&] { return app->WindowsCaptioned(kHelpCaption); };
    ASSERT_TRUE(Click(app->Button(u"Help")));
    ASSERT_TRUE(WaitUntil([&] { return !help().empty(); }, 2s));
    ASSERT_TRUE(Click(FindChild(help().front(), u"OK", u"Button")));
    auto dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Click(dialog->cancel));
    ASSERT_TRUE(Click(app->Button(u"Minimize To Tray")));
    ASSERT_TRUE(WaitForWindowGone(app->MainWindow(), 2s, /*orHidden=*/true));
    ASSERT_NO_FATAL_FAILURE(PickFromTrayMenu(*app, VK_HOME));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app->MainWindow()) != FALSE; }, 2s));
    EXPECT_EQ(app->Close(), 0u);

    std::vector<std::string> loaded;
    for (const auto& folder : {Folder(), current->Path()}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == L".loaded") {
                loaded.push_back(entry.path().filename().string());
            }
        }
    }
    EXPECT_EQ(loaded, std::vector<std::string>{});
}

TEST_F(TrayScenario, EndOfTheSessionRunsTheShutdown) {
    WriteSettings(kTrayWithLumbrel);
    auto messenger = StartMessenger();
    // A listener in a message-only window gets the clearing record too.
    auto listener = StartMessenger({.caption = u"Message-only listener", .messageOnly = true});
    ASSERT_TRUE(messenger && listener);
    const std::size_t iconsBefore = TrayIconCount();
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsBefore + 1; }, 2s));

    // The system asks every top-level window, then tells it whether the session ends: first an
    // end that another program cancelled, which changes nothing, then the end.
    for (const BOOL ending : {FALSE, TRUE}) {
        SCOPED_TRACE(ending ? "ending" : "cancelled");
        ASSERT_TRUE(app->Button(u"Deactivate Lumbrel"));
        EXPECT_EQ(TrayIconCount(), iconsBefore + 1);
        ASSERT_EQ(SendBounded(app->MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE)
            << "Tunewick never holds up the end of a session";
        EXPECT_TRUE(messenger->Records().empty()) << "nothing goes out before the end";
        ASSERT_TRUE(SendBounded(app->MainWindow(), WM_ENDSESSION, ending, ENDSESSION_LOGOFF));
    }

    EXPECT_EQ(messenger->Records(), std::vector<MessengerLogRecord>{EmptyRecord(true)});
    EXPECT_EQ(listener->Records(), std::vector<MessengerLogRecord>{EmptyRecord(true)});
    EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsBefore; }, 2s));
    EXPECT_EQ(app->Process().WaitForExit(5s), 0u);
}

}  // namespace
}  // namespace tunewick::e2e
