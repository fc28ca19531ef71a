#include "ui/options_form.h"

#include <gtest/gtest.h>

#include "form_doubles.h"
#include "utf8.h"

namespace tunewick::testing {
namespace {

using Write = MemoryProfileStore::Write;

class FakeOptionsHost : public OptionsFormHost {
  public:
    Text ProgramDirectory() const override { return u"C:\\Tools\\Tunewick"; }
    void Close() override { ++closed; }
    int closed = 0;
};

class OptionsFormTest : public ::testing::Test {
  protected:
    // The selected start-up mode button, or -1.
    int Selected() const {
        int selected = -1;
        for (int i = 0; i < 3; ++i) {
            if (startupModeButtons[i].Selected()) {
                EXPECT_EQ(selected, -1) << "more than one player selected";
                selected = i;
            }
        }
        return selected;
    }

    MemoryOptionButton startupModeButtons[3];
    MemoryCheckBox minimizeAtStartupBox;
    MemoryTextBox artistBox;
    MemoryTextBox songBox;
    MemoryTextBox formatBox{u"{0} - {1}"};
    MemoryProfileStore profile;
    EventLog log;
    ScriptedBoxes boxes{log};
    FakeOptionsHost host;
    OptionsFormControls Controls(CheckBox& minimizeAtStartup) {
        return {{startupModeButtons[0], startupModeButtons[1], startupModeButtons[2]},
                minimizeAtStartup,
                artistBox,
                songBox,
                formatBox};
    }
    OptionsForm form{Controls(minimizeAtStartupBox), profile, boxes, host};
};

TEST_F(OptionsFormTest, LoadShowsTheFileAndOkWritesItBackUnchanged) {
    profile.Put(u"General", u"Minimize_Startup", u"1");
    profile.Put(u"Defaults", u"Player", u"Winamp");
    profile.Put(u"Defaults", u"Artist", u"Band");
    profile.Put(u"Defaults", u"Song", u"S\u00f6ng");
    profile.Put(u"Defaults", u"Format", u"{1} / {0}");
    const std::string before = profile.Contents();

    form.Load();
    EXPECT_EQ(minimizeAtStartupBox.Value(), 1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(artistBox.Value(), u"Band");
    EXPECT_EQ(songBox.Value(), u"S\u00f6ng");
    EXPECT_EQ(formatBox.Value(), u"{1} / {0}");

    form.Save();
    EXPECT_EQ(profile.writes, (std::vector<Write>{
                                  {u"General", u"Minimize_Startup", u"1"},
                                  {u"Defaults", u"Player", u"Winamp"},
                                  {u"Defaults", u"Artist", u"Band"},
                                  {u"Defaults", u"Song", u"S\u00f6ng"},
                                  {u"Defaults", u"Format", u"{1} / {0}"},
                              }));
    EXPECT_EQ(profile.Contents(), before);
    EXPECT_EQ(host.closed, 1);
    EXPECT_TRUE(boxes.shown.empty());
    for (const Text& path : profile.paths) {
        EXPECT_EQ(path, u"C:\\Tools\\Tunewick\\settings.cfg");
    }
}

TEST_F(OptionsFormTest, OnlyMinimizeStartupExactlyOneChecksTheBox) {
    for (const TextView stored : {u"1", u"2", u"0", u"", u"01", u"yes"}) {
        SCOPED_TRACE(ToUtf8(stored));
        MemoryProfileStore store;
        store.Put(u"General", u"Minimize_Startup", stored);
        MemoryCheckBox check;
        OptionsForm fresh(Controls(check), store, boxes, host);
        fresh.Load();
        const Text expected = stored == u"1" ? u"1" : u"0";
        EXPECT_EQ(check.Value(), stored == u"1" ? 1 : 0);
        fresh.Save();
        ASSERT_FALSE(store.writes.empty());
        EXPECT_EQ(store.writes[0], (Write{u"General", u"Minimize_Startup", expected}));
    }
}

TEST_F(OptionsFormTest, CheckBoxValueIsWrittenAsDecimalText) {
    for (const int value : {0, 1, 2}) {
        profile.writes.clear();
        minimizeAtStartupBox.SetValue(value);
        form.Save();
        EXPECT_EQ(profile.writes[0].value, Text(1, static_cast<char16_t>(u'0' + value)));
    }
}

// The word selects its button; "OK" writes the selected button's word back, and with none
// selected deletes the key.
TEST_F(OptionsFormTest, PlayerWordSelectsItsButtonCaseSensitivelyAndOkWritesItBack) {
    struct Row {
        TextView stored;
        int selected;
    };
    for (const Row& row :
         {Row{u"Realplayer", 0}, Row{u"Winamp", 1}, Row{u"XMPlay", 2}, Row{u"realplayer", -1},
          Row{u"RealPlayer", -1}, Row{u"winamp", -1}, Row{u"xmplay", -1}, Row{u"", -1}}) {
        SCOPED_TRACE(ToUtf8(row.stored));
        for (MemoryOptionButton& button : startupModeButtons) {
            button.SetSelected(false);
        }
        profile.Put(u"Defaults", u"Player", row.stored);
        form.Load();
        EXPECT_EQ(Selected(), row.selected);
        profile.writes.clear();
        form.Save();
        const std::optional<Text> word =
            row.selected < 0 ? std::nullopt : std::optional<Text>(row.stored);
        EXPECT_EQ(profile.writes.at(1), (Write{u"Defaults", u"Player", word}));
    }
    EXPECT_EQ(profile.Contents().find("Player"), std::string::npos);
}

TEST_F(OptionsFormTest, OkWithoutAFileCreatesItWithMinimizeStartupZeroAndNoPlayer) {
    form.Load();
    EXPECT_FALSE(profile.exists);
    EXPECT_EQ(minimizeAtStartupBox.Value(), 0);
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(artistBox.Value(), u"");
    EXPECT_EQ(songBox.Value(), u"");
    EXPECT_EQ(formatBox.Value(), u"");  // a missing "Format" empties the designed text

    form.Save();
    EXPECT_EQ(profile.Contents(),
              "[General]\n"
              "Minimize_Startup=0\n"
              "[Defaults]\n"
              "Artist=\n"
              "Song=\n"
              "Format=\n");
}

TEST_F(OptionsFormTest, EditedDefaultsAreWrittenInOrder) {
    form.Load();
    startupModeButtons[2].SetSelected(true);
    minimizeAtStartupBox.SetValue(1);
    artistBox.SetValue(u"\u30d0\u30f3\u30c9");
    songBox.SetValue(u"Song - Take 2");
    formatBox.SetValue(u"{0} ({1})");
    form.Save();
    EXPECT_EQ(profile.writes, (std::vector<Write>{
                                  {u"General", u"Minimize_Startup", u"1"},
                                  {u"Defaults", u"Player", u"XMPlay"},
                                  {u"Defaults", u"Artist", u"\u30d0\u30f3\u30c9"},
                                  {u"Defaults", u"Song", u"Song - Take 2"},
                                  {u"Defaults", u"Format", u"{0} ({1})"},
                              }));
}

TEST_F(OptionsFormTest, ARefusedSaveIsReportedChangesNothingAndTheDialogKeepsTheChoices) {
    struct Row {
        std::size_t refusedWrite;  // the first write refused: the last one tried
        TextView reason;
        TextView boxText;
    };
    for (const Row& row : {
             Row{0, u"Access is denied.",
                 u"The settings could not be saved to\nC:\\Tools\\Tunewick\\settings.cfg\n\n"
                 u"Access is denied."},
             Row{2, u"There is not enough space on the disk.",
                 u"The settings could not be saved to\nC:\\Tools\\Tunewick\\settings.cfg\n\n"
                 u"There is not enough space on the disk."},
             // A store with no words for it: the box names the file alone.
             Row{4, u"", u"The settings could not be saved to\nC:\\Tools\\Tunewick\\settings.cfg"},
         }) {
        SCOPED_TRACE(row.refusedWrite);
        MemoryProfileStore store;
        store.Put(u"General", u"Minimize_Startup", u"0");
        store.Put(u"Defaults", u"Artist", u"Saved Artist");
        const std::string before = store.Contents();
        store.refuseFrom = row.refusedWrite;
        store.refusal = Text(row.reason);
        ScriptedBoxes shown(log);
        FakeOptionsHost dialog;
        OptionsForm fresh(Controls(minimizeAtStartupBox), store, shown, dialog);
        fresh.Load();
        for (MemoryOptionButton& button : startupModeButtons) {
            button.SetSelected(false);
        }
        startupModeButtons[1].SetSelected(true);
        minimizeAtStartupBox.SetValue(1);
        artistBox.SetValue(u"Typed Artist");
        songBox.SetValue(u"Typed Song");
        formatBox.SetValue(u"{1}: {0}");

        fresh.Save();
        EXPECT_EQ(
            shown.shown,
            (std::vector<ScriptedBoxes::Shown>{{Text(row.boxText), BoxKind::Warning, u"Error"}}));
        EXPECT_EQ(store.writes.size(), row.refusedWrite + 1);
        EXPECT_EQ(store.Contents(), before) << "the writes before the refused one were kept";
        EXPECT_EQ(dialog.closed, 0);
        EXPECT_EQ(Selected(), 1);
        EXPECT_EQ(minimizeAtStartupBox.Value(), 1);
        EXPECT_EQ(artistBox.Value(), u"Typed Artist");
        EXPECT_EQ(songBox.Value(), u"Typed Song");
        EXPECT_EQ(formatBox.Value(), u"{1}: {0}");
    }
}

TEST_F(OptionsFormTest, CancelClosesWithoutWriting) {
    profile.Put(u"Defaults", u"Player", u"Winamp");
    form.Load();
    startupModeButtons[1].SetSelected(false);
    artistBox.SetValue(u"changed");
    form.Cancel();
    EXPECT_TRUE(profile.writes.empty());
    EXPECT_EQ(host.closed, 1);
}

}  // namespace
}  // namespace tunewick::testing
