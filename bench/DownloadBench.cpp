// The whole download job against the stand-in portal on a loopback port: the 13
// city pages and SHOPS generated shop pages (30 products each) fetched one after
// another with the program's HTTP fetcher, saved and parsed. Checks the companies
// and products against what the generator put into the pages, and shows how many
// connections the requests needed: the stand-in portal closes a connection after
// five requests (its HTTP library's default), so a fetcher that keeps its
// connection shows five requests per connection, one that does not shows one.
//
//   veradune-bench-download [SHOPS]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PageGenerator.h"
#include "acquire/ConnectionSettings.h"
#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/JobReporter.h"
#include "acquire/NetworkErrorReporter.h"
#include "portal/PageSource.h"
#include "portal/PortalServer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Each pass sets the bar back to 0 as it begins; those moments and the job's end
// split the run into its passes.
class PassTimer : public SilentJobReporter {
public:
    void SetProgressPos(int pos) override {
        if (pos == 0) marks.push_back(Clock::now());
    }
    void JobFinished(const JobResult&) override { marks.push_back(Clock::now()); }

    std::vector<Clock::time_point> marks;
};

class CountingErrorReporter : public NetworkErrorReporter {
public:
    void ShowNetworkError(const std::string& text, const std::string&) override {
        if (count++ == 0) first = text;
    }

    int count = 0;
    std::string first;
};

bool MatchesTheTruth(DownloadJob& job, const GeneratedPortal& generated) {
    return job.Companies() == AllCompanies(generated) && job.Products() == AllProducts(generated);
}

}  // namespace

int main(int argc, char** argv) {
    const int shops = argc > 1 ? std::atoi(argv[1]) : 3000;
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "veradune-bench-download" / "DownloadFiles";
    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);

    const GeneratedPortal generated = GeneratePortal(7, shops, 30);
    portal::PortalServer server(portal::MakeGeneratedPageSource(generated), {});
    if (!server.Start(0)) {
        std::fprintf(stderr, "cannot start the stand-in portal on a loopback port\n");
        return 1;
    }

    PassTimer passes;
    CountingErrorReporter errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart fetcher = StartHttpFetcher(ConnectionSettings{}, errors, cancel);
    if (!fetcher.fetcher) {
        std::fprintf(stderr, "cannot start a fetcher: %s\n", fetcher.error.c_str());
        return 1;
    }
    DownloadJob job(folder.string(),
                    DownloadSource{fetcher.fetcher.get(), server.HostPort(), "bench", "bench"},
                    passes, cancel);
    const Clock::time_point start = Clock::now();
    const bool ok = JobThreadProc(job) == 1;
    const double whole = Seconds(start, passes.marks.back());
    const portal::RequestLog log = server.Log();
    server.Stop();

    std::printf("download job: %d shops, %zu companies, %zu products\n", shops,
                job.Companies().size(), job.Products().size());
    if (passes.marks.size() == 4) {
        const double fetching = Seconds(passes.marks[0], passes.marks[2]);
        std::printf("city pass %.2f s, shop pass %.2f s, parse pass %.2f s\n",
                    Seconds(passes.marks[0], passes.marks[1]),
                    Seconds(passes.marks[1], passes.marks[2]),
                    Seconds(passes.marks[2], passes.marks[3]));
        std::printf("requests: %d in %.2f s, %.0f per second\n", log.total, fetching,
                    log.total / fetching);
    }
    std::printf("whole job: %.2f s\n", whole);
    std::printf("connections: %zu, %.1f requests per connection\n", log.connections.size(),
                log.connections.empty() ? 0.0 : double(log.total) / log.connections.size());
    if (errors.count > 0)
        std::printf("network errors: %d, the first: %s\n", errors.count, errors.first.c_str());
    const bool matches = ok && errors.count == 0 && MatchesTheTruth(job, generated);
    std::printf("%s\n", matches ? "OK" : "MISMATCH");
    fs::remove_all(folder.parent_path());
    return matches ? 0 : 1;
}
