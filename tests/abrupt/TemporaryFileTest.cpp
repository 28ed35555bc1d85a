// The atomic writer's temporary name as a player may find it taken: by the file of
// a killed program, by a second copy of the program saving at the same moment, or
// by a link or a folder.

#include "platform/Files.h"
#include "support/TestFiles.h"

namespace {

// What takes the temporary name of Config.xml, by the test's name for it.
class TemporaryNameTest : public ::testing::TestWithParam<std::string> {
protected:
    TempFolder m_folder;
    const std::string m_target = m_folder.File("Config.xml");
};

INSTANTIATE_TEST_SUITE_P(Squatters, TemporaryNameTest,
                         ::testing::Values("KilledWritersFile", "LinkToAnotherFile", "Folder"),
                         [](const auto& info) { return info.param; });

TEST_P(TemporaryNameTest, IsNeitherFollowedNorInTheWay) {
    const std::string other = m_folder.Write("other", "someone else's");
    const std::string temporary = m_target + ".tmp";
    if (GetParam() == "KilledWritersFile") m_folder.Write("Config.xml.tmp", "half a sa");
    if (GetParam() == "LinkToAnotherFile") std::filesystem::create_symlink(other, temporary);
    if (GetParam() == "Folder") std::filesystem::create_directory(temporary);
    ASSERT_TRUE(platform::WriteFileAtomically(m_target, "settings"));
    EXPECT_EQ(ReadBytes(m_target), "settings");
    EXPECT_EQ(ReadBytes(other), "someone else's");
    // A killed writer's file goes; what the writer did not make may stay.
    std::vector<std::string> entries = FolderEntries(m_folder.Path());
    if (GetParam() != "KilledWritersFile") std::erase(entries, "Config.xml.tmp");
    EXPECT_EQ(entries, (std::vector<std::string>{"Config.xml", "other"}));
}

TEST_F(TemporaryNameTest, ALiveWritersFileIsLeftAlone) {
    platform::AtomicFileWriter first;
    ASSERT_TRUE(first.Open(m_target) && first.Write("first "));
    ASSERT_TRUE(platform::WriteFileAtomically(m_target, "second"));
    EXPECT_EQ(ReadBytes(m_target), "second");
    ASSERT_TRUE(first.Write("writer") && first.Commit());
    EXPECT_EQ(ReadBytes(m_target), "first writer");
    EXPECT_EQ(FolderEntries(m_folder.Path()), std::vector<std::string>{"Config.xml"});
}

}  // namespace
