// Settings files that are damaged, huge or built to attack the reader. Whatever
// the file, Load must end, stay within modest memory, say nothing, and leave the
// defaults or what it could read; the next Save must then write a complete file
// that reads back the same.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

#include "config/ConfigFileWriter.h"
#include "config/ConfigStore.h"
#include "shopdata/TextConversion.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

// A summary of the settings that keeps failure messages short with huge values.
std::string Summary(const ConfigStore& c) {
    auto text = [](const std::string& s) {
        return s.size() <= 40 ? ShiftJisToUtf8(s) : "(" + std::to_string(s.size()) + " bytes)";
    };
    std::string summary =
        "version=" + text(c.fileVersion) + " id=" + text(c.portalId) +
        " proxy=" + std::to_string(c.proxyEnabled) + "," + text(c.proxyServer) + "," +
        std::to_string(c.proxyPort) + "," + text(c.proxyUser) + "," + text(c.proxyPassword) +
        " date=" + text(c.lastUpdate) + " list=" + std::to_string(c.rowHeight) + "," +
        std::to_string(c.listBackColor) + "," + std::to_string(c.listTextColor) + "," +
        std::to_string(c.sortColumn) + "," + std::to_string(c.sortOrder) + " cities=";
    for (int flag : c.cityEnabled) summary += std::to_string(flag);
    summary += " history=" + std::to_string(c.searchHistory.size());
    if (!c.searchHistory.empty())
        summary += ":" + text(c.searchHistory.front()) + ".." + text(c.searchHistory.back());
    return summary;
}

void ExpectSame(const ConfigStore& actual, const ConfigStore& expected) {
    EXPECT_TRUE(actual == expected)
        << "  actual: " << Summary(actual) << "\nexpected: " << Summary(expected);
}

// What Load must give for one file: `loaded` is its result, `fileSize` the size
// of the file, so that a value can be held to what the file itself spells out.
using Verdict = std::function<void(bool loaded, const ConfigStore& read, size_t fileSize)>;

Verdict Refused() {
    return [](bool loaded, const ConfigStore& read, size_t) {
        EXPECT_FALSE(loaded);
        ExpectSame(read, ConfigStore());
    };
}

Verdict Reads(std::function<void(ConfigStore&)> change) {
    return [change](bool loaded, const ConfigStore& read, size_t) {
        EXPECT_TRUE(loaded);
        ConfigStore expected;
        change(expected);
        ExpectSame(read, expected);
    };
}

// For files at the parser's limits: either the whole file is refused, or it is
// read as `change` says.
Verdict RefusedOrReads(std::function<void(ConfigStore&)> change) {
    return [change](bool loaded, const ConfigStore& read, size_t fileSize) {
        (loaded ? Reads(change) : Refused())(loaded, read, fileSize);
    };
}

// For entity bombs: refused whole, or expanded no further than the file's own
// size allows, with the rest of the file read.
Verdict BoundedExpansion(const char* letters) {
    return [letters](bool loaded, const ConfigStore& read, size_t fileSize) {
        if (!loaded) return Refused()(loaded, read, fileSize);
        EXPECT_LE(read.portalId.size(), fileSize);
        EXPECT_EQ(read.portalId.find_first_not_of(letters), std::string::npos);
        EXPECT_EQ(read.proxyServer, "srv");
    };
}

struct HostileFile {
    const char* what;
    std::string bytes;
    Verdict verdict;
    long memoryLimitMb = 48;  // growth of the loading process's peak memory
};

constexpr unsigned kDeadlineSeconds = 60;

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    return -1;
}

struct ChildLoad {
    bool finished = false;  // ended on its own within the deadline
    bool loaded = false;
    long peakGrowthKb = -1;  // -1: the peak could not be measured
};

// Loads the file in a child process that the deadline ends, so that a reader that
// hangs fails the test instead of stalling it, and whose peak memory is measured
// apart from the test's own.
ChildLoad LoadInChild(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        alarm(kDeadlineSeconds);
        // "5" resets the peak to the present size.
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5" << std::flush;
        const bool measured = reset.good();
        const long before = StatusKb("VmRSS");
        ConfigStore store;
        const char loaded = store.Load(path) ? 1 : 0;
        const long growth = measured ? StatusKb("VmHWM") - before : -1;
        const bool sent = write(channel[1], &loaded, 1) == 1 &&
                          write(channel[1], &growth, sizeof growth) == sizeof growth;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    ChildLoad result;
    char loaded = 0;
    long growth = -1;
    const bool received = read(channel[0], &loaded, 1) == 1 &&
                          read(channel[0], &growth, sizeof growth) == sizeof growth;
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.finished = received && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.loaded = loaded != 0;
    result.peakGrowthKb = growth;
    return result;
}

// The whole check for one hostile file at `path`.
void ExpectSafeLoadAndRepair(const HostileFile& file, const std::string& path) {
    SCOPED_TRACE(file.what);
    const ChildLoad child = LoadInChild(path);
    ASSERT_TRUE(child.finished) << "Load crashed or ran past " << kDeadlineSeconds << " s";
    if (child.peakGrowthKb >= 0) {
        EXPECT_LT(child.peakGrowthKb, file.memoryLimitMb * 1024);
    }

    ConfigStore read;
    testing::internal::CaptureStderr();
    const bool loaded = read.Load(path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(loaded, child.loaded);
    file.verdict(loaded, read, file.bytes.size());

    // The next save repairs the file.
    ASSERT_TRUE(read.Save(path));
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.rfind("<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune", 0), 0u);
    EXPECT_TRUE(saved.ends_with("\n</veradune>\n"));
    ConfigStore reread;
    EXPECT_TRUE(reread.Load(path));
    ExpectSame(reread, read);
}

std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Ten entities, each ten references to the one before: a billion copies of
// `base` once expanded.
std::string Laughs(const std::string& base) {
    std::string dtd = "<!ENTITY l0 \"" + base + "\">";
    for (int i = 1; i < 10; ++i) {
        dtd += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) dtd += "&l" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    return "<?xml version=\"1.0\"?><!DOCTYPE veradune [" + dtd +
           "]><veradune><harvala_info id=\"&l9;\"/><proxy_info server=\"srv\"/></veradune>";
}

// One 100 KB entity referenced 2,000 times: 200 MB from a file of 106 KB.
std::string QuadraticBlowup() {
    std::string refs;
    for (int i = 0; i < 2000; ++i) refs += "&x;";
    return "<!DOCTYPE veradune [<!ENTITY x \"" + std::string(100000, 'x') +
           "\">]><veradune><harvala_info id=\"" + refs +
           "\"/><proxy_info server=\"srv\"/></veradune>";
}

// An entity referenced twice in a file padded to hold both copies: the value
// read is longer than the parser takes in one attribute, yet the file written
// from it must read back.
std::string PastTheAttributeLimit() {
    const std::string padding = "<!--" + std::string(3u << 20, '.') + "-->";
    return "<!DOCTYPE veradune [<!ENTITY y \"" + std::string(5500000, 'y') + "\">]>" + padding +
           padding +
           "<veradune><harvala_info id=\"&y;&y;\"/><proxy_info server=\"srv\"/>"
           "</veradune>";
}

// History entry `i` as it is read, and as the file spells it.
std::string Word(int i) {
    const std::string n = std::to_string(i);
    return i % 7 ? "ソ表能ﾎﾟｰｼｮﾝ" + n : "a&b<" + n + ">\"";
}
std::string WordInFile(int i) {
    const std::string n = std::to_string(i);
    return i % 7 ? Word(i) : "a&amp;b&lt;" + n + "&gt;&quot;";
}

std::string LongHistory(int entries) {
    std::string file =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<veradune version=\"\">"
        "<harvala_info id=\"me\"/><proxy_info/><download_info/><list_info/>"
        "<city_info/><search_history>";
    for (int i = 0; i < entries; ++i) file += "\n\t\t<search_word name=\"" + WordInFile(i) + "\"/>";
    return file + "\n\t</search_history>\n</veradune>\n";
}

std::string Nested(int depth) {
    std::string file = "<veradune version=\"v\"><harvala_info id=\"x\"/>";
    file.reserve(file.size() + 7 * static_cast<size_t>(depth) + 16);
    for (int i = 0; i < depth; ++i) file += "<a>";
    for (int i = 0; i < depth; ++i) file += "</a>";
    return file + "</veradune>";
}

TEST(HostileConfig, LoadsSafelyAndTheNextSaveRepairs) {
    const TempFolder folder;
    ConfigStore full;
    full.portalId = "me";
    full.searchHistory = {"a", "b"};
    const std::string saved = SerializeConfig(full);
    const std::string hugeValue(20u << 20, 'a');
    const int historySize = 100000;

    const HostileFile files[] = {
        {"empty", "", Refused()},
        {"plain text", "portalId=me\nrowHeight=30\n", Refused()},
        {"binary", RandomBytes(1 << 16, 1), Refused()},
        {"NUL bytes", std::string(4096, '\0'), Refused()},
        {"a saved file cut in half", saved.substr(0, saved.size() / 2), Refused()},
        {"unknown encoding", "<?xml version='1.0' encoding='x-klingon'?><veradune/>", Refused()},
        {"internal DTD with internal entities",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE veradune [<!ELEMENT veradune ANY>"
         "<!ENTITY captain \"船長&#38;amp;副長\"><!ENTITY twice \"&captain;/&captain;\">]>"
         "<veradune version=\"&twice;\"><harvala_info id=\"&captain;\"/>"
         "<proxy_info enable=\"1\" server=\"&twice;\" port=\"&#56;&#48;\"/></veradune>",
         Reads([](ConfigStore& c) {
             c.fileVersion = S("船長&副長/船長&副長");
             c.portalId = S("船長&副長");
             c.proxyEnabled = 1;
             c.proxyServer = S("船長&副長/船長&副長");
             c.proxyPort = 80;
         })},
        {"billion laughs", Laughs("lol"), BoundedExpansion("lo")},
        {"billion laughs of empty entities", Laughs(""), BoundedExpansion("")},
        {"one 100 KB entity referenced 2,000 times", QuadraticBlowup(), BoundedExpansion("x"), 32},
        {"entities expanding past the parser's attribute limit", PastTheAttributeLimit(),
         BoundedExpansion("y"), 256},
        {"external entities on endless devices",
         "<!DOCTYPE veradune [<!ENTITY zero SYSTEM \"/dev/zero\">"
         "<!ENTITY random SYSTEM \"file:///dev/urandom\">]>"
         "<veradune version=\"v\"><harvala_info id=\"a\"/>&zero;&random;</veradune>",
         Reads([](ConfigStore& c) {
             c.fileVersion = "v";
             c.portalId = "a";
         })},
        {"a million nested elements", Nested(1000000), RefusedOrReads([](ConfigStore& c) {
             c.fileVersion = "v";
             c.portalId = "x";
         })},
        {"100,000 search history entries", LongHistory(historySize), Reads([&](ConfigStore& c) {
             c.portalId = "me";
             c.rowHeight = c.listBackColor = c.listTextColor = c.sortColumn = c.sortOrder = 0;
             for (int i = 0; i < historySize; ++i) c.searchHistory.push_back(S(Word(i)));
         }),
         256},
        {"a 20 MB id",
         "<veradune><harvala_info id=\"" + hugeValue +
             "\"/><proxy_info server=\"srv\"/></veradune>",
         RefusedOrReads([&](ConfigStore& c) {
             c.portalId = hugeValue;
             c.proxyServer = "srv";
         }),
         256},
        {"a 20 MB search word after readable sections",
         "<veradune><harvala_info id=\"me\"/><proxy_info/><download_info/><list_info/><city_info/>"
         "<search_history><search_word name=\"" +
             hugeValue + "\"/></search_history></veradune>",
         RefusedOrReads([&](ConfigStore& c) {
             c.portalId = "me";
             c.rowHeight = c.listBackColor = c.listTextColor = c.sortColumn = c.sortOrder = 0;
             c.searchHistory = {hugeValue};
         }),
         256},
    };
    for (const HostileFile& file : files)
        ExpectSafeLoadAndRepair(file, folder.Write("Config.xml", file.bytes));
}

TEST(HostileConfig, UnicodeTextIsReadAndRewrittenInShiftJis) {
    // Second bytes 5C and 7C, half-width katakana, NEC and IBM extensions, and a
    // character that Shift-JIS lacks.
    const std::string text = "ソ表能ポ－\\|ﾊﾝｶｸ①髙😀";
    std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><veradune version=\"" + text +
                       "\"><harvala_info id=\"" + text + "\"/><proxy_info server=\"" + text +
                       "\" user=\"" + text + "\" pass=\"" + text + "\"/><download_info date=\"" +
                       text + "\"/><list_info/><city_info/><search_history><search_word name=\"" +
                       text + "\"/></search_history></veradune>";
    const std::string sjis = S(text);
    ASSERT_EQ(ShiftJisToUtf8(sjis), "ソ表能ポ－\\|ﾊﾝｶｸ①髙?");
    const HostileFile unicode = {"UTF-8", file, Reads([&](ConfigStore& c) {
                                     c.fileVersion = c.portalId = c.proxyServer = sjis;
                                     c.proxyUser = c.proxyPassword = c.lastUpdate = sjis;
                                     c.rowHeight = c.listBackColor = c.listTextColor = 0;
                                     c.sortColumn = c.sortOrder = 0;
                                     c.searchHistory = {sjis};
                                 })};
    const TempFolder folder;
    const std::string path = folder.Write("Config.xml", unicode.bytes);
    ExpectSafeLoadAndRepair(unicode, path);
    const std::string saved = ReadBytes(path);
    EXPECT_NE(saved.find("name=\"" + sjis + "\""), std::string::npos);
    EXPECT_EQ(saved.find("ソ"), std::string::npos) << "no UTF-8 left";

    // The same text in UTF-16, told apart by its byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("<veradune><harvala_info id=\"\x01\"/></veradune>")) {
        if (c == '\x01') {
            utf16 += std::string("\xBD\x30\x68\x88\xFD\x80", 6);  // ソ表能
        } else {
            utf16 += c;
            utf16 += '\0';
        }
    }
    const HostileFile wide = {"UTF-16", utf16,
                              Reads([](ConfigStore& c) { c.portalId = S("ソ表能"); })};
    ExpectSafeLoadAndRepair(wide, folder.Write("Config.xml", wide.bytes));
}

TEST(HostileConfig, ADirectoryInItsPlaceIsLeftAlone) {
    const TempFolder folder;
    const std::string path = folder.File("Config.xml");
    std::filesystem::create_directory(path);
    folder.Write("Config.xml/inside", "x");

    ConfigStore store;
    EXPECT_FALSE(store.Load(path));
    ExpectSame(store, ConfigStore());
    EXPECT_FALSE(store.Save(path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(ReadBytes(folder.File("Config.xml/inside")), "x");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.File("")))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file left behind";
}

// Nothing but a plain file is read: a pipe nobody writes to or an endless device
// would hold up start-up for good.
TEST(HostileConfig, OnlyAPlainFileIsRead) {
    const TempFolder folder;
    const std::string fifo = folder.File("fifo.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = folder.File("zero.xml");
    std::filesystem::create_symlink("/dev/zero", zero);
    for (const std::string& path : {fifo, zero}) {
        SCOPED_TRACE(path);
        ConfigStore store;
        EXPECT_FALSE(store.Load(path));
        ExpectSame(store, ConfigStore());
    }
}

// A listening socket on the loopback interface that is never accepted from: any
// connection to it waits in its queue, where Pending sees it.
class Listener {
public:
    Listener() : m_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(m_fd, 16) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~Listener() { close(m_fd); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int Port() const { return m_port; }
    bool Pending() const {
        pollfd wait = {m_fd, POLLIN, 0};
        return poll(&wait, 1, 0) > 0;
    }

private:
    int m_fd;
    int m_port = 0;
};

// A settings file must not pull in another file or reach the network, however it
// names them: no connection arrives, and no other file's text shows up in what is
// read or in the repaired file.
TEST(HostileConfig, NeverReadsAnotherFileOrTheNetwork) {
    const Listener listener;
    ASSERT_NE(listener.Port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(listener.Port()) + "/";
    const TempFolder folder;
    const std::string secret = "LEAKED-SECRET";
    const std::string secretFile = folder.Write("secret.xml", "<x id=\"" + secret + "\"/>");
    const std::string dtd = folder.Write(
        "secret.dtd", "<!ENTITY leak \"" + secret + "\"><!ATTLIST search_word name CDATA \"" +
                          secret + "\"><!ATTLIST harvala_info id CDATA \"" + secret + "\">");
    const std::string body =
        "<veradune version=\"v\"><harvala_info id=\"me\"/><proxy_info/><download_info/>"
        "<list_info/><city_info/><search_history><search_word/></search_history></veradune>";
    const auto plain = [](ConfigStore& c) {
        c.fileVersion = "v";
        c.portalId = "me";
        c.rowHeight = c.listBackColor = c.listTextColor = c.sortColumn = c.sortOrder = 0;
        c.searchHistory = {""};
    };
    auto withEntityIn = [&](const std::string& declaration, const std::string& reference) {
        std::string file = "<!DOCTYPE veradune [" + declaration + "]>" + body;
        file.replace(file.find("id=\"me\""), 7, "id=\"" + reference + "\"");
        return file;
    };

    const HostileFile files[] = {
        {"external DTD by URL", "<!DOCTYPE veradune SYSTEM \"" + url + "v.dtd\">" + body,
         Reads(plain)},
        {"public DTD by URL",
         "<!DOCTYPE veradune PUBLIC \"-//V//DTD V//EN\" \"" + url + "v.dtd\">" + body,
         Reads(plain)},
        {"external parameter entity by URL",
         "<!DOCTYPE veradune [<!ENTITY % p SYSTEM \"" + url + "p.ent\"> %p;]>" + body,
         RefusedOrReads(plain)},
        {"external entity by URL in the content",
         "<!DOCTYPE veradune [<!ENTITY e SYSTEM \"" + url +
             "e.ent\">]><veradune version=\"v\"><harvala_info id=\"me\"/>&e;</veradune>",
         Reads([](ConfigStore& c) {
             c.fileVersion = "v";
             c.portalId = "me";
         })},
        {"external entity by URL in an attribute",
         withEntityIn("<!ENTITY e SYSTEM \"" + url + "e.ent\">", "&e;"), RefusedOrReads(plain)},
        {"XInclude by URL",
         "<veradune xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + url +
             "x.xml\"/></veradune>",
         Reads([](ConfigStore&) {})},
        {"external DTD by path with attribute defaults",
         "<!DOCTYPE veradune SYSTEM \"file://" + dtd + "\">" + body, Reads(plain)},
        {"external entity by file URL in an attribute",
         withEntityIn("<!ENTITY e SYSTEM \"file://" + secretFile + "\">", "&e;"),
         RefusedOrReads(plain)},
        {"internal entity that names an external one",
         withEntityIn("<!ENTITY e SYSTEM \"" + secretFile + "\"><!ENTITY i \"&e;\">", "&i;"),
         RefusedOrReads(plain)},
        {"XInclude by path",
         "<veradune xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + secretFile +
             "\" parse=\"text\"/></veradune>",
         Reads([](ConfigStore&) {})},
    };
    for (const HostileFile& file : files) {
        const std::string path = folder.Write("Config.xml", file.bytes);
        ExpectSafeLoadAndRepair(file, path);
        EXPECT_FALSE(listener.Pending()) << file.what << ": a connection was made";
        // The repaired file holds all that was read.
        EXPECT_EQ(ReadBytes(path).find(secret), std::string::npos) << file.what;
    }

    // The check above would see a connection.
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(listener.Port()));
    EXPECT_EQ(connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_TRUE(listener.Pending());
    close(probe);
}

}  // namespace
