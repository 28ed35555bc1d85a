// The atomic writer's temporary file: one name per target, taken over from a writer
// that died but never from one still writing, and whatever else lies under that name
// is neither followed nor in the way.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "abrupt/AbruptSupport.h"
#include "platform/Files.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

class TemporaryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = abrupt::MakeScratchFolder("veradune-temporary-");
        ASSERT_FALSE(m_folder.empty());
        m_target = (m_folder / "Config.xml").string();
    }
    void TearDown() override {
        if (!m_folder.empty()) fs::remove_all(m_folder);
    }

    fs::path m_folder;
    std::string m_target;
};

TEST_F(TemporaryFileTest, TheFileOfAWriterThatDiedIsRemovedByTheNextWrite) {
    // What a killed writer leaves: its temporary file, no longer held by anyone.
    ASSERT_TRUE(platform::WriteFileAtomically(m_target + ".tmp", "half a fi"));
    ASSERT_TRUE(platform::WriteFileAtomically(m_target, "whole file"));
    EXPECT_EQ(ReadBytes(m_target), "whole file");
    EXPECT_EQ(FolderEntries(m_folder), std::vector<std::string>{"Config.xml"});
}

TEST_F(TemporaryFileTest, TheFileOfALiveWriterIsLeftAlone) {
    platform::AtomicFileWriter first;
    ASSERT_TRUE(first.Open(m_target));
    ASSERT_TRUE(first.Write("first "));
    ASSERT_TRUE(platform::WriteFileAtomically(m_target, "second"));
    EXPECT_EQ(ReadBytes(m_target), "second");
    ASSERT_TRUE(first.Write("writer"));
    ASSERT_TRUE(first.Commit());
    EXPECT_EQ(ReadBytes(m_target), "first writer");
    EXPECT_EQ(FolderEntries(m_folder), std::vector<std::string>{"Config.xml"});
}

TEST_F(TemporaryFileTest, WritersOnSeveralThreadsLeaveOneWholeFile) {
    constexpr int kThreads = 4;
    constexpr int kWrites = 100;
    std::vector<std::string> versions;
    for (int t = 0; t < kThreads; ++t) versions.push_back(std::string(64 * 1024, char('a' + t)));
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kWrites; ++i)
                if (!platform::WriteFileAtomically(m_target, versions[t])) ++failures[t];
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    const std::string last = ReadBytes(m_target);
    EXPECT_NE(std::find(versions.begin(), versions.end(), last), versions.end())
        << "a file of " << last.size() << " bytes, none of the versions";
    EXPECT_EQ(FolderEntries(m_folder), std::vector<std::string>{"Config.xml"});
}

// Something the writer did not make, in the temporary file's place.
enum class Squatter { LinkToAnotherFile, Folder, Pipe };

class SquattedTemporaryNameTest : public TemporaryFileTest,
                                  public ::testing::WithParamInterface<Squatter> {};

INSTANTIATE_TEST_SUITE_P(Squatters, SquattedTemporaryNameTest,
                         ::testing::Values(Squatter::LinkToAnotherFile, Squatter::Folder,
                                           Squatter::Pipe));

TEST_P(SquattedTemporaryNameTest, IsNeitherFollowedNorInTheWay) {
    const std::string other = (m_folder / "other").string();
    ASSERT_TRUE(platform::WriteFileAtomically(other, "someone else's"));
    const std::string temporary = m_target + ".tmp";
    switch (GetParam()) {
        case Squatter::LinkToAnotherFile:
            fs::create_symlink(other, temporary);
            break;
        case Squatter::Folder:
            fs::create_directory(temporary);
            break;
        case Squatter::Pipe:
            ASSERT_EQ(::mkfifo(temporary.c_str(), 0600), 0);
            break;
    }
    ASSERT_TRUE(platform::WriteFileAtomically(m_target, "settings"));
    EXPECT_EQ(ReadBytes(m_target), "settings");
    EXPECT_EQ(ReadBytes(other), "someone else's");
    // The squatter may stay or go; nothing else may be left behind.
    std::vector<std::string> entries = FolderEntries(m_folder);
    std::erase(entries, "Config.xml.tmp");
    EXPECT_EQ(entries, (std::vector<std::string>{"Config.xml", "other"}));
}

}  // namespace
