// Settings files built to attack the reader: whatever the file, Load ends soon,
// reaches no other file and no network, and the next Save writes a complete file
// that reads back the same. Entity expansion is bounded by the fuzz target, whose
// regressions hold the expansion bombs.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/ConfigStore.h"
#include "support/TestFiles.h"

namespace {

TEST(HostileConfig, LoadsSafelyAndTheNextSaveRepairs) {
    // A loopback socket that never accepts: a connection would wait in its queue.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 16), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/x";

    const TempFolder folder;
    const std::string secret = folder.Write("secret.xml", "<x id=\"LEAKED\"/>");
    const std::string body = "<veradune><harvala_info id=\"me\"/></veradune>";
    std::string nested;
    for (int i = 0; i < 1000000; ++i) nested += "<a>";
    for (int i = 0; i < 1000000; ++i) nested += "</a>";
    const struct {
        const char* what;
        std::string bytes;
        const char* idLetters;  // what the id may hold once read
    } cases[] = {
        {"external DTD by URL", "<!DOCTYPE veradune SYSTEM \"" + url + "\">" + body, "me"},
        {"external entity by URL",
         "<!DOCTYPE veradune [<!ENTITY e SYSTEM \"" + url +
             "\">]><veradune><harvala_info id=\"&e;\"/></veradune>",
         ""},
        {"external entity by path behind an internal one",
         "<!DOCTYPE veradune [<!ENTITY e SYSTEM \"" + secret +
             "\"><!ENTITY i \"&e;\">]><veradune><harvala_info id=\"&i;\"/>&e;</veradune>",
         ""},
        {"endless device",
         "<!DOCTYPE veradune [<!ENTITY z SYSTEM \"/dev/zero\">]><veradune>&z;</veradune>", ""},
        {"XInclude",
         "<veradune xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + secret +
             "\" parse=\"text\"/></veradune>",
         ""},
        {"a million nested elements",
         "<veradune><harvala_info id=\"me\"/>" + nested + "</veradune>", "me"},
    };
    const std::string path = folder.File("Config.xml");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.Write("Config.xml", c.bytes);
        ConfigStore read;
        if (read.Load(path)) {
            EXPECT_LE(read.portalId.size(), c.bytes.size());
            EXPECT_EQ(read.portalId.find_first_not_of(c.idLetters), std::string::npos);
        } else {
            EXPECT_TRUE(read == ConfigStore());
        }
        pollfd pending = {listener, POLLIN, 0};
        EXPECT_EQ(::poll(&pending, 1, 0), 0) << "a connection was made";
        ASSERT_TRUE(read.Save(path));
        EXPECT_EQ(ReadBytes(path).find("LEAKED"), std::string::npos);
        ConfigStore reread;
        EXPECT_TRUE(reread.Load(path));
        EXPECT_TRUE(reread == read);
    }
    ::close(listener);
}

// Only a plain file is read: a pipe nobody writes to or an endless device would
// hold up start-up for good; a directory in the file's place is left alone.
TEST(HostileConfig, NoPlainFileIsLeftAlone) {
    const TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder.File("zero"));
    std::filesystem::create_directory(folder.File("Config.xml"));
    folder.Write("Config.xml/inside", "x");
    for (const char* name : {"fifo", "zero", "Config.xml"}) {
        ConfigStore store;
        EXPECT_FALSE(store.Load(folder.File(name))) << name;
        EXPECT_TRUE(store == ConfigStore()) << name;
    }
    EXPECT_FALSE(ConfigStore().Save(folder.File("Config.xml")));
    EXPECT_EQ(ReadBytes(folder.File("Config.xml/inside")), "x");
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"Config.xml", "fifo", "zero"}));
}

}  // namespace
