#include "settings/portable_profile_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "contract/profile_store_contract.h"

namespace tunewick {
namespace {

namespace fs = std::filesystem;
using contract::ProfileStoreContract;
using contract::ProfileStoreTarget;

INSTANTIATE_TEST_SUITE_P(Stores, ProfileStoreContract,
                         ::testing::Values(ProfileStoreTarget{
                             "Portable", [] { return std::make_unique<PortableProfileStore>(); },
                             contract::MakeTempDir}),
                         contract::ProfileStoreTargetName);

// What only the stand-in has to decide: how a Windows path meets a POSIX file system.
class PortableProfileStorePaths : public ::testing::Test {
  protected:
    void SetUp() override { tempDir = contract::MakeTempDir(); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(tempDir, ignored);
    }
    Text Dir() const { return FromUtf8(tempDir.string()); }

    PortableProfileStore store;
    fs::path tempDir;
};

TEST_F(PortableProfileStorePaths, BackslashesAndSlashesBothSeparateFolders) {
    fs::create_directory(tempDir / "sub");
    ASSERT_TRUE(store.WriteString(u"S", u"k", u"v", Dir() + u"\\sub\\a.cfg"));
    EXPECT_TRUE(fs::exists(tempDir / "sub" / "a.cfg"));
    std::array<char16_t, 8> buffer{};
    EXPECT_EQ(store.GetString(u"S", u"k", u"", buffer, Dir() + u"/sub/a.cfg"), 1u);
    EXPECT_EQ(buffer[0], u'v');
}

TEST_F(PortableProfileStorePaths, ANonAsciiPathNamesTheFileInUtf8) {
    ASSERT_TRUE(store.WriteString(u"S", u"k", u"v", Dir() + u"\\\u00E9t\u00E9 \u4E2D.cfg"));
    EXPECT_TRUE(fs::exists(tempDir / "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD.cfg"));
}

TEST_F(PortableProfileStorePaths, AFolderInPlaceOfTheFileCannotBeReadOrWritten) {
    fs::create_directory(tempDir / "settings.cfg");
    const Text path = Dir() + u"\\settings.cfg";
    EXPECT_FALSE(store.WriteString(u"S", u"k", u"v", path));
    std::array<char16_t, 8> buffer{};
    // As when the folder is missing, the default keeps its quotes.
    EXPECT_EQ(store.GetString(u"S", u"k", u"\"d\"", buffer, path), 3u);
    EXPECT_EQ(Text(buffer.data()), u"\"d\"");
}

}  // namespace
}  // namespace tunewick
