// The program as a player starts, uses and closes it.

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "GuiTestSupport.h"
#include "app/VeraduneApp.h"
#include "support/TestFiles.h"

namespace {

class MainWindowTest : public GuiTest {
protected:
    // Starts the program; false when it ended without a window.
    bool Start() {
        m_tester.reset();
        m_frame = InitInstance(m_context);
        if (m_frame) m_tester = std::make_unique<QAbstractItemModelTester>(List(*m_frame).model());
        return m_frame != nullptr;
    }

    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

const QStringList kAllByCity = {"胡椒", "小麦", "塩", "砂糖", "小麦"};

TEST_F(MainWindowTest, StartsFromTheSavedPagesWithoutAskingAnything) {
    SavePortalPages();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_shown, std::vector<std::string>{kProgressTitle});
    EXPECT_EQ(Shown(*m_frame, kColumnProductName), kAllByCity);
    EXPECT_EQ(Shown(*m_frame, kColumnPrice), (QStringList{"400", "300", "100", "200", "250"}));
    EXPECT_EQ(PaneText(*m_frame, "hitPane"), QStringLiteral("5件ヒットしました"));
    EXPECT_EQ(PaneText(*m_frame, "lastUpdatePane"), QStringLiteral("最終更新日時："));
    // The panes keep the width of 32, 50 and 26 blanks, whatever they show.
    const QFontMetrics metrics = m_frame->statusBar()->fontMetrics();
    const char* panes[] = {"hitPane", "lastUpdatePane", "statusProgress"};
    const int blanks[] = {32, 50, 26};
    for (int i = 0; i < 3; ++i) {
        QWidget& pane = Child<QWidget>(*m_frame, panes[i]);
        if (auto* label = qobject_cast<QLabel*>(&pane)) label->setText(QString(200, u'あ'));
        EXPECT_EQ(pane.width(), metrics.horizontalAdvance(QString(blanks[i], u' '))) << panes[i];
    }
    EXPECT_EQ(List(*m_frame).model()->headerData(kColumnCityName, Qt::Horizontal),
              QStringLiteral("都市名 ▲"));
    const int percent[] = {18, 8, 8, 9, 8, 8, 8, 19, 12};  // of the view's width
    for (int column = 0; column < kColumnCount; ++column)
        EXPECT_EQ(List(*m_frame).columnWidth(column),
                  Child<QWidget>(*m_frame, "productView").width() * percent[column] / 100);
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Veradune ver1.0.0.1"));
    // 900 by 800 outside, frame included, and never smaller.
    EXPECT_EQ(m_frame->frameGeometry().size(), QSize(900, 800));
    EXPECT_EQ(m_frame->minimumSize(), m_frame->size());
    QString version;
    m_answers["Veraduneのﾊﾞｰｼﾞｮﾝ情報"] = [&version](QDialog& dialog) {
        version = Child<QLabel>(dialog, "versionLabel").text();
        dialog.accept();
    };
    Trigger(*m_frame, "aboutAction");
    EXPECT_EQ(version, QStringLiteral("Veradune ver1.0.0.1"));
}

// The first download goes through the stand-in portal as the proxy typed in; the
// portal's host is then only a name the proxy is asked for.
TEST_F(MainWindowTest, FirstStartDownloadsAndClosingSavesAllButThePassword) {
    portal::PortalSettings account;
    account.account = portal::Credentials{"me", "secret"};
    StartPortal(ThreeShopPortal(), account);
    const QString port = QString::fromStdString(m_portal->HostPort()).section(u':', 1);
    m_context.portalHost = "portal.invalid";
    m_answers[kSettingsTitle] = [port](QDialog& dialog) {
        Child<QLineEdit>(dialog, "portalIdEdit").setText("me");
        Child<QLineEdit>(dialog, "portalPasswordEdit").setText("secret");
        Child<QCheckBox>(dialog, "useProxyCheck").setChecked(true);
        Child<QLineEdit>(dialog, "proxyServerEdit").setText("127.0.0.1");
        Child<QLineEdit>(dialog, "proxyPortEdit").setText(port);
        dialog.accept();
    };
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_shown, (std::vector<std::string>{kSettingsTitle, kProgressTitle}));
    EXPECT_EQ(Shown(*m_frame, kColumnProductName), kAllByCity);
    EXPECT_EQ(PaneText(*m_frame, "lastUpdatePane"), QStringLiteral("最終更新日時：") + kNow);

    m_frame->close();
    EXPECT_TRUE(m_frame->IsClosed());
    const ConfigStore saved = SavedSettings();
    EXPECT_EQ(saved.portalId, "me");
    EXPECT_EQ(saved.lastUpdate, kNow);
    const std::string file = ReadBytes(m_context.folder.ConfigPath());
    EXPECT_NE(file.find("size=\"3\""), std::string::npos) << "the company count";
    EXPECT_EQ(file.find("secret"), std::string::npos);
}

TEST_F(MainWindowTest, FirstStartCancelledLeavesAnEmptyListAndTheFolder) {
    m_answers[kSettingsTitle] = [](QDialog& dialog) {
        Child<QPushButton>(dialog, "cancelButton").click();
    };
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_shown, std::vector<std::string>{kSettingsTitle});
    EXPECT_TRUE(Shown(*m_frame, kColumnProductName).isEmpty());
    EXPECT_FALSE(Child<QAction>(*m_frame, "clearFilterAction").isEnabled());
    EXPECT_TRUE(std::filesystem::is_directory(m_context.folder.DownloadFolder()));
}

// Each command as the player gives it, on the five saved offers, one step at a time:
// "box=text" types into an input box, or chooses that entry of a fixed list;
// "cities+" and "cities-" untick Seville in the city dialog and confirm or cancel
// it; "priceHeader" clicks that header; any other step triggers that action.
TEST_F(MainWindowTest, CommandsShowWhatThePlayerAskedFor) {
    SavePortalPages();
    const auto give = [this](CMainFrame& frame, const QString& step) {
        const QString box = step.section(u'=', 0, 0), text = step.section(u'=', 1);
        auto* combo = frame.findChild<QComboBox*>(box);
        if (step.startsWith("cities")) {
            m_answers[kCitiesTitle] = [confirm = step.endsWith(u'+')](QDialog& dialog) {
                Child<QCheckBox>(dialog, "cityCheck0").setChecked(false);
                Child<QPushButton>(dialog, confirm ? "okButton" : "cancelButton").click();
            };
            Trigger(frame, "cityFilterAction");
        } else if (step == "priceHeader") {
            emit List(frame).horizontalHeader()->sectionClicked(kColumnPrice);
        } else if (!step.contains(u'=')) {
            Trigger(frame, qPrintable(step));
        } else if (!combo) {
            frame.findChild<QLineEdit*>(box)->setText(text);
        } else if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(combo->findText(text));
            emit combo->activated(combo->currentIndex());
        }
    };
    const struct {
        QStringList steps;
        QStringList shown;
        bool clearOffered;
    } commands[] = {
        {{"nameCombo=小麦"}, kAllByCity, false},  // typing alone filters nothing
        {{"nameCombo=小麦", "startFilterAction"}, {"小麦", "小麦"}, true},
        {{"priceEdit=250", "priceConditionCombo=以上", "startFilterAction"},
         {"胡椒", "小麦", "小麦"},
         true},
        {{"categoryCombo=装備品（全て）"}, {}, true},  // a choice filters at once
        {{"cheapestOnlyAction"}, {"胡椒", "塩", "砂糖", "小麦"}, true},
        {{"cheapestOnlyAction", "cheapestOnlyAction"}, kAllByCity, false},
        // Clearing empties the inputs, so that a condition chosen after filters nothing.
        {{"nameCombo=塩", "priceEdit=1000", "startFilterAction", "clearFilterAction",
          "priceConditionCombo=以上", "startFilterAction"},
         kAllByCity,
         false},
        {{"cities+"}, {"胡椒"}, false},
        {{"cities-"}, kAllByCity, false},
        {{"priceHeader"}, {"塩", "砂糖", "小麦", "小麦", "胡椒"}, false}};
    for (const auto& c : commands) {
        SCOPED_TRACE(c.steps.join(u' ').toStdString());
        ASSERT_TRUE(Start());
        for (const QString& step : c.steps) give(*m_frame, step);
        EXPECT_EQ(Shown(*m_frame, kColumnProductName), c.shown);
        EXPECT_EQ(PaneText(*m_frame, "hitPane"),
                  QStringLiteral("%1件ヒットしました").arg(c.shown.size()));
        EXPECT_EQ(Child<QAction>(*m_frame, "clearFilterAction").isEnabled(), c.clearOffered);
    }
}

// The shown rows leave the window as the list shows them: saved to a file, or the
// selected row copied with the header line.
TEST_F(MainWindowTest, TheShownListCanBeSavedAndCopied) {
    SavePortalPages();
    ASSERT_TRUE(Start());
    Child<QComboBox>(*m_frame, "nameCombo").setEditText("小麦");
    Trigger(*m_frame, "startFilterAction");
    emit List(*m_frame).horizontalHeader()->sectionClicked(kColumnPrice);
    const QStringList lines = {
        "商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名",
        "小麦\t食料品\t5\t250\t\t\t\t西商会\tセビリア",
        "小麦\t食料品\t5\t300\t\t\t\t東商会\tセビリア"};
    for (const bool tsv : {true, false}) {
        const QString path = m_folder.filePath(tsv ? "list.tsv" : "list.csv");
        m_answers["表示中のリストを保存"] = [&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            files.selectNameFilter(tsv ? "TSV (*.tsv)" : "CSV (*.csv)");
            files.selectFile(path);
            dialog.accept();
        };
        Trigger(*m_frame, "saveListAction");
        const QString text = QString::fromStdString(ReadBytes(path.toStdString()));
        EXPECT_EQ(text, tsv ? lines.join(u'\n') + u'\n'
                            : QString(lines.join("\r\n") + "\r\n").replace(u'\t', u','));
    }
    List(*m_frame).selectRow(1);
    List(*m_frame).setFocus();
    Trigger(*m_frame, "copyAction");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines[0] + u'\n' + lines[2] + u'\n');
}

// A termination request closes the window as the player would, and the next start
// brings back the searched names, newest on top, and the order.
TEST_F(MainWindowTest, SearchedNamesAndTheOrderOutliveATerminationRequest) {
    SavePortalPages();
    ASSERT_TRUE(Start());
    auto& names = Child<QComboBox>(*m_frame, "nameCombo");
    for (const char* name : {"塩", "小麦", "塩", ""}) {
        names.setEditText(QString::fromUtf8(name));
        Trigger(*m_frame, "startFilterAction");
    }
    EXPECT_EQ(names.count(), 2);
    emit List(*m_frame).horizontalHeader()->sectionClicked(kColumnPrice);
    emit List(*m_frame).horizontalHeader()->sectionClicked(kColumnPrice);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_frame->IsClosed(); }, 5000));

    ASSERT_TRUE(Start());
    EXPECT_EQ(Child<QComboBox>(*m_frame, "nameCombo").itemText(0), QStringLiteral("小麦"));
    EXPECT_EQ(Shown(*m_frame, kColumnPrice), (QStringList{"400", "300", "250", "200", "100"}));
}

// A download that cannot do its work keeps the saved pages and the list, and says why.
TEST_F(MainWindowTest, AFailedDownloadKeepsTheSavedPagesAndSaysWhy) {
    m_answers[kSettingsTitle] = [](QDialog& dialog) {
        Child<QLineEdit>(dialog, "portalIdEdit").setText("me");
        dialog.accept();
    };
    const struct {
        std::string fault;  // "account": the portal takes another one; empty: no portal;
                            // "status": an error status for ShopNo013
        QString told;       // the start of the box's text; empty: no box
        QString message;
    } cases[] = {
        {"account", "商会が見つかりませんでした。\nポータルのIDとパスワードを確認してください。",
         " "},
        {"", "ポータルに接続できませんでした。\nErrorCode = 7 : ", " "},
        {"status", "", "1件のページを取得できなかったため、前回のものを使っています"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        m_told.clear();
        SavePortalPages();
        const std::string page = m_context.folder.PathOf("DownloadFiles/ShopNo013.html");
        std::filesystem::resize_file(page, std::filesystem::file_size(page) - 1);
        const std::string saved = ReadBytes(page);
        portal::PortalSettings settings;
        if (c.fault == "account") settings.account = portal::Credentials{"me", "right"};
        if (c.fault == "status")
            settings.faults = {{portal::FaultKind::Status, 500, {{portal::PortalPage::Shop, 13}}}};
        if (!c.fault.empty()) StartPortal(ThreeShopPortal(), settings);
        ASSERT_TRUE(Start());
        Trigger(*m_frame, "updateListAction");

        EXPECT_EQ(ReadBytes(page), saved) << "the page that was not replaced";
        EXPECT_EQ(Shown(*m_frame, kColumnProductName), kAllByCity);
        EXPECT_FALSE(std::filesystem::exists(m_context.folder.DownloadFolder() + ".staging"));
        EXPECT_EQ(m_told.size(), c.told.isEmpty() ? 0 : 1);
        EXPECT_EQ(m_told.value(0).left(c.told.size()), c.told);
        EXPECT_EQ(m_frame->statusBar()->currentMessage(), c.message);
        EXPECT_EQ(PaneText(*m_frame, "lastUpdatePane"),
                  QStringLiteral("最終更新日時：") + (c.told.isEmpty() ? kNow : ""));
        m_portal.reset();
    }
}

TEST_F(MainWindowTest, TerminationRequestDuringTheFirstDownloadEndsWithoutAWindow) {
    m_answers[kSettingsTitle] = [](QDialog&) { std::raise(SIGTERM); };
    EXPECT_FALSE(Start());
    EXPECT_EQ(SavedSettings(), ConfigStore());
}

// A failed save at close says where and why, and offers another try.
TEST_F(MainWindowTest, AFailedSaveAtCloseCanBeTriedAgainOrGivenUp) {
    for (const bool tryAgain : {true, false}) {
        SCOPED_TRACE(tryAgain);
        SavePortalPages();
        const std::string config = m_context.folder.ConfigPath();
        std::filesystem::remove_all(config);
        std::filesystem::create_directory(config);  // the save cannot replace a folder
        ASSERT_TRUE(Start());
        m_told.clear();
        m_answers["Veradune"] = [&](QDialog& box) {
            if (tryAgain) std::filesystem::remove(config);
            for (QAbstractButton* button : static_cast<QMessageBox&>(box).buttons())
                if (button->text() == (tryAgain ? "再試行" : "保存せずに終了")) button->click();
        };
        m_frame->close();
        ASSERT_EQ(m_told.size(), 1);
        EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("設定を保存できませんでした。\n") +
                                         QString::fromStdString(config)));
        EXPECT_EQ(std::filesystem::is_regular_file(config), tryAgain);
    }
}

}  // namespace
