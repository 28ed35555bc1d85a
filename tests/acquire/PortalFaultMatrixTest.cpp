#include <gtest/gtest.h>
#include <netdb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/PagePaths.h"
#include "acquire/RecordingNetworkErrors.h"
#include "acquire/RecordingReporter.h"
#include "platform/Files.h"
#include "portal/PortalPages.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/TestFiles.h"

// The download job against a portal that misbehaves on one city page, one shop page
// or every request: what lands on disk, what the user is told and what the job
// makes of it.
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// The fetcher's own limit on a connect or a stretch without data.
constexpr seconds kFetchTimeout{10};
// A run takes at most one fetch timeout or one slow page; anything longer is a hang.
constexpr seconds kHangGuard = kFetchTimeout + seconds(10);

// Every served page is padded to this size, so a slow rate fixes how long a page
// takes: at 100 bytes per second 12 s, longer than the fetch timeout.
constexpr size_t kServedPageBytes = 1200;

// Aimed at a city and a company halfway through their passes, so later items show
// whether the job went on.
constexpr int kFaultyCityIndex = 4;
constexpr int kFaultyCompanyId = 81;

const std::string kEarlierProduct = "前回の品";
const std::string kServedProduct = "今回の品";

// Each city lists companies 10 (i + 1) + 1 and + 2; its earlier page listed + 1 and + 3,
// so the shop pass shows which city page was read.
std::vector<int> ListedIds(int cityIndex, bool earlier) {
    const int base = 10 * (cityIndex + 1);
    return {base + 1, base + (earlier ? 3 : 2)};
}

// Every company either page of a city lists; each has an earlier and a served page.
std::vector<int> AllIds(int cityIndex) {
    const int base = 10 * (cityIndex + 1);
    return {base + 1, base + 2, base + 3};
}

enum class Aim { CityPage, ShopPage, EveryRequest };
enum class Host { Portal, RefusedPort, Unresolvable };
// What the page of a faulty item is on disk after the run.
enum class Version { Earlier, Served, Huge, Login };

struct FaultCase {
    const char* name;
    Host host;
    const char* rule;  // a fault rule of the portal, without its target
    Aim aim;
    int errorCode;  // of the "ErrorCode = N : ..." message per failing request; 0: no message
    Version faultyPage;
    bool shopErrorLine;  // "エラー！商会情報の取得に失敗しました" shown once
};

const FaultCase kCases[] = {
    {"RefusedConnection", Host::RefusedPort, "", Aim::EveryRequest, 7, Version::Earlier, false},
    {"UnresolvableHost", Host::Unresolvable, "", Aim::EveryRequest, 6, Version::Earlier, false},
    {"StallCity", Host::Portal, "stall=15", Aim::CityPage, 28, Version::Earlier, false},
    {"StallShop", Host::Portal, "stall=15", Aim::ShopPage, 28, Version::Earlier, false},
    {"SlowCity", Host::Portal, "slow=100", Aim::CityPage, 0, Version::Served, false},
    {"SlowShop", Host::Portal, "slow=100", Aim::ShopPage, 0, Version::Served, false},
    {"CutCity", Host::Portal, "cut", Aim::CityPage, 18, Version::Earlier, false},
    {"CutShop", Host::Portal, "cut", Aim::ShopPage, 18, Version::Earlier, false},
    {"ResetCity", Host::Portal, "reset", Aim::CityPage, 56, Version::Earlier, false},
    {"ResetShop", Host::Portal, "reset", Aim::ShopPage, 56, Version::Earlier, false},
    {"Status302City", Host::Portal, "status=302", Aim::CityPage, 0, Version::Earlier, false},
    {"Status302Shop", Host::Portal, "status=302", Aim::ShopPage, 0, Version::Earlier, false},
    {"Status304City", Host::Portal, "status=304", Aim::CityPage, 0, Version::Earlier, false},
    {"Status304Shop", Host::Portal, "status=304", Aim::ShopPage, 0, Version::Earlier, false},
    {"Status403City", Host::Portal, "status=403", Aim::CityPage, 0, Version::Earlier, false},
    {"Status403Shop", Host::Portal, "status=403", Aim::ShopPage, 0, Version::Earlier, false},
    {"Status500City", Host::Portal, "status=500", Aim::CityPage, 0, Version::Earlier, false},
    {"Status500Shop", Host::Portal, "status=500", Aim::ShopPage, 0, Version::Earlier, false},
    {"LoginPageCity", Host::Portal, "login", Aim::CityPage, 0, Version::Login, false},
    {"LoginPageShop", Host::Portal, "login", Aim::ShopPage, 0, Version::Login, true},
    {"EmptyBodyCity", Host::Portal, "empty", Aim::CityPage, 0, Version::Earlier, false},
    {"EmptyBodyShop", Host::Portal, "empty", Aim::ShopPage, 0, Version::Earlier, false},
    {"HugeBodyCity", Host::Portal, "huge=64", Aim::CityPage, 0, Version::Huge, false},
    {"HugeBodyShop", Host::Portal, "huge=64", Aim::ShopPage, 0, Version::Huge, false},
};

constexpr char kRefusedHost[] = "127.0.0.1:1";  // nobody listens on port 1
constexpr char kUnresolvableHost[] = "veradune-test.invalid";

// The portal's fault rule with its target, as veradune-portal --fault takes it.
std::string AimedRule(const FaultCase& fault) {
    const std::string target = fault.aim == Aim::CityPage
                                   ? "Tid=" + std::to_string(CityTable()[kFaultyCityIndex].id)
                                   : "Cid=" + std::to_string(kFaultyCompanyId);
    return fault.rule + (":" + target);
}

// Names the case in the test list.
void PrintTo(const FaultCase& fault, std::ostream* out) {
    switch (fault.host) {
        case Host::Portal:
            *out << AimedRule(fault);
            break;
        case Host::RefusedPort:
            *out << "every request to " << kRefusedHost;
            break;
        case Host::Unresolvable:
            *out << "every request to " << kUnresolvableHost;
            break;
    }
}

std::string Padded(std::string page) {
    if (page.size() < kServedPageBytes) page.append(kServedPageBytes - page.size(), '\n');
    return page;
}

std::string CityName(int cityIndex) {
    return ShiftJisToUtf8(CityTable()[cityIndex].name);
}

std::string CityPageOf(int cityIndex, bool earlier) {
    std::vector<std::pair<int, std::string>> companies;
    for (int id : ListedIds(cityIndex, earlier))
        companies.emplace_back(id, "商会" + std::to_string(id));
    const std::string page = CityPage(companies);
    return earlier ? page : Padded(page);
}

// A company's page names its home town by the id's tens, the city that lists it.
std::string ShopPageOf(int companyId, bool earlier) {
    const std::string page =
        ShopPage("商会" + std::to_string(companyId), CityName(companyId / 10 - 1),
                 {{earlier ? kEarlierProduct : kServedProduct, companyId}});
    return earlier ? page : Padded(page);
}

// The job on a thread of its own, so that a hang fails the test instead of
// blocking it. Empty when the job had to be cancelled.
std::optional<bool> RunWithHangGuard(DownloadJob& job, std::atomic<bool>& cancel) {
    auto result = std::async(std::launch::async, [&job] { return job.Run(); });
    if (result.wait_for(kHangGuard) == std::future_status::ready) return result.get();
    cancel = true;  // ends a transfer in progress
    if (result.wait_for(seconds(5)) != std::future_status::ready) {
        std::fputs("the download job does not return even when cancelled\n", stderr);
        std::abort();
    }
    return std::nullopt;
}

template <typename Value>
std::set<int> Keys(const std::map<int, Value>& map) {
    std::set<int> keys;
    for (const auto& [key, value] : map) keys.insert(key);
    return keys;
}

class PortalFaultMatrixTest : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override {
        std::map<int, std::string> cityPages;
        std::map<int, std::string> shopPages;
        for (int i = 0; i < kCityCount; ++i) {
            Seed(CityPageFileName(CityTable()[i].id), CityPageOf(i, true));
            cityPages[CityTable()[i].id] = CityPageOf(i, false);
            for (int id : AllIds(i)) {
                Seed(ShopPageFileName(id), ShopPageOf(id, true));
                shopPages[id] = ShopPageOf(id, false);
            }
        }

        portal::PortalSettings settings;
        if (*GetParam().rule != '\0') {
            std::string error;
            const auto rule = portal::ParseFaultRule(AimedRule(GetParam()), error);
            ASSERT_TRUE(rule) << error;
            m_faultValue = rule->value;
            settings.faults.push_back(*rule);
        }
        m_portal = std::make_unique<portal::PortalServer>(
            std::make_shared<portal::MemoryPageSource>(std::move(cityPages), std::move(shopPages)),
            std::move(settings));
        ASSERT_TRUE(m_portal->Start(0));
    }
    void Seed(const std::string& name, const std::string& page) {
        ASSERT_TRUE(platform::WriteFileAtomically(m_folder.File(name), page));
        m_seeded.insert(name);
    }

    std::string FetchHost() const {
        switch (GetParam().host) {
            case Host::Portal:
                return m_portal->HostPort();
            case Host::RefusedPort:
                return kRefusedHost;
            case Host::Unresolvable:
                return kUnresolvableHost;
        }
        return {};
    }

    bool Hits(Aim pass, bool faultyItem) const {
        return GetParam().aim == Aim::EveryRequest || (GetParam().aim == pass && faultyItem);
    }
    Version CityVersion(int cityIndex) const {
        return Hits(Aim::CityPage, cityIndex == kFaultyCityIndex) ? GetParam().faultyPage
                                                                  : Version::Served;
    }
    Version ShopVersion(int companyId) const {
        return Hits(Aim::ShopPage, companyId == kFaultyCompanyId) ? GetParam().faultyPage
                                                                  : Version::Served;
    }

    // The companies the job lists from the city pages it ends up with, in order.
    std::vector<int> ExpectedListing() const {
        std::vector<int> listing;
        for (int i = 0; i < kCityCount; ++i) {
            const Version version = CityVersion(i);
            if (version == Version::Login) continue;
            for (int id : ListedIds(i, version == Version::Earlier)) listing.push_back(id);
        }
        return listing;
    }

    void ExpectPage(const std::string& name, Version version, const std::string& earlier,
                    const std::string& served) const {
        SCOPED_TRACE(name);
        std::string contents;
        ASSERT_TRUE(platform::ReadWholeFile(m_folder.File(name), contents));
        switch (version) {
            case Version::Earlier:
                EXPECT_TRUE(contents == earlier) << "not the earlier page";
                break;
            case Version::Served:
                EXPECT_TRUE(contents == served) << "not the served page";
                break;
            case Version::Login:
                EXPECT_EQ(contents, portal::LoginPage());
                break;
            case Version::Huge:
                EXPECT_EQ(contents.size(), static_cast<size_t>(m_faultValue) << 20);
                EXPECT_TRUE(contents.starts_with(served));
                EXPECT_EQ(contents.find_first_not_of(" \n", served.size()), std::string::npos);
                break;
        }
    }

    TempFolder m_folder;
    std::set<std::string> m_seeded;
    int m_faultValue = 0;  // of the portal's fault rule: megabytes of a huge body
    std::unique_ptr<portal::PortalServer> m_portal;
};

// How long the resolver takes to give up on the unresolvable host; empty when it
// resolves the name after all (some resolvers answer every name).
std::optional<std::chrono::duration<double>> FailedLookupTime() {
    const auto start = std::chrono::steady_clock::now();
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(kUnresolvableHost, "80", nullptr, &found);
    if (found != nullptr) ::freeaddrinfo(found);
    if (result == 0) return std::nullopt;
    return std::chrono::steady_clock::now() - start;
}

TEST_P(PortalFaultMatrixTest, JobKeepsGoingAndKeepsWhatItCouldNotReplace) {
    const FaultCase& fault = GetParam();
    if (fault.host == Host::Unresolvable) {
        // Every request makes a lookup, so a resolver that waits on an unreachable
        // name server would trip the hang guard without any fault of the job.
        const auto lookup = FailedLookupTime();
        if (!lookup) GTEST_SKIP() << "this machine's resolver resolves " << kUnresolvableHost;
        if (*lookup > std::chrono::milliseconds(300))
            GTEST_SKIP() << "this machine's resolver takes " << lookup->count()
                         << " s to fail a lookup, too slow for one per request";
    }
    RecordingNetworkErrors errors;
    RecordingReporter reporter;
    std::atomic<bool> cancel{false};
    auto started = StartHttpFetcher({}, errors, cancel, kFetchTimeout);
    ASSERT_NE(started.fetcher, nullptr) << started.error;
    HttpFetcher& fetcher = *started.fetcher;
    DownloadJob job(m_folder.Path().string(),
                    DownloadSource{&fetcher, FetchHost(), "captain", "secret"}, reporter, cancel);
    const std::optional<bool> ok = RunWithHangGuard(job, cancel);
    ASSERT_TRUE(ok.has_value()) << "the job did not return within " << kHangGuard.count() << " s";
    EXPECT_TRUE(*ok) << "companies were listed, so the job ends with OK";

    // Every page on disk: the served one where the fetch succeeded, the earlier one
    // where it failed, and shops no longer listed untouched; no temporary file left.
    const std::vector<int> listing = ExpectedListing();
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(m_folder.Path()))
        onDisk.insert(entry.path().filename().string());
    EXPECT_EQ(onDisk, m_seeded);
    for (int i = 0; i < kCityCount; ++i)
        ExpectPage(CityPageFileName(CityTable()[i].id), CityVersion(i), CityPageOf(i, true),
                   CityPageOf(i, false));
    std::vector<std::pair<std::string, int>> expectedProducts;
    for (int i = 0; i < kCityCount; ++i) {
        for (int id : AllIds(i)) {
            const bool listed = std::find(listing.begin(), listing.end(), id) != listing.end();
            ExpectPage(ShopPageFileName(id), listed ? ShopVersion(id) : Version::Earlier,
                       ShopPageOf(id, true), ShopPageOf(id, false));
        }
    }
    for (int id : listing) {
        const Version version = ShopVersion(id);
        if (version != Version::Login)
            expectedProducts.emplace_back(
                version == Version::Earlier ? kEarlierProduct : kServedProduct, id);
    }
    EXPECT_EQ(NamesAndPrices(job.Products()), expectedProducts);

    // The same pages parsed again without the network give the same result.
    SilentJobReporter silent;
    DownloadJob parseOnly(m_folder.Path().string(), DownloadSource{}, silent, cancel);
    ASSERT_TRUE(parseOnly.Run());
    EXPECT_EQ(job.Companies(), parseOnly.Companies());
    EXPECT_TRUE(job.Products() == parseOnly.Products());

    // One message per failing request in the network layer, silence otherwise.
    const size_t failingRequests = fault.errorCode == 0             ? 0
                                   : fault.aim == Aim::EveryRequest ? kCityCount + listing.size()
                                                                    : 1;
    EXPECT_EQ(errors.texts.size(), failingRequests);
    const std::string prefix = "ErrorCode = " + std::to_string(fault.errorCode) + " : ";
    for (const std::string& text : errors.texts)
        EXPECT_TRUE(text.starts_with(prefix) && text.size() > prefix.size()) << text;
    for (const std::string& caption : errors.captions) EXPECT_EQ(caption, "LanguageSelect");
    const std::vector<std::string> lines = reporter.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "detail エラー！商会情報の取得に失敗しました"),
              fault.shopErrorLine ? 1 : 0);

    // Each page the job needed was asked for, the faulty one included.
    if (fault.host == Host::Portal) {
        const portal::RequestLog log = m_portal->Log();
        std::set<int> cities;
        for (const CityInfo& city : CityTable()) cities.insert(city.id);
        EXPECT_EQ(Keys(log.cityRequests), cities);
        EXPECT_EQ(Keys(log.shopRequests), std::set<int>(listing.begin(), listing.end()));
    }
}

INSTANTIATE_TEST_SUITE_P(Matrix, PortalFaultMatrixTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
