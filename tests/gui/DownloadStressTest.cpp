// Cancel, Esc and the close box, pressed over and over at random moments of each
// pass of a running download: the dialog always ends with Cancel, its stop returns
// within the worker's stop timeout, and the settings and products it was lent are
// exactly as before (a download is taken over only on OK).

#include <gtest/gtest.h>

#include <random>

#include "AccountAnswers.h"
#include "DownloadCanceller.h"
#include "DownloadDialogFixture.h"
#include "PageGenerator.h"
#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "mainframe/ModalRunner.h"

#if defined(__SANITIZE_THREAD__)
// While a press is handled the user-interface thread reads no report of the job,
// and the worker runs on. A report's hand-over through Qt's event queue is let off
// by the frames that posted it (tests/tsan.supp), which ThreadSanitizer can name
// only while they are still in the worker's history; its default size runs out.
extern "C" const char* __tsan_default_options() {
    return "history_size=4";
}
#endif

namespace {

constexpr int kRunsPerCase = 20;
// The parse-only run reads this many saved shop pages.
constexpr int kSavedShops = 200;
// The worker's stop timeout is 1000 ms; well beyond it the dialog hangs.
constexpr qint64 kClosingGuardMs = 2000;

class DownloadStressTest : public DownloadDialogFixture,
                           public ::testing::WithParamInterface<std::tuple<Pass, Way>> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(DownloadDialogFixture::SetUp());
        DownloadDialog::SetClock([] { return std::string("2030/01/01 00:00:00"); });
        SetModalHandler(AnswerSettingsUnchanged);
    }
};

TEST_P(DownloadStressTest, EndsWithCancelAtOnceAndChangesNothing) {
    const auto [pass, way] = GetParam();
    // The city and shop passes run against a slow portal; the parse pass is timed
    // best without one, re-reading saved pages as at start-up.
    const bool download = pass != Pass::Parse;
    if (download) {
        m_portal = StartSlowPortal();
        ASSERT_TRUE(m_portal);
    } else {
        ASSERT_TRUE(WritePortal(GeneratePortal(9, kSavedShops, 12), kDownloadFolder));
    }
    const int items = pass == Pass::City   ? kCityCount
                      : pass == Pass::Shop ? kSlowPortalShops
                                           : kSavedShops;
    const ConfigStore configBefore = m_config;
    const std::vector<ProductRecord> productsBefore = m_products;
    std::mt19937 random(std::random_device{}());
    qint64 longestClosing = 0;
    for (int run = 0; run < kRunsPerCase; ++run) {
        const Moment moment = RandomMoment(pass, items, random);
        SCOPED_TRACE("run " + std::to_string(run) + ", at " + std::to_string(moment.percent) +
                     "% and " + std::to_string(moment.delayMs) + " ms");
        DownloadDialog dialog(m_config, m_products, download);
        DownloadCanceller canceller(dialog, moment, way);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        ASSERT_TRUE(canceller.acted) << "the moment never came";
        ASSERT_GE(canceller.closingMs, 0) << "the press did not close the dialog";
        EXPECT_LT(canceller.closingMs, kClosingGuardMs);
        longestClosing = std::max(longestClosing, canceller.closingMs);
        ASSERT_EQ(m_config, configBefore);
        ASSERT_EQ(m_products, productsBefore);
    }
    std::printf("[  CLOSING ] %s pass, %s: longest %lld ms over %d runs\n", PassName(pass),
                WayName(way), static_cast<long long>(longestClosing), kRunsPerCase);
}

INSTANTIATE_TEST_SUITE_P(EveryPassEveryWay, DownloadStressTest,
                         ::testing::Combine(::testing::Values(Pass::City, Pass::Shop, Pass::Parse),
                                            ::testing::Values(Way::Button, Way::Escape,
                                                              Way::CloseBox)),
                         [](const auto& info) {
                             return std::string(PassName(std::get<0>(info.param))) +
                                    WayName(std::get<1>(info.param));
                         });

}  // namespace
