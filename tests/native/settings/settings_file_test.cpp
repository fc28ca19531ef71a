#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "memory_profile_store.h"
#include "utf8.h"

namespace tunewick {
namespace {

using testing::MemoryProfileStore;

TEST(SettingsPath, AppendsABackslashAndTheFileNameToTheProgramsFolder) {
    struct Case {
        std::u16string_view directory;
        std::u16string_view expected;
    };
    for (const auto& c : {
             Case{u"C:\\Program Files\\Tunewick", u"C:\\Program Files\\Tunewick\\settings.cfg"},
             Case{u"C:\\", u"C:\\settings.cfg"},  // a drive's root already ends in one
             Case{u"\\\\server\\share\\", u"\\\\server\\share\\settings.cfg"},
             Case{u"/home/user/tunewick", u"/home/user/tunewick\\settings.cfg"},
         }) {
        EXPECT_EQ(SettingsPath(c.directory), c.expected) << ToUtf8(c.directory);
    }
}

TEST(ReadSetting, LooksTheKeyUpInLowerCaseWithAnEmptyDefaultAnd750Units) {
    MemoryProfileStore store;
    store.Put(u"General", u"Minimize_Startup", u"1");
    const Text key = u"Minimize_Startup";
    EXPECT_EQ(ReadSetting(store, u"General", key, u"C:\\t\\settings.cfg"), u"1");
    EXPECT_EQ(store.reads,
              (std::vector<MemoryProfileStore::Read>{// Sections keep their case.
                                                     {u"General", u"minimize_startup", u"", 750}}));
    EXPECT_EQ(store.paths, std::vector<Text>{u"C:\\t\\settings.cfg"});
    EXPECT_EQ(key, u"Minimize_Startup") << "the caller's text is not changed";
}

}  // namespace
}  // namespace tunewick
