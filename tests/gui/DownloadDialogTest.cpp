#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "AccountAnswers.h"
#include "DownloadDialogFixture.h"
#include "acquire/DownloadDialog.h"
#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "config/DownloadSettingsDialog.h"
#include "mainframe/ModalRunner.h"
#include "mainframe/PercentProgressCtrl.h"
#include "portal/PortalServer.h"
#include "shopdata/TextConversion.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"

namespace {

namespace fs = std::filesystem;

constexpr char kNow[] = "2024/05/06 07:08:09";

// Seville (city id 1) lists two companies, Calicut (id 70) one; no other city has any.
std::shared_ptr<portal::PageSource> ThreeShopPortal() {
    return std::make_shared<portal::MemoryPageSource>(
        std::map<int, std::string>{{1, CityPage({{11, "東商会"}, {12, "西商会"}})},
                                   {70, CityPage({{13, "南商会"}})}},
        std::map<int, std::string>{
            {11, ShopPage("東商会", "セビリア", {{"小麦", 100}, {"塩", 100}})},
            {12, ShopPage("西商会", "セビリア", {{"砂糖", 100}})},
            {13, ShopPage("南商会", "カリカット", {{"胡椒", 100}})}});
}

std::vector<int> Ids(const std::vector<CompanyEntry>& companies) {
    std::vector<int> ids;
    for (const auto& company : companies) ids.push_back(company.companyId);
    return ids;
}

QString LineText(QDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

QString ShownPercent(QDialog& dialog) {
    return dialog.findChild<PercentProgressCtrl*>(QStringLiteral("progress"))->ShownText();
}

struct ErrorBoxSeen {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
    QWidget* owner;
};

class DownloadDialogTest : public DownloadDialogFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(DownloadDialogFixture::SetUp());
        DownloadDialog::SetClock([] { return std::string(kNow); });
        SetModalHandler([this](QDialog& dialog) { return Answer(dialog); });
        m_configBefore = m_config;
        m_productsBefore = m_products;
    }

    int Answer(QDialog& dialog) {
        if (auto* settings = qobject_cast<DownloadSettingsDialog*>(&dialog)) {
            ++m_settingsShown;
            TypeAccount(*settings);
            m_acceptSettings ? settings->accept() : settings->reject();
            return settings->result();
        }
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            m_errorBoxes.push_back(
                {box->text(), box->windowTitle(), box->icon(), box->parentWidget()});
            return m_onErrorBox ? m_onErrorBox(*box) : int(QMessageBox::Ok);
        }
        ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }

    void StartPortal(portal::PortalSettings settings = {}) {
        m_portal = std::make_unique<portal::PortalServer>(ThreeShopPortal(), std::move(settings));
        ASSERT_TRUE(m_portal->Start(0));
        DownloadDialog::SetHostOverride(m_portal->HostPort());
    }

    // The saved pages of an earlier download: Seville lists companies 101 and 7, and
    // only 101 has a saved shop page, with three products.
    static void SaveEarlierPages() {
        const fs::path data = fs::path(VERADUNE_TEST_DATA_DIR) / "pages";
        fs::copy_file(data / "CityNo001.html", fs::path(kDownloadFolder) / "CityNo001.html");
        fs::copy_file(data / "ShopNo001.html", fs::path(kDownloadFolder) / "ShopNo101.html");
    }

    void ExpectNothingChanged() {
        EXPECT_EQ(m_config, m_configBefore);
        EXPECT_EQ(m_products, m_productsBefore);
    }

    ConfigStore m_configBefore;
    std::vector<ProductRecord> m_productsBefore;
    bool m_acceptSettings = true;
    int m_settingsShown = 0;
    std::vector<ErrorBoxSeen> m_errorBoxes;
    std::function<int(QMessageBox&)> m_onErrorBox;
};

TEST_F(DownloadDialogTest, ADownloadReplacesProductsAndCompaniesAndStampsTheTime) {
    StartPortal();
    m_config.portalId = "someone";
    DownloadDialog dialog(m_config, m_products, true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("しばらくお待ちください..."));
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);

    EXPECT_EQ(m_settingsShown, 1);
    EXPECT_EQ(m_config.portalId, "me");
    EXPECT_EQ(Utf8Names(m_products), (std::vector<std::string>{"小麦", "塩", "砂糖", "胡椒"}));
    EXPECT_EQ(Ids(m_config.companies), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(m_config.lastUpdate, kNow);
    EXPECT_TRUE(m_errorBoxes.empty()) << "a missing page is no network error";
    EXPECT_TRUE(fs::exists(fs::path(kDownloadFolder) / "CityNo070.html"));
    EXPECT_TRUE(fs::exists(fs::path(kDownloadFolder) / "ShopNo013.html"));

    const portal::RequestLog log = m_portal->Log();
    EXPECT_EQ(log.cityRequests.size(), 13u);
    EXPECT_EQ(log.shopRequests, (std::map<int, int>{{11, 1}, {12, 1}, {13, 1}}));
    EXPECT_EQ(log.lastHvid, "me");
    EXPECT_EQ(log.lastPass, "pw");

    // Every report has been shown by the time the dialog closes.
    EXPECT_EQ(LineText(dialog, "statusLine"), QStringLiteral("商品リストを解析中です..."));
    EXPECT_EQ(LineText(dialog, "detailLine"), QStringLiteral("カリカット : 南商会"));
    EXPECT_EQ(ShownPercent(dialog), QStringLiteral("100%"));
}

TEST_F(DownloadDialogTest, DownloadsThroughTheConfiguredProxy) {
    StartPortal();
    m_config.proxyEnabled = 1;
    m_config.proxyServer = "127.0.0.1";
    m_config.proxyPort = m_portal->Port();
    DownloadDialog::SetHostOverride("portal.invalid");
    DownloadDialog dialog(m_config, m_products, true);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(Utf8Names(m_products), (std::vector<std::string>{"小麦", "塩", "砂糖", "胡椒"}));
}

// Counts how often a widget is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
};

TEST_F(DownloadDialogTest, CancelledSettingsEndTheDialogBeforeItIsShown) {
    StartPortal();
    m_acceptSettings = false;
    DownloadDialog dialog(m_config, m_products, true);
    ShowCounter counter;
    dialog.installEventFilter(&counter);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(m_settingsShown, 1);
    EXPECT_EQ(counter.shows, 0);
    EXPECT_EQ(m_portal->Log().total, 0);
    ExpectNothingChanged();
}

TEST_F(DownloadDialogTest, CancelMidwayKeepsTheOldDataAndClosesAtOnce) {
    portal::PortalSettings settings;
    // The second shop page never comes while the test runs.
    settings.faults.push_back({portal::FaultKind::Stall, 600, {{portal::PortalPage::Shop, 12}}});
    StartPortal(std::move(settings));
    const QString stalled =
        QStringLiteral("商品リストをダウンロード中です...    取得済：2 / 合計：3");

    enum Way { kButton, kEscape, kCloseBox };
    for (const Way way : {kButton, kEscape, kCloseBox}) {
        SCOPED_TRACE(way);
        DownloadDialog dialog(m_config, m_products, true);
        bool reached = false;
        QString detail, percent;
        QElapsedTimer closing;
        QTimer::singleShot(0, &dialog, [&] {
            reached =
                QTest::qWaitFor([&] { return LineText(dialog, "statusLine") == stalled; }, 20000);
            detail = LineText(dialog, "detailLine");
            percent = ShownPercent(dialog);
            closing.start();
            if (way == kButton)
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")),
                                  Qt::LeftButton);
            else if (way == kEscape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        ASSERT_TRUE(reached);
        // Far below the stall, and below the fetcher's own 10 s timeout.
        EXPECT_LT(closing.elapsed(), 5000);
        EXPECT_EQ(detail, QStringLiteral("ID：011 商会名：東商会"));
        EXPECT_EQ(percent, QStringLiteral("33%"));
        ExpectNothingChanged();
    }
}

TEST_F(DownloadDialogTest, DestroyingTheDialogMidwayLeavesTheDataAlone) {
    portal::PortalSettings settings;
    settings.faults.push_back({portal::FaultKind::Stall, 600, {{portal::PortalPage::Shop, 11}}});
    StartPortal(std::move(settings));
    auto dialog = std::make_unique<DownloadDialog>(m_config, m_products, true);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return LineText(*dialog, "statusLine").endsWith(QStringLiteral("取得済：1 / 合計：3"));
        },
        20000));
    dialog.reset();
    // Reports still queued from the worker must find no dialog to write to.
    QTest::qWait(200);
    ExpectNothingChanged();
}

TEST_F(DownloadDialogTest, NetworkErrorsAreShownAndTheJobGoesOnWithTheSavedPages) {
    SaveEarlierPages();
    DownloadDialog::SetHostOverride("127.0.0.1:1");  // nothing listens there
    DownloadDialog dialog(m_config, m_products, true);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);

    // One box for each of the 13 cities and each of the two companies.
    ASSERT_EQ(m_errorBoxes.size(), 15u);
    for (const ErrorBoxSeen& box : m_errorBoxes) {
        EXPECT_TRUE(box.text.startsWith(QStringLiteral("ErrorCode = 7 : ")))
            << box.text.toStdString();
        EXPECT_EQ(box.caption, QStringLiteral("LanguageSelect"));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.owner, &dialog);
    }
    EXPECT_EQ(Ids(m_config.companies), (std::vector<int>{101, 7}));
    ASSERT_EQ(m_products.size(), 3u);
    EXPECT_EQ(ShiftJisToUtf8(m_products[0].productName), "胡椒");
    EXPECT_EQ(m_config.lastUpdate, kNow);
}

TEST_F(DownloadDialogTest, CancelWhileAnErrorBoxIsOpenDoesNotHang) {
    DownloadDialog::SetHostOverride("127.0.0.1:1");
    DownloadDialog dialog(m_config, m_products, true);
    QElapsedTimer closing;
    m_onErrorBox = [&](QMessageBox& box) {
        // The box runs its own modal loop while the worker waits for it.
        QTimer::singleShot(50, &dialog, [&] {
            closing.start();
            dialog.reject();
        });
        return box.exec();
    };
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_LT(closing.elapsed(), 5000);
    EXPECT_EQ(m_errorBoxes.size(), 1u);
    ExpectNothingChanged();
}

TEST_F(DownloadDialogTest, ParseOnlyRebuildsFromTheSavedPagesWithoutAsking) {
    SaveEarlierPages();
    DownloadDialog dialog(m_config, m_products, false);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(m_settingsShown, 0);
    EXPECT_EQ(Ids(m_config.companies), (std::vector<int>{101, 7}));
    EXPECT_EQ(m_products.size(), 3u);
    EXPECT_EQ(m_config.lastUpdate, kEarlierUpdate) << "nothing was downloaded";
    EXPECT_EQ(LineText(dialog, "detailLine"),
              QStringLiteral("エラー！商会情報の取得に失敗しました"))
        << "company 7 has no saved page";
}

TEST_F(DownloadDialogTest, NoCompanyFoundChangesNothing) {
    DownloadDialog dialog(m_config, m_products, false);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ExpectNothingChanged();
}

}  // namespace
