#include "acquire/DownloadJob.h"

#include <unordered_set>

#include "acquire/CityPageParser.h"
#include "acquire/JobReporter.h"
#include "acquire/OrderedPageParser.h"
#include "acquire/PageFetcher.h"
#include "acquire/PagePaths.h"
#include "acquire/PortalQuery.h"
#include "platform/Files.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

// The progress texts, in the order of Text's table.
enum class JobText { Counting, CityPrefix, Downloading, Total, IdPrefix, CompanyPrefix, Parsing };

const std::string& Text(JobText which) {
    static const std::string texts[] = {
        ToShiftJis("商会数合計を調べています..."),
        ToShiftJis("取得中の都市："),
        ToShiftJis("商品リストをダウンロード中です...\t取得済："),
        ToShiftJis(" / 合計："),
        ToShiftJis("ID："),
        ToShiftJis(" 商会名："),
        ToShiftJis("商品リストを解析中です..."),
    };
    return texts[static_cast<size_t>(which)];
}

}  // namespace

DownloadJob::DownloadJob(std::string downloadFolder, DownloadSource source, JobReporter& reporter,
                         const std::atomic<bool>& cancelRequested)
    : m_folder(std::move(downloadFolder)),
      m_staging(m_folder),
      m_source(std::move(source)),
      m_account(AccountSuffix(m_source.portalId, m_source.portalPassword)),
      m_reporter(reporter),
      m_cancelRequested(cancelRequested) {}

std::string DownloadJob::PageToRead(const std::string& fileName) const {
    // A run that only parses writes nothing, so it reads a set a crash left half
    // moved as the next start will finish it; asking the disk only then keeps the
    // thousands of ordinary reads free of it.
    const bool staged = m_source.fetcher ? m_fetchedPages.count(fileName) > 0 : m_readMarkedSet;
    return staged ? m_staging.PageToRead(fileName) : platform::JoinPath(m_folder, fileName);
}

void DownloadJob::Fetch(const std::string& objectPath, const std::string& fileName) {
    if (m_source.fetcher->FetchToFile(m_source.host, objectPath + m_account,
                                      m_staging.StagedPath(fileName)) > 0) {
        ++m_fetched;
        m_fetchedPages.insert(fileName);
        return;
    }
    if (platform::PathExists(platform::JoinPath(m_folder, fileName))) ++m_kept;
    const std::string failure = m_source.fetcher->LastFailure();
    if (!failure.empty()) m_lastFailure = failure;
}

JobResult DownloadJob::Run() {
    m_fetched = m_kept = 0;
    m_lastFailure.clear();
    m_fetchedPages.clear();
    m_readMarkedSet = !m_source.fetcher && m_staging.IsMarked();
    // A staging folder that cannot be made shows as pages that cannot be written.
    if (m_source.fetcher) m_staging.Begin();
    const int companies = CountCompanies();
    if (companies < 0) return Finish(JobEnd::Cancelled);
    const bool nothingFetched = m_source.fetcher && m_fetched == 0;
    if (companies == 0) return Finish(nothingFetched ? JobEnd::NothingFetched : JobEnd::NoCompany);
    // A company listed twice has one page, so the bar counts pages, not listings.
    m_reporter.SetProgressRange(static_cast<int>(m_distinct.size()));
    if (!DownloadShopPages()) return Finish(JobEnd::Cancelled);
    if (m_source.fetcher && m_fetched == 0) return Finish(JobEnd::NothingFetched);
    if (!ParseShopPages() || m_cancelRequested.load()) return Finish(JobEnd::Cancelled);
    // A move that fails halfway is finished by the next start, which reads the new
    // set until then.
    if (m_source.fetcher) m_staging.Commit();
    return Finish(JobEnd::Ok);
}

JobResult DownloadJob::Finish(JobEnd end) {
    if (end != JobEnd::Ok && m_source.fetcher) m_staging.Discard();
    return {end, end == JobEnd::Ok ? m_kept : 0, m_lastFailure};
}

int DownloadJob::CountCompanies() {
    m_reporter.SetStatusLine(Text(JobText::Counting));
    m_reporter.SetProgressPos(0);
    m_companies.clear();
    m_distinct.clear();
    m_shopPages.clear();
    m_reporter.SetProgressRange(kCityCount);
    for (int i = 0; i < kCityCount; ++i) {
        if (m_cancelRequested.load()) return -1;
        const CityInfo& city = CityTable()[i];
        const std::string fileName = CityPageFileName(city.id);
        m_reporter.SetDetailLine(Text(JobText::CityPrefix) + city.name);
        if (m_source.fetcher) Fetch(CompanyListQuery(city.id), fileName);
        ParseCityPage(PageToRead(fileName), city.name, m_companies);
        m_reporter.SetProgressPos(i + 1);
    }
    CollectDistinctCompanies();
    return static_cast<int>(m_companies.size());
}

void DownloadJob::CollectDistinctCompanies() {
    std::unordered_set<int> seen;
    for (size_t i = 0; i < m_companies.size(); ++i) {
        if (!seen.insert(m_companies[i].companyId).second) continue;
        m_distinct.push_back(i);
        m_shopPages.push_back(ShopPageFileName(m_companies[i].companyId));
    }
}

bool DownloadJob::DownloadShopPages() {
    if (!m_source.fetcher) return true;
    m_reporter.SetProgressPos(0);
    const int total = static_cast<int>(m_distinct.size());
    for (int j = 1; j <= total; ++j) {
        if (m_cancelRequested.load()) return false;
        const CompanyEntry& company = m_companies[m_distinct[j - 1]];
        m_reporter.SetStatusLine(Text(JobText::Downloading) + FormatInt(j) + Text(JobText::Total) +
                                 FormatInt(total));
        Fetch(ShopPageQuery(company.companyId), m_shopPages[j - 1]);
        m_reporter.SetDetailLine(Text(JobText::IdPrefix) + ZeroFilledNumber(company.companyId) +
                                 Text(JobText::CompanyPrefix) + company.companyName);
        m_reporter.SetProgressPos(j);
    }
    return true;
}

bool DownloadJob::ParseShopPages() {
    m_reporter.SetStatusLine(Text(JobText::Parsing));
    m_reporter.SetProgressPos(0);
    m_products.clear();
    std::vector<std::string> paths;
    paths.reserve(m_shopPages.size());
    for (const std::string& fileName : m_shopPages) paths.push_back(PageToRead(fileName));
    const bool completed =
        ParseShopPagesInOrder(paths, m_cancelRequested, [&](size_t index, ParsedShopPage& page) {
            if (!page.detail.empty()) m_reporter.SetDetailLine(page.detail);
            // Each page joins the table as it is handed over, its records still in
            // the cache. The room is judged from the pages so far and reserved again
            // only when a page overruns it, so records seldom move; room left
            // untouched costs address space, not memory.
            const size_t needed = m_products.size() + page.products.size();
            if (needed > m_products.capacity())
                m_products.reserve(needed * paths.size() / (index + 1) * 5 / 4);
            m_products.insert(m_products.end(), std::make_move_iterator(page.products.begin()),
                              std::make_move_iterator(page.products.end()));
            m_reporter.SetProgressPos(static_cast<int>(index) + 1);
        });
    return completed;
}

std::uint32_t JobThreadProc(DownloadJob& job) {
    const JobResult result = job.Run();
    job.Reporter().JobFinished(result);
    return result.end == JobEnd::Ok ? 1 : 0;
}
