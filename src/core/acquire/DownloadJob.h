#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "acquire/JobResult.h"
#include "acquire/PageStaging.h"
#include "shopdata/CompanyEntry.h"
#include "shopdata/ProductRecord.h"

class JobReporter;
class PageFetcher;

// Where the job fetches from. Without a fetcher the job only parses the pages
// already saved.
struct DownloadSource {
    PageFetcher* fetcher = nullptr;
    std::string host;
    std::string portalId;
    std::string portalPassword;
};

// The shop data refresh: a city pass that collects the companies, a shop pass
// that fetches their pages and a parse pass that turns the pages into products.
// The job is a transaction in memory and on disk: it builds its own company list
// and product table, which the caller takes over only after OK, and the pages it
// fetches replace the saved ones only when it ends with OK (PageStaging). A page
// it could not fetch keeps its earlier copy, which is parsed instead.
class DownloadJob {
public:
    DownloadJob(std::string downloadFolder, DownloadSource source, JobReporter& reporter,
                const std::atomic<bool>& cancelRequested);

    // OK when every pass ran to its end, a company was found and, when
    // downloading, at least one request succeeded.
    JobResult Run();

    // The passes, in the order Run calls them.
    int CountCompanies();  // number of companies listed, -1 when cancelled
    bool DownloadShopPages();
    bool ParseShopPages();

    std::vector<CompanyEntry>& Companies() { return m_companies; }
    std::vector<ProductRecord>& Products() { return m_products; }
    JobReporter& Reporter() { return m_reporter; }

private:
    // Fetches a page into the staging folder; counts how it went.
    void Fetch(const std::string& objectPath, const std::string& fileName);
    // The copy of a page the passes read.
    std::string PageToRead(const std::string& fileName) const;
    JobResult Finish(JobEnd end);
    void CollectDistinctCompanies();

    std::string m_folder;
    PageStaging m_staging;
    DownloadSource m_source;
    // The account part of every query, the same for the whole run.
    std::string m_account;
    JobReporter& m_reporter;
    const std::atomic<bool>& m_cancelRequested;
    std::vector<CompanyEntry> m_companies;
    // Companies whose shop page the shop and parse passes handle: every company
    // once, in the order of its first listing (indices into m_companies).
    std::vector<size_t> m_distinct;
    // The shop page file of each of m_distinct, in the same order.
    std::vector<std::string> m_shopPages;
    int m_fetched = 0;
    int m_kept = 0;                                  // pages not fetched whose earlier copy stands
    std::unordered_set<std::string> m_fetchedPages;  // staged by this run
    bool m_readMarkedSet = false;                    // a parse of a set a crash left marked
    std::string m_lastFailure;
    std::vector<ProductRecord> m_products;
};

// The worker thread's procedure: runs the job and, as its very last act, reports
// how it ended. Returns 1 when the job ended with OK, 0 otherwise.
std::uint32_t JobThreadProc(DownloadJob& job);
