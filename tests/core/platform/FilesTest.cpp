// The file calls on the system the program runs on; the same cases pass on POSIX systems and
// on Windows, where every path goes through UTF-16.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/Files.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using platform::JoinPath;

// A player's working folder may well have a Japanese name.
TEST(Files, JapaneseNamesWorkInEveryCall) {
    const TempFolder root;
    const std::string folder = JoinPath(root.Path().string(), "航海日誌");
    ASSERT_TRUE(platform::CreateDirectory(folder));
    EXPECT_FALSE(platform::CreateDirectory(folder));
    EXPECT_TRUE(platform::IsDirectory(folder));
    EXPECT_TRUE(fs::is_directory(root.Path() / fs::path(u8"航海日誌"))) << "not the name asked for";

    const std::string settings = JoinPath(folder, "設定①.xml");
    ASSERT_TRUE(platform::WriteFileAtomically(settings, "old"));
    ASSERT_TRUE(platform::WriteFileAtomically(settings, std::string("new\0\r\n", 6)));
    ASSERT_TRUE(platform::CreateDirectory(JoinPath(folder, "下書き")));
    EXPECT_EQ(platform::ListFiles(folder), std::vector<std::string>{"設定①.xml"});
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(settings, contents));
    EXPECT_EQ(contents, std::string("new\0\r\n", 6)) << "bytes changed on the way";
    EXPECT_FALSE(platform::ReadWholeFile(JoinPath(folder, "下書き"), contents));

    const std::string moved = JoinPath(folder, "髙.xml");
    ASSERT_TRUE(platform::WriteFileAtomically(moved, "to be replaced"));
    ASSERT_TRUE(platform::ReplaceFile(settings, moved));
    EXPECT_FALSE(platform::PathExists(settings));
    ASSERT_TRUE(platform::ReadWholeFile(moved, contents));
    EXPECT_EQ(contents.size(), 6u);
    EXPECT_FALSE(platform::RemoveFolder(folder)) << "a folder with files in it was removed";
    EXPECT_TRUE(platform::RemoveFile(moved));
    EXPECT_TRUE(platform::RemoveFolder(JoinPath(folder, "下書き")));
    EXPECT_TRUE(platform::RemoveFolder(folder));
    EXPECT_FALSE(platform::PathExists(folder));
}

// Whatever happens to a writer and whatever takes its temporary name, the target is
// the old file or the new one, whole, nothing is written through a link, and no
// temporary file outlives the writers.
TEST(AtomicFileWriter, TheTargetIsOldOrNewAndNothingIsLeftBehind) {
    struct Case {
        const char* what;
        bool commit;
        std::string_view squatter;  // what takes the temporary name, if anything
        bool secondWriter;          // another writer of the same target, open at the same time
        const char* expected;
    };
    for (const Case& c : {Case{"committed", true, "", false, "new"},
                          Case{"dropped before its commit", false, "", false, "old"},
                          Case{"after a writer that died", true, "file", false, "new"},
                          Case{"past a folder", true, "folder", false, "new"},
#ifndef _WIN32  // a link needs rights there
                          Case{"past a link to another file", true, "link", false, "new"},
#endif
                          Case{"beside a live writer", true, "", true, "second"}}) {
        SCOPED_TRACE(c.what);
        const TempFolder folder;
        const std::string target = folder.Write("Config.xml", "old");
        const std::string other = folder.Write("other", "someone else's");
        if (c.squatter == "file") folder.Write("Config.xml.tmp", "half a file");
        if (c.squatter == "folder") fs::create_directory(target + ".tmp");
        if (c.squatter == "link") fs::create_symlink(other, target + ".tmp");
        {
            platform::AtomicFileWriter writer, second;
            ASSERT_TRUE(writer.Open(target));
            ASSERT_TRUE(writer.Write("new"));
            if (c.secondWriter) {
                ASSERT_TRUE(second.Open(target));
                ASSERT_TRUE(second.Write("second"));
            }
            EXPECT_EQ(ReadBytes(target), "old");
            if (c.commit) {
                ASSERT_TRUE(writer.Commit());
            }
            if (c.secondWriter) {
                ASSERT_TRUE(second.Commit());
            }
        }
        EXPECT_EQ(ReadBytes(target), c.expected);
        EXPECT_EQ(ReadBytes(other), "someone else's");
        // A dead writer's file goes; what no writer made may stay.
        std::vector<std::string> entries = FolderEntries(folder.Path());
        if (c.squatter == "folder" || c.squatter == "link") std::erase(entries, "Config.xml.tmp");
        EXPECT_EQ(entries, (std::vector<std::string>{"Config.xml", "other"}));
    }
}

// The reason reaches the player as the system's message for the error number.
TEST(AtomicFileWriter, AFailureSaysWhy) {
    const TempFolder folder;
    int error = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(folder.File("missing/Config.xml"), "x",
                                               platform::FileAccess::Everyone,
                                               platform::FileSync::Flush, &error));
    EXPECT_EQ(error, ENOENT);
}

}  // namespace
