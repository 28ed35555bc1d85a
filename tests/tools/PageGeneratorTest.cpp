#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "PageGenerator.h"
#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"
#include "support/TestFiles.h"

namespace {

// Every file of a folder with its bytes.
std::vector<std::pair<std::string, std::string>> FolderBytes(const std::filesystem::path& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : FolderEntries(folder))
        files.emplace_back(name, ReadBytes((folder / name).string()));
    return files;
}

TEST(PageGenerator, TheSampleIsItsSeedsFolderAndTruth) {
    const TempFolder work;
    const GeneratedPortal portal = GeneratePortal(20240601, 40, 30);  // scripts/make-sample.sh
    ASSERT_TRUE(WritePortal(portal, work.File("DownloadFiles")));
    EXPECT_TRUE(FolderBytes(work.Path() / "DownloadFiles") ==
                FolderBytes(VERADUNE_SAMPLE_DIR "/DownloadFiles"));
    EXPECT_TRUE(TruthTable(portal) == ReadBytes(VERADUNE_SAMPLE_DIR "/truth.tsv"));
    EXPECT_NE(TruthTable(GeneratePortal(20240602, 40, 30)), TruthTable(portal));
}

TEST(PageGenerator, AWrittenFolderParsesToItsTruth) {
    for (const auto& [shops, products] : {std::pair{13, 5}, {60, 12}, {0, 30}, {4, 0}}) {
        SCOPED_TRACE(testing::Message() << shops << " shops of " << products);
        const GeneratedPortal portal = GeneratePortal(shops, shops, products);
        const TempFolder work;
        ASSERT_TRUE(WritePortal(portal, work.File("DownloadFiles")));
        SilentJobReporter reporter;
        const std::atomic<bool> neverCancelled{false};
        DownloadJob job(work.File("DownloadFiles"), DownloadSource{}, reporter, neverCancelled);
        EXPECT_EQ(job.Run().end, shops > 0 ? JobEnd::Ok : JobEnd::NoCompany);
        EXPECT_TRUE(job.Products() == AllProducts(portal));
    }
}

}  // namespace
