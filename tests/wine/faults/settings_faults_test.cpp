// Settings files Tunewick cannot read sensibly or cannot rewrite: missing, empty, binary
// garbage, ten megabytes long, read-only, a folder of that name, and a program folder that
// cannot be written. Start-up and the options dialog's "OK" must survive each, and OK must
// never destroy what it cannot rewrite, leave half a save behind, nor close as if it had
// saved it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fault_probes.h"
#include "platform/trace.h"
#include "utf8.h"
#include "win32/wide.h"

namespace tunewick::e2e {
namespace {

// What the options dialog is given before "OK": Winamp chosen, three new texts.
constexpr TextView kNewArtist = u"New Artist";
constexpr TextView kNewSong = u"New Song";
constexpr TextView kNewFormat = u"{1} plays {0}";

// Opens the options dialog, chooses Winamp and types the new texts; `shown` receives what
// the dialog showed when it opened.
std::optional<OptionsDialog> OpenAndChoose(TunewickApp& app, std::vector<Text>* shown) {
    auto dialog = OptionsDialog::Open(app);
    if (!dialog) {
        return std::nullopt;
    }
    if (shown != nullptr) {
        shown->clear();
        for (HWND box : dialog->Boxes()) {
            shown->push_back(ReadText(box).value_or(u"(no answer)"));
        }
    }
    if (!Click(dialog->winamp) || !SetText(dialog->artist, kNewArtist) ||
        !SetText(dialog->song, kNewSong) || !SetText(dialog->format, kNewFormat)) {
        return std::nullopt;
    }
    return dialog;
}

// Makes the choices above and presses "OK"; true once the dialog has closed.
bool SaveOptions(TunewickApp& app, std::vector<Text>* shown = nullptr,
                 Milliseconds timeout = kDefaultWait) {
    const auto dialog = OpenAndChoose(app, shown);
    // Posted: rewriting a long file may take longer than a bounded send waits.
    return dialog && PostClick(dialog->ok) && WaitForWindowGone(dialog->window, timeout);
}

// What "OK" leaves when the settings cannot be saved: the box it showed and, once the box
// is dismissed, the dialog as it stayed.
struct RefusedSave {
    MessageBoxInfo box;
    bool stayedOpen = false;
    std::vector<Text> kept;  // artist, song, format
    bool winampKept = false;
    bool cancelled = false;  // closed with "Cancel" afterwards
};

// Makes the choices above, presses "OK", dismisses the box that follows, reads the dialog
// and closes it with "Cancel". Nullopt when no box came.
std::optional<RefusedSave> SaveOptionsRefused(TunewickApp& app,
                                              std::vector<Text>* shown = nullptr) {
    const auto dialog = OpenAndChoose(app, shown);
    if (!dialog || !PostClick(dialog->ok)) {
        return std::nullopt;
    }
    const auto box = app.WaitForMessageBox();
    if (!box || !PressMessageBoxButton(box->window, IDOK)) {
        return std::nullopt;
    }
    RefusedSave refused{.box = *box};
    // Answered only once the click's handler has returned: whatever it does after the box
    // is done by then.
    AnswerTime(dialog->window);
    refused.stayedOpen = IsWindow(dialog->window) && IsWindowVisible(dialog->window);
    for (HWND text : dialog->Boxes()) {
        refused.kept.push_back(ReadText(text).value_or(u"(no answer)"));
    }
    refused.winampKept = CheckState(dialog->winamp) == 1;
    refused.cancelled = Click(dialog->cancel) && WaitForWindowGone(dialog->window);
    return refused;
}

// The box names the file and the system's message for `error` (any reason, when not given);
// the dialog stayed open with every choice in it.
void ExpectRefusal(const RefusedSave& refused, const std::filesystem::path& file,
                   std::optional<DWORD> error) {
    const Text start = u"The settings could not be saved to\n" + FromWide(file.wstring()) + u"\n\n";
    EXPECT_EQ(refused.box.title, u"Error");
    EXPECT_TRUE(refused.box.text.starts_with(start)) << ToUtf8(refused.box.text);
    const Text given = refused.box.text.substr(std::min(start.size(), refused.box.text.size()));
    if (error) {
        // The system's own words, whatever they are (Wine's differ from Windows').
        const Text expected = platform::SystemMessage(*error);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(given, expected);
    } else {
        EXPECT_FALSE(given.empty()) << "no reason given";
    }
    EXPECT_TRUE(refused.stayedOpen);
    EXPECT_EQ(refused.kept,
              (std::vector<Text>{Text(kNewArtist), Text(kNewSong), Text(kNewFormat)}));
    EXPECT_TRUE(refused.winampKept);
    EXPECT_TRUE(refused.cancelled);
}

// The main window's three boxes and Kestrin's button, as start-up left them.
struct StartState {
    std::vector<Text> boxes;
    Text kestrin;
};

StartState ReadStartState(const TunewickApp& app) {
    StartState state;
    for (HWND box : app.Boxes()) {
        state.boxes.push_back(ReadText(box).value_or(u"(no answer)"));
    }
    for (HWND child : ChildWindows(app.MainWindow())) {
        const Text text = ReadText(child).value_or(Text());
        if (text.ends_with(u"Kestrin")) {
            state.kestrin = text;
        }
    }
    return state;
}

// The names in `folder`, sorted: a refused save leaves nothing new there.
std::vector<std::wstring> Names(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SettingsFaults : public FaultScenario {
  protected:
    // Starts Tunewick, checks what start-up made of the file, saves the options, checks that
    // Tunewick still runs and answers, and closes it.
    void StartSaveAndClose(const StartState& expectedAtStart,
                           const std::vector<Text>& expectedInDialog) {
        const auto launched = Clock::now();
        auto app = StartTunewick();
        ASSERT_TRUE(app);
        startTime_ = Clock::now() - launched;
        const StartState atStart = ReadStartState(*app);
        EXPECT_EQ(atStart.boxes, expectedAtStart.boxes);
        EXPECT_EQ(atStart.kestrin, expectedAtStart.kestrin);
        std::vector<Text> shown;
        const auto start = Clock::now();
        ASSERT_TRUE(SaveOptions(*app, &shown, 30s));
        saveTime_ = Clock::now() - start;
        EXPECT_EQ(shown, expectedInDialog);
        EXPECT_TRUE(app->Process().Running());
        EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
        EXPECT_EQ(app->Close(), 0u);
    }

    // How long the last start took until the window took messages, and its "OK".
    Clock::duration startTime_{};
    Clock::duration saveTime_{};

    // What the file holds now, as the platform reads it.
    void ExpectSaved(const std::filesystem::path& file) {
        EXPECT_EQ(ProfileValue(file, u"General", u"Minimize_Startup"), u"0");
        EXPECT_EQ(ProfileValue(file, u"Defaults", u"Player"), u"Winamp");
        EXPECT_EQ(ProfileValue(file, u"Defaults", u"Artist"), kNewArtist);
        EXPECT_EQ(ProfileValue(file, u"Defaults", u"Song"), kNewSong);
        EXPECT_EQ(ProfileValue(file, u"Defaults", u"Format"), kNewFormat);
    }

    // The next start sees what was saved.
    void ExpectNextStartSeesTheSave() {
        auto app = StartTunewick();
        ASSERT_TRUE(app);
        const StartState state = ReadStartState(*app);
        EXPECT_EQ(state.boxes,
                  (std::vector<Text>{Text(kNewArtist), Text(kNewSong), Text(kNewFormat)}));
        EXPECT_EQ(state.kestrin, u"Deactivate Kestrin");
        EXPECT_EQ(app->Close(), 0u);
    }
};

const StartState kNothingRead = {{u"", u"", u""}, u"Activate Kestrin"};
const std::vector<Text> kNothingShown = {u"", u"", u""};

TEST_F(SettingsFaults, MissingAndEmptyFilesReadAsNothingAndOkCreatesThem) {
    StartSaveAndClose(kNothingRead, kNothingShown);
    ExpectSaved(SettingsPath());
    ExpectNextStartSeesTheSave();

    ASSERT_TRUE(WriteFileBytes(SettingsPath(), ""));
    StartSaveAndClose(kNothingRead, kNothingShown);
    ExpectSaved(SettingsPath());
}

TEST_F(SettingsFaults, BinaryGarbageAroundTheSettings) {
    // Every byte value, NULs and line ends among them, from a fixed seed; then settings.
    std::string bytes = "Garbage";
    std::uint32_t state = 0x1863u;
    for (int i = 0; i < 65536; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes.push_back(static_cast<char>(state >> 24));
    }
    bytes += "\r\n[Defaults]\r\nArtist=Kept Artist\r\nFormat=Kept {0}\r\n";
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), bytes));
    StartSaveAndClose({{u"Kept Artist", u"", u"Kept {0}"}, u"Activate Kestrin"},
                      {u"Kept Artist", u"", u"Kept {0}"});
    ExpectSaved(SettingsPath());
    ExpectNextStartSeesTheSave();
}

TEST_F(SettingsFaults, TenMegabytesAreReadAndKeptWhole) {
    constexpr char kPaddingValue[] =
        "0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEF";
    std::string bytes = "[General]\r\nMinimize_Startup=0\r\n[Padding]\r\n";
    constexpr int kLines = 100'000;
    for (int i = 0; i < kLines; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "Line%06d=%s\r\n", i, kPaddingValue);
        bytes += line;
    }
    bytes += "[Defaults]\r\nPlayer=Winamp\r\nArtist=Big Artist\r\nFormat=Big {0}\r\n";
    ASSERT_GE(bytes.size(), 10'000'000u);
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), bytes));

    StartSaveAndClose({{u"Big Artist", u"", u"Big {0}"}, u"Deactivate Kestrin"},
                      {u"Big Artist", u"", u"Big {0}"});
    std::printf("ten megabytes: start %lld ms, OK %lld ms\n", Ms(startTime_), Ms(saveTime_));
    // Slow, as a copy and five rewrites of ten megabytes are, but bounded.
    EXPECT_LT(startTime_, 5s);
    EXPECT_LT(saveTime_, 10s);
    ExpectSaved(SettingsPath());
    EXPECT_EQ(ToUtf8(ProfileValue(SettingsPath(), u"Padding", u"Line099999")), kPaddingValue);
    EXPECT_GE(ReadFileBytes(SettingsPath()).value_or("").size(), bytes.size() - 100);
}

TEST_F(SettingsFaults, AReadOnlyFileIsReadAndLeftAsItIs) {
    const std::string bytes =
        "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nPlayer=Winamp\r\nArtist=Fixed\r\n"
        "Format=Fixed {0}\r\n";
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), bytes));
    ASSERT_TRUE(SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
    {
        auto app = StartTunewick();
        ASSERT_TRUE(app);
        const StartState atStart = ReadStartState(*app);
        EXPECT_EQ(atStart.boxes, (std::vector<Text>{u"Fixed", u"", u"Fixed {0}"}));
        EXPECT_EQ(atStart.kestrin, u"Deactivate Kestrin");
        const auto names = Names(Folder());
        const auto refused = SaveOptionsRefused(*app);
        ASSERT_TRUE(refused);
        ExpectRefusal(*refused, SettingsPath(), ERROR_ACCESS_DENIED);
        EXPECT_TRUE(app->Process().Running());
        EXPECT_EQ(ReadFileBytes(SettingsPath()), bytes);
        EXPECT_EQ(Names(Folder()), names);
        // Opened again in the same run, it shows the file, not what could not be saved.
        std::vector<Text> shown;
        ASSERT_TRUE(SaveOptionsRefused(*app, &shown));
        EXPECT_EQ(shown, (std::vector<Text>{u"Fixed", u"", u"Fixed {0}"}));
        EXPECT_EQ(app->Close(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(SettingsPath()), bytes);
    EXPECT_EQ(GetFileAttributesW(SettingsPath().c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFaults, AFolderNamedLikeTheFileIsLeftAsItIs) {
    ASSERT_TRUE(CreateDirectoryW(SettingsPath().c_str(), nullptr));
    const auto inside = SettingsPath() / L"inside.txt";
    ASSERT_TRUE(WriteFileBytes(inside, "[Defaults]\r\nArtist=Inside\r\n"));
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    EXPECT_EQ(ReadStartState(*app).boxes, kNothingShown);
    const auto names = Names(Folder());
    std::vector<Text> shown;
    const auto refused = SaveOptionsRefused(*app, &shown);
    ASSERT_TRUE(refused);
    EXPECT_EQ(shown, kNothingShown);
    ExpectRefusal(*refused, SettingsPath(), std::nullopt);
    EXPECT_EQ(Names(Folder()), names);
    EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
    EXPECT_EQ(app->Close(), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
    EXPECT_EQ(ReadFileBytes(inside), "[Defaults]\r\nArtist=Inside\r\n");
}

// The folders come from a ctest fixture (locked-folder), which can do what a Windows program
// cannot: take the write permission away from everyone, root included. This is a program
// under C:\Program Files for a user who may not write there.
TEST_F(SettingsFaults, AProgramFolderThatCannotBeWritten) {
    const auto locked = LockedFolder();
    if (!locked) {
        GTEST_SKIP() << "run with --locked-folder=DIR, a folder made by locked-folder";
    }
    const std::filesystem::path bare = *locked / L"bare";
    const std::filesystem::path withFile = *locked / L"with-file";
    ASSERT_TRUE(std::filesystem::exists(bare / L"Tunewick.exe"));
    if (FolderWritable(bare) || FolderWritable(withFile)) {
        GTEST_SKIP() << "the fixture could not take the write permission away here";
    }

    // No file, and none can be made: "OK" says so, twice, and nothing appears.
    {
        auto app = TunewickApp::Start(bare);
        ASSERT_TRUE(app);
        EXPECT_EQ(ReadStartState(*app).boxes, kNothingShown);
        const auto refused = SaveOptionsRefused(*app);
        ASSERT_TRUE(refused);
        ExpectRefusal(*refused, bare / L"settings.cfg", ERROR_ACCESS_DENIED);
        std::vector<Text> shown;
        ASSERT_TRUE(SaveOptionsRefused(*app, &shown));
        EXPECT_EQ(shown, kNothingShown) << "what could not be saved is not shown as saved";
        EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
        EXPECT_EQ(app->Close(), 0u);
    }
    EXPECT_EQ(Names(bare), std::vector<std::wstring>{L"Tunewick.exe"});

    // A file that cannot be rewritten is read, and stays byte for byte as it was.
    const auto before = ReadFileBytes(withFile / L"settings.cfg");
    ASSERT_TRUE(before);
    {
        auto app = TunewickApp::Start(withFile);
        ASSERT_TRUE(app);
        EXPECT_EQ(ReadStartState(*app).boxes,
                  (std::vector<Text>{u"Locked Artist", u"", u"Locked {0}"}));
        const auto refused = SaveOptionsRefused(*app);
        ASSERT_TRUE(refused);
        ExpectRefusal(*refused, withFile / L"settings.cfg", ERROR_ACCESS_DENIED);
        EXPECT_EQ(ReadFileBytes(withFile / L"settings.cfg"), before);
        std::vector<Text> shown;
        ASSERT_TRUE(SaveOptionsRefused(*app, &shown));
        EXPECT_EQ(shown, (std::vector<Text>{u"Locked Artist", u"", u"Locked {0}"}));
        EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
        EXPECT_EQ(app->Close(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(withFile / L"settings.cfg"), before);
    EXPECT_EQ(Names(withFile), (std::vector<std::wstring>{L"Tunewick.exe", L"settings.cfg"}));
}

}  // namespace
}  // namespace tunewick::e2e
