// The pages of one download replace the saved ones as a set: whatever moment a
// crash picks, the next start reads the old set or the new one, never a mix.
#include <gtest/gtest.h>

#include <filesystem>

#include "acquire/PageStaging.h"
#include "platform/Files.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

TEST(PageStaging, ACrashAtAnyStepLeavesTheOldSetOrTheNew) {
    // How far a download got before the crash; each row ends at Recover, as the
    // next start does.
    enum class Step { Staged, Marked, HalfMoved, Committed };
    for (const Step step : {Step::Staged, Step::Marked, Step::HalfMoved, Step::Committed}) {
        SCOPED_TRACE(static_cast<int>(step));
        const TempFolder root;
        const std::string saved = root.File("DownloadFiles");
        fs::create_directory(saved);
        for (const char* name : {"CityNo001.html", "ShopNo011.html", "ShopNo012.html"})
            ASSERT_TRUE(platform::WriteFileAtomically(platform::JoinPath(saved, name), "old"));
        const PageStaging staging(saved);
        ASSERT_TRUE(staging.Begin());
        for (const char* name : {"CityNo001.html", "ShopNo011.html"})
            ASSERT_TRUE(platform::WriteFileAtomically(staging.StagedPath(name), "new"));
        EXPECT_EQ(ReadBytes(staging.PageToRead("ShopNo011.html")), "new");
        EXPECT_EQ(ReadBytes(staging.PageToRead("ShopNo012.html")), "old");

        if (step == Step::Marked || step == Step::HalfMoved) {
            ASSERT_TRUE(platform::WriteFileAtomically(
                platform::JoinPath(staging.Folder(), "complete"), ""));
        }
        if (step == Step::HalfMoved) {
            ASSERT_TRUE(platform::ReplaceFile(staging.StagedPath("CityNo001.html"),
                                              platform::JoinPath(saved, "CityNo001.html")));
        }
        if (step == Step::Committed) {
            ASSERT_TRUE(staging.Commit());
        }
        const bool newSet = step != Step::Staged;
        // A reader that may not write already sees the set the next start will show.
        EXPECT_EQ(staging.IsMarked(), newSet && step != Step::Committed);

        ASSERT_TRUE(staging.Recover());
        EXPECT_FALSE(fs::exists(staging.Folder()));
        EXPECT_EQ(FolderEntries(saved),
                  (std::vector<std::string>{"CityNo001.html", "ShopNo011.html", "ShopNo012.html"}));
        for (const char* name : {"CityNo001.html", "ShopNo011.html"})
            EXPECT_EQ(ReadBytes(platform::JoinPath(saved, name)), newSet ? "new" : "old") << name;
        EXPECT_EQ(ReadBytes(platform::JoinPath(saved, "ShopNo012.html")), "old");
    }
}

}  // namespace
