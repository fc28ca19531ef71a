// The options dialog driven from outside: what it shows on opening, what "OK" leaves in
// settings.cfg (read back as bytes: ANSI, or UTF-16 once a value needs it or the file was
// UTF-8), and what "Cancel", the close box and a second "Options" leave alone.

#include "scenario.h"
#include "utf8.h"

namespace tunewick::e2e {
namespace {

// What the dialog shows: the option buttons' and the check box's states, then the boxes.
struct Shown {
    std::optional<int> realplayer, winamp, xmplay, minimizeOnStartup;
    std::optional<Text> artist, song, format;

    bool operator==(const Shown&) const = default;
};

Shown Read(const OptionsDialog& dialog) {
    return {CheckState(dialog.realplayer), CheckState(dialog.winamp),
            CheckState(dialog.xmplay),     CheckState(dialog.minimizeOnStartup),
            ReadText(dialog.artist),       ReadText(dialog.song),
            ReadText(dialog.format)};
}

void PrintTo(const Shown& shown, std::ostream* out) {
    auto state = [](const std::optional<int>& value) {
        return value ? std::to_string(*value) : std::string("?");
    };
    auto text = [](const std::optional<Text>& value) {
        return value ? "\"" + ToUtf8(*value) + "\"" : std::string("?");
    };
    *out << "{options " << state(shown.realplayer) << state(shown.winamp) << state(shown.xmplay)
         << ", minimize " << state(shown.minimizeOnStartup) << ", " << text(shown.artist) << ", "
         << text(shown.song) << ", " << text(shown.format) << "}";
}

// A UTF-16 LE file's bytes: the mark, then `text` as it lies in a little-endian memory.
std::string Utf16File(TextView text) {
    return "\xFF\xFE" +
           std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

// The main window's artist, song and format boxes as they read now.
using MainBoxes = std::vector<std::optional<Text>>;
MainBoxes ReadMainBoxes(const TunewickApp& app) {
    MainBoxes texts;
    for (HWND box : app.Boxes()) {
        texts.push_back(ReadText(box));
    }
    return texts;
}

class OptionsScenario : public Scenario {
  protected:
    std::optional<std::string> SettingsBytes() const { return ReadFileBytes(SettingsPath()); }
};

TEST_F(OptionsScenario, OkWritesTheFileAndTheNextOpeningShowsIt) {
    // No settings file: the main window shows, no mode on, the dialog opens empty.
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app->MainWindow()) != FALSE; }));

    auto dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Read(*dialog), (Shown{0, 0, 0, 0, u"", u"", u""}));

    ASSERT_TRUE(Click(dialog->winamp));
    ASSERT_TRUE(Click(dialog->minimizeOnStartup));
    ASSERT_TRUE(SetText(dialog->artist, u"Some Band"));
    ASSERT_TRUE(SetText(dialog->song, u"Some Song"));
    ASSERT_TRUE(SetText(dialog->format, u"{1} sings {0}"));
    ASSERT_TRUE(Click(dialog->ok));
    EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
    EXPECT_EQ(SettingsBytes(),
              "[General]\r\n"
              "Minimize_Startup=1\r\n"
              "[Defaults]\r\n"
              "Player=Winamp\r\n"
              "Artist=Some Band\r\n"
              "Song=Some Song\r\n"
              "Format={1} sings {0}\r\n");

    // Opened again, it shows what the file holds; edits stay through a second "Options",
    // and "Cancel" writes none of them.
    dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Read(*dialog), (Shown{0, 1, 0, 1, u"Some Band", u"Some Song", u"{1} sings {0}"}));
    ASSERT_TRUE(Click(dialog->xmplay));
    ASSERT_TRUE(SetText(dialog->artist, u"Unsaved"));
    const auto again = OptionsDialog::Open(*app);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->window, dialog->window);
    EXPECT_EQ(
        FindTopLevelWindows({.caption = Text(kOptionsCaption), .processId = app->Id()}).size(), 1u);
    EXPECT_EQ(Read(*dialog), (Shown{0, 0, 1, 1, u"Unsaved", u"Some Song", u"{1} sings {0}"}));
    ASSERT_TRUE(Click(dialog->cancel));
    EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
    const auto written = SettingsBytes();
    ASSERT_TRUE(written);

    // The close box writes nothing either.
    dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Click(dialog->realplayer));
    ASSERT_TRUE(PostMessageW(dialog->window, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
    EXPECT_EQ(SettingsBytes(), written);

    // "OK" on the existing file changes the values where they stand. "OK" has the focus at
    // opening. Keys from the check box on: Escape does nothing (no button cancels), nor does
    // Enter in a box (no button is the default), as the Tab after each shows; Enter on the
    // focused "OK" presses it.
    dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(WaitUntil([&] { return app->Focus() == dialog->ok; }, 2s));
    ASSERT_TRUE(Click(dialog->xmplay));
    ASSERT_TRUE(Click(dialog->minimizeOnStartup));
    ASSERT_TRUE(SetText(dialog->artist, u""));
    const std::pair<WPARAM, HWND> keys[] = {{VK_ESCAPE, dialog->minimizeOnStartup},
                                            {VK_TAB, dialog->artist},
                                            {VK_RETURN, dialog->artist},
                                            {VK_TAB, dialog->song},
                                            {VK_TAB, dialog->format},
                                            {VK_TAB, dialog->cancel},
                                            {VK_TAB, dialog->ok}};
    for (const auto& [key, focus] : keys) {
        ASSERT_TRUE(app->PressKey(key));
        ASSERT_TRUE(WaitUntil([&] { return app->Focus() == focus; }, 2s)) << "key " << key;
    }
    ASSERT_TRUE(app->PressKey(VK_RETURN));
    EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
    EXPECT_EQ(SettingsBytes(),
              "[General]\r\n"
              "Minimize_Startup=0\r\n"
              "[Defaults]\r\n"
              "Player=XMPlay\r\n"
              "Artist=\r\n"
              "Song=Some Song\r\n"
              "Format={1} sings {0}\r\n");

    // The main window, active again, gives the focus back to "Options", where the click left it.
    EXPECT_TRUE(WaitUntil([&] { return app->Focus() == app->Button(u"Options"); }, 2s));
    // Nothing of it reached the running main window: its boxes changed at start-up only.
    EXPECT_EQ(ReadText(app->BoxBeside(u"Artist")), u"");
    EXPECT_TRUE(app->Button(u"Activate Kestrin"));
    EXPECT_TRUE(app->Button(u"Activate Lumbrel"));
}

TEST_F(OptionsScenario, StartUpAppliesTheFileAndTheDialogShowsItWithoutPlayerWhenNoneIsValid) {
    // A lower-case player word is no player; a greyed check box value is no tray start.
    WriteSettings(
        "[General]\r\nMinimize_Startup=2\r\n[Defaults]\r\nPlayer=winamp\r\nArtist=Some Band\r\n"
        "Song=Some Song\r\n");
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app->MainWindow()) != FALSE; }));
    EXPECT_TRUE(app->Button(u"Activate Kestrin"));
    EXPECT_EQ(ReadMainBoxes(*app), (MainBoxes{u"Some Band", u"Some Song", u""}))
        << "no Format key: the box is emptied";

    auto dialog = OptionsDialog::Open(*app);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Read(*dialog), (Shown{0, 0, 0, 0, u"Some Band", u"Some Song", u""}));
    // "OK" without a player deletes the key; the greyed value comes back as "0".
    ASSERT_TRUE(Click(dialog->ok));
    EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
    EXPECT_EQ(SettingsBytes(),
              "[General]\r\n"
              "Minimize_Startup=0\r\n"
              "[Defaults]\r\n"
              "Artist=Some Band\r\n"
              "Song=Some Song\r\n"
              "Format=\r\n");
}

TEST_F(OptionsScenario, JapaneseDefaultsSurviveOkTheNextOpeningAndAFreshStart) {
    // Characters that Windows-1252, the code page of Wine's locale here, lacks.
    const Text artist = u"\u5B87\u591A\u7530\u30D2\u30AB\u30EB";
    const Text song = u"\u521D\u604B";
    const Text format = u"{1} \u306E\u300C{0}\u300D";
    {
        auto app = StartTunewick();
        ASSERT_TRUE(app);
        auto dialog = OptionsDialog::Open(*app);
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(SetText(dialog->artist, artist));
        ASSERT_TRUE(SetText(dialog->song, song));
        ASSERT_TRUE(SetText(dialog->format, format));
        ASSERT_TRUE(Click(dialog->ok));
        EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
        EXPECT_EQ(SettingsBytes(),
                  Utf16File(u"[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nArtist=" + artist +
                            u"\r\nSong=" + song + u"\r\nFormat=" + format + u"\r\n"));

        dialog = OptionsDialog::Open(*app);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(Read(*dialog), (Shown{0, 0, 0, 0, artist, song, format}));
        ASSERT_TRUE(Click(dialog->cancel));
        EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
        EXPECT_EQ(app->Close(), 0u);
    }
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    EXPECT_EQ(ReadMainBoxes(*app), (MainBoxes{artist, song, format}));
}

// Defaults typed in Notepad, which saves UTF-8: without the mark since Windows 10, with it
// before. Every character shows, a start writes nothing, and "OK" keeps them all (as UTF-16).
TEST_F(OptionsScenario, DefaultsSavedByNotepadAsUtf8ShowEveryCharacterAndOkKeepsThem) {
    const Text artist = u"Sigur R\u00F3s";
    const Text song = u"\u82B1\u675F\u3092\u541B\u306B";
    const Text format = u"{0} \u266A {1}";
    const Text corrected = u"Hopp\u00EDpolla";
    const Text lines = u"[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nArtist=" + artist +
                       u"\r\nSong=" + song + u"\r\nFormat=" + format + u"\r\n";
    for (const std::string_view mark : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(mark.empty() ? "without the mark" : "with the mark");
        const std::string file = std::string(mark) + ToUtf8(lines);
        WriteSettings(file);
        {
            auto app = StartTunewick();
            ASSERT_TRUE(app);
            EXPECT_EQ(ReadMainBoxes(*app), (MainBoxes{artist, song, format}));
            auto dialog = OptionsDialog::Open(*app);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(Read(*dialog), (Shown{0, 0, 0, 0, artist, song, format}));
            EXPECT_EQ(SettingsBytes(), file) << "nothing written before OK";
            ASSERT_TRUE(SetText(dialog->song, corrected));
            ASSERT_TRUE(Click(dialog->ok));
            EXPECT_TRUE(WaitForWindowGone(dialog->window, 2s));
            EXPECT_EQ(
                SettingsBytes(),
                Utf16File(u"[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nArtist=" + artist +
                          u"\r\nSong=" + corrected + u"\r\nFormat=" + format + u"\r\n"));
            EXPECT_EQ(app->Close(), 0u);
        }
        auto app = StartTunewick();
        ASSERT_TRUE(app);
        EXPECT_EQ(ReadMainBoxes(*app), (MainBoxes{artist, corrected, format}));
        EXPECT_EQ(app->Close(), 0u);
    }
}

}  // namespace
}  // namespace tunewick::e2e
