#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

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
// that fetches their pages and a parse pass that turns the saved pages into
// products. The job builds its own company list and product table; the caller
// takes them over only when Run succeeds, so a cancelled or failed run never
// leaves a half-rebuilt table behind.
class DownloadJob {
public:
    DownloadJob(std::string downloadFolder, DownloadSource source, JobReporter& reporter,
                const std::atomic<bool>& cancelRequested);

    // True when every pass ran to its end and at least one company was found.
    bool Run();

    // The passes, in the order Run calls them.
    int CountCompanies();  // number of companies listed, -1 when cancelled
    bool DownloadShopPages();
    bool ParseShopPages();

    std::vector<CompanyEntry>& Companies() { return m_companies; }
    std::vector<ProductRecord>& Products() { return m_products; }
    JobReporter& Reporter() { return m_reporter; }

private:
    std::string PagePath(const std::string& fileName) const;
    void CollectDistinctCompanies();

    std::string m_folder;
    DownloadSource m_source;
    // The account part of every query, the same for the whole run.
    std::string m_account;
    JobReporter& m_reporter;
    const std::atomic<bool>& m_cancelRequested;
    std::vector<CompanyEntry> m_companies;
    // Companies whose shop page the shop and parse passes handle: every company
    // once, in the order of its first listing (indices into m_companies).
    std::vector<size_t> m_distinct;
    // The saved shop page of each of m_distinct, in the same order.
    std::vector<std::string> m_shopPages;
    std::vector<ProductRecord> m_products;
};

// The worker thread's procedure: runs the job and, as its very last act, reports
// how it ended. Returns 1 when the job ended with OK, 0 otherwise.
std::uint32_t JobThreadProc(DownloadJob& job);
