// The program as a player starts, uses and closes it.

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "GuiTestSupport.h"
#include "app/VeraduneApp.h"
#include "config/ConfigStore.h"
#include "portal/FaultRule.h"
#include "support/TestFiles.h"

namespace {

QTableView& List(QWidget& frame) {
    return *frame.findChild<QTableView*>(QStringLiteral("productList"));
}

template <class T>
T& Child(QWidget& window, const char* name) {
    return *window.findChild<T*>(QLatin1String(name));
}

class MainWindowTest : public GuiTest {
public:
    using GuiTest::m_answers;

protected:
    std::unique_ptr<CMainFrame> Start() {
        auto frame = InitInstance(m_context);
        if (frame) m_tester = std::make_unique<QAbstractItemModelTester>(List(*frame).model());
        return frame;
    }
    ConfigStore SavedSettings() const {
        ConfigStore saved;
        EXPECT_TRUE(saved.Load(m_context.folder.ConfigPath()));
        return saved;
    }

    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

const QStringList kAllByCity = {"胡椒", "小麦", "塩", "砂糖", "小麦"};

TEST_F(MainWindowTest, StartsFromTheSavedPagesWithoutAskingAnything) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    EXPECT_EQ(m_shown, std::vector<std::string>{kProgressTitle});
    EXPECT_EQ(Shown(*frame, kColumnProductName), kAllByCity);
    EXPECT_EQ(Shown(*frame, kColumnPrice), (QStringList{"400", "300", "100", "200", "250"}));
    EXPECT_EQ(PaneText(*frame, "hitPane"), QStringLiteral("5件ヒットしました"));
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時："));
    // The panes keep the width of 32, 50 and 26 blanks, whatever they show.
    const QFontMetrics metrics = frame->statusBar()->fontMetrics();
    const char* panes[] = {"hitPane", "lastUpdatePane", "statusProgress"};
    const int blanks[] = {32, 50, 26};
    for (int i = 0; i < 3; ++i) {
        QWidget& pane = Child<QWidget>(*frame, panes[i]);
        if (auto* label = qobject_cast<QLabel*>(&pane)) label->setText(QString(200, u'あ'));
        EXPECT_EQ(pane.width(), metrics.horizontalAdvance(QString(blanks[i], u' '))) << panes[i];
    }
    EXPECT_EQ(List(*frame).model()->headerData(kColumnCityName, Qt::Horizontal),
              QStringLiteral("都市名 ▲"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Veradune ver1.0.0.1"));
    // 900 by 800 outside, frame included, and never smaller.
    EXPECT_EQ(frame->frameGeometry().size(), QSize(900, 800));
    EXPECT_EQ(frame->minimumSize(), frame->size());
    EXPECT_FALSE(Child<QAction>(*frame, "clearFilterAction").isEnabled());
}

TEST_F(MainWindowTest, FirstStartDownloadsAndClosingSavesAllButThePassword) {
    StartPortal();
    m_answers[kSettingsTitle] = [](QDialog& dialog) {
        Child<QLineEdit>(dialog, "portalIdEdit").setText("me");
        Child<QLineEdit>(dialog, "portalPasswordEdit").setText("secret");
        dialog.accept();
    };
    const auto frame = Start();
    ASSERT_TRUE(frame);
    EXPECT_EQ(m_shown, (std::vector<std::string>{kSettingsTitle, kProgressTitle}));
    EXPECT_EQ(Shown(*frame, kColumnProductName), kAllByCity);
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時：") + kNow);

    frame->close();
    EXPECT_TRUE(frame->IsClosed());
    const ConfigStore saved = SavedSettings();
    EXPECT_EQ(saved.portalId, "me");
    EXPECT_EQ(saved.lastUpdate, kNow);
    const std::string file = ReadBytes(m_context.folder.ConfigPath());
    EXPECT_NE(file.find("size=\"3\""), std::string::npos) << "the company count";
    EXPECT_EQ(file.find("secret"), std::string::npos);
}

TEST_F(MainWindowTest, FirstStartCancelledLeavesAnEmptyListAndTheFolder) {
    m_answers[kSettingsTitle] = [](QDialog& dialog) { dialog.reject(); };
    const auto frame = Start();
    ASSERT_TRUE(frame);
    EXPECT_EQ(m_shown, std::vector<std::string>{kSettingsTitle});
    EXPECT_TRUE(Shown(*frame, kColumnProductName).isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(m_context.folder.DownloadFolder()));
}

// Each command as the player gives it, on the five saved offers.
struct CommandCase {
    const char* name;
    std::function<void(CMainFrame&, MainWindowTest&)> give;
    QStringList shown;
    bool clearOffered;
};

void PrintTo(const CommandCase& command, std::ostream* out) {
    *out << command.name;
}

class CommandTest : public MainWindowTest, public ::testing::WithParamInterface<CommandCase> {};

void Type(CMainFrame& frame, const char* box, const QString& text) {
    if (auto* combo = frame.findChild<QComboBox*>(QLatin1String(box)))
        combo->setEditText(text);
    else
        frame.findChild<QLineEdit*>(QLatin1String(box))->setText(text);
}

void Choose(CMainFrame& frame, const char* box, int index) {
    frame.findChild<QComboBox*>(QLatin1String(box))->setCurrentIndex(index);
}

TEST_P(CommandTest, ShowsWhatThePlayerAskedFor) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    GetParam().give(*frame, *this);
    EXPECT_EQ(Shown(*frame, kColumnProductName), GetParam().shown);
    EXPECT_EQ(PaneText(*frame, "hitPane"),
              QStringLiteral("%1件ヒットしました").arg(GetParam().shown.size()));
    EXPECT_EQ(Child<QAction>(*frame, "clearFilterAction").isEnabled(), GetParam().clearOffered);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTest,
    ::testing::Values(
        CommandCase{"TypingAloneFiltersNothing",
                    [](CMainFrame& f, MainWindowTest&) { Type(f, "nameCombo", "小麦"); },
                    kAllByCity, false},
        CommandCase{"StartFilterWithAName",
                    [](CMainFrame& f, MainWindowTest&) {
                        Type(f, "nameCombo", "小麦");
                        Trigger(f, "startFilterAction");
                    },
                    {"小麦", "小麦"},
                    true},
        CommandCase{"PriceAtLeast",
                    [](CMainFrame& f, MainWindowTest&) {
                        Type(f, "priceEdit", "250");
                        Choose(f, "priceConditionCombo", 0);
                        Trigger(f, "startFilterAction");
                    },
                    {"胡椒", "小麦", "小麦"},
                    true},
        CommandCase{"ChoosingACategoryFiltersAtOnce",
                    [](CMainFrame& f, MainWindowTest&) {
                        auto* box = f.findChild<QComboBox*>(QStringLiteral("categoryCombo"));
                        box->setCurrentIndex(box->findText(QStringLiteral("装備品（全て）")));
                        emit box->activated(box->currentIndex());
                    },
                    {},
                    true},
        CommandCase{"CheapestOnly",
                    [](CMainFrame& f, MainWindowTest&) { Trigger(f, "cheapestOnlyAction"); },
                    {"胡椒", "塩", "砂糖", "小麦"},
                    true},
        CommandCase{"CheapestOnlyTwice",
                    [](CMainFrame& f, MainWindowTest&) {
                        Trigger(f, "cheapestOnlyAction");
                        Trigger(f, "cheapestOnlyAction");
                    },
                    kAllByCity, false},
        CommandCase{
            "ClearFilterEmptiesTheInputs",
            [](CMainFrame& f, MainWindowTest&) {
                Type(f, "nameCombo", "塩");
                Trigger(f, "startFilterAction");
                Trigger(f, "clearFilterAction");
                EXPECT_TRUE(
                    f.findChild<QComboBox*>(QStringLiteral("nameCombo"))->currentText().isEmpty());
            },
            kAllByCity, false},
        CommandCase{"CitiesConfirmed",
                    [](CMainFrame& f, MainWindowTest& test) {
                        test.m_answers[kCitiesTitle] = [](QDialog& dialog) {
                            Child<QCheckBox>(dialog, "cityCheck0").setChecked(false);
                            dialog.accept();
                        };
                        Trigger(f, "cityFilterAction");
                    },
                    {"胡椒"},
                    false},
        CommandCase{"CitiesCancelled",
                    [](CMainFrame& f, MainWindowTest& test) {
                        test.m_answers[kCitiesTitle] = [](QDialog& dialog) {
                            Child<QCheckBox>(dialog, "cityCheck0").setChecked(false);
                            dialog.reject();
                        };
                        Trigger(f, "cityFilterAction");
                    },
                    kAllByCity, false},
        CommandCase{"HeaderClickSortsWithoutFiltering",
                    [](CMainFrame& f, MainWindowTest&) {
                        emit List(f).horizontalHeader()->sectionClicked(kColumnPrice);
                        EXPECT_EQ(List(f).model()->headerData(kColumnPrice, Qt::Horizontal),
                                  QStringLiteral("販売価格 ▲"));
                    },
                    {"塩", "砂糖", "小麦", "小麦", "胡椒"},
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

// The shown rows leave the window as the list shows them: saved to a file, or the
// selected row copied with the header line.
TEST_F(MainWindowTest, TheShownListCanBeSavedAndCopied) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    Child<QComboBox>(*frame, "nameCombo").setEditText("小麦");
    Trigger(*frame, "startFilterAction");
    emit List(*frame).horizontalHeader()->sectionClicked(kColumnPrice);
    QStringList lines = {"商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名"};
    for (int row = 0; row < 2; ++row) {
        QStringList cells;
        for (int column = 0; column < kColumnCount; ++column)
            cells.append(Shown(*frame, column)[row]);
        lines.append(cells.join(u'\t'));
    }
    for (const bool tsv : {true, false}) {
        const QString path = m_folder.filePath(tsv ? "list.tsv" : "list.csv");
        m_answers["表示中のリストを保存"] = [&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            files.selectNameFilter(tsv ? "TSV (*.tsv)" : "CSV (*.csv)");
            files.selectFile(path);
            dialog.accept();
        };
        Trigger(*frame, "saveListAction");
        const QString text = QString::fromStdString(ReadBytes(path.toStdString()));
        EXPECT_EQ(text, tsv ? lines.join(u'\n') + u'\n'
                            : QString(lines.join("\r\n") + "\r\n").replace(u'\t', u','));
    }
    List(*frame).selectRow(1);
    List(*frame).setFocus();
    Trigger(*frame, "copyAction");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines[0] + u'\n' + lines[2] + u'\n');
}

TEST_F(MainWindowTest, SearchedNamesJoinTheHistoryOnceAtTheTopAndAreSaved) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    auto& names = Child<QComboBox>(*frame, "nameCombo");
    for (const char* name : {"塩", "小麦", "塩", ""}) {
        names.setEditText(QString::fromUtf8(name));
        Trigger(*frame, "startFilterAction");
    }
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names.itemText(0), QStringLiteral("小麦"));
    emit List(*frame).horizontalHeader()->sectionClicked(kColumnPrice);
    emit List(*frame).horizontalHeader()->sectionClicked(kColumnPrice);
    frame->close();
    const ConfigStore saved = SavedSettings();
    EXPECT_EQ(saved.searchHistory.size(), 2u);
    EXPECT_EQ(saved.sortColumn, kColumnPrice);
    EXPECT_EQ(saved.sortOrder, 1);

    // The next start brings them back: newest name on top, the price order.
    m_shown.clear();
    const auto again = Start();
    ASSERT_TRUE(again);
    EXPECT_EQ(Child<QComboBox>(*again, "nameCombo").itemText(0), QStringLiteral("小麦"));
    EXPECT_EQ(Shown(*again, kColumnPrice), (QStringList{"400", "300", "250", "200", "100"}));
}

TEST_F(MainWindowTest, UpdateCommandAsksForTheAccountAndReplacesTheList) {
    StartPortal();
    std::filesystem::create_directory(m_context.folder.DownloadFolder());
    const auto frame = Start();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(Shown(*frame, kColumnProductName).isEmpty());
    Trigger(*frame, "updateListAction");
    EXPECT_EQ(m_shown, (std::vector<std::string>{kProgressTitle, kSettingsTitle, kProgressTitle}));
    EXPECT_EQ(Shown(*frame, kColumnProductName), kAllByCity);
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時：") + kNow);
}

// A download that cannot do its work keeps the saved pages and the list, and says why.
TEST_F(MainWindowTest, AFailedDownloadKeepsTheSavedPagesAndSaysWhy) {
    enum class Fault { RejectedAccount, PortalDown, OneShopFails };
    for (const Fault fault : {Fault::RejectedAccount, Fault::PortalDown, Fault::OneShopFails}) {
        SCOPED_TRACE(static_cast<int>(fault));
        SavePortalPages();
        const std::string page = m_context.folder.PathOf("DownloadFiles/ShopNo013.html");
        std::filesystem::resize_file(page, std::filesystem::file_size(page) - 1);
        const std::string saved = ReadBytes(page);
        portal::PortalSettings settings;
        std::string error;
        if (fault == Fault::RejectedAccount) settings.account = portal::Credentials{"me", "right"};
        if (fault == Fault::OneShopFails)
            settings.faults.push_back(*portal::ParseFaultRule("status=500:Cid=13", error));
        if (fault != Fault::PortalDown) StartPortal(ThreeShopPortal(), settings);
        m_answers[kSettingsTitle] = [](QDialog& dialog) {
            Child<QLineEdit>(dialog, "portalIdEdit").setText("me");
            Child<QLineEdit>(dialog, "portalPasswordEdit").setText("wrong");
            dialog.accept();
        };
        QStringList told;
        m_answers["Veradune"] = [&told](QDialog& box) {
            told.append(static_cast<QMessageBox&>(box).text());
            box.accept();
        };
        const auto frame = Start();
        ASSERT_TRUE(frame);
        Trigger(*frame, "updateListAction");

        EXPECT_EQ(ReadBytes(page), saved) << "the page that was not replaced";
        EXPECT_EQ(Shown(*frame, kColumnProductName), kAllByCity);
        EXPECT_FALSE(std::filesystem::exists(m_context.folder.DownloadFolder() + ".staging"));
        const QString message = frame->statusBar()->currentMessage();
        if (fault == Fault::OneShopFails) {
            EXPECT_TRUE(told.isEmpty());
            EXPECT_EQ(message, QStringLiteral(
                                   "1件のページを取得できなかったため、前回のものを使っています"));
            EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時：") + kNow);
            continue;
        }
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(
            told[0].startsWith(fault == Fault::RejectedAccount
                                   ? QStringLiteral("商会が見つかりませんでした。\n"
                                                    "ポータルのIDとパスワードを確認してください。")
                                   : QStringLiteral("ポータルに接続できませんでした。\n"
                                                    "ErrorCode = 7 : ")))
            << told[0].toStdString();
        EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時："));
        EXPECT_EQ(message, QStringLiteral(" "));
        frame->close();
        if (m_portal) m_portal->Stop();
        m_portal.reset();
    }
}

TEST_F(MainWindowTest, TerminationRequestClosesTheWindowAndSaves) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    emit List(*frame).horizontalHeader()->sectionClicked(kColumnPrice);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->IsClosed(); }, 5000));
    EXPECT_EQ(SavedSettings().sortColumn, kColumnPrice);
}

TEST_F(MainWindowTest, TerminationRequestDuringTheFirstDownloadEndsWithoutAWindow) {
    m_answers[kSettingsTitle] = [](QDialog&) { std::raise(SIGTERM); };
    EXPECT_EQ(Start(), nullptr);
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
        const auto frame = Start();
        ASSERT_TRUE(frame);
        QStringList texts;
        m_answers["Veradune"] = [&](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            texts.append(box.text());
            if (tryAgain) std::filesystem::remove(config);
            for (QAbstractButton* button : box.buttons())
                if (button->text() == (tryAgain ? "再試行" : "保存せずに終了")) button->click();
        };
        frame->close();
        ASSERT_EQ(texts.size(), 1);
        EXPECT_TRUE(texts[0].startsWith(QStringLiteral("設定を保存できませんでした。\n") +
                                        QString::fromStdString(config)));
        EXPECT_EQ(std::filesystem::is_regular_file(config), tryAgain);
    }
}

TEST_F(MainWindowTest, MenusCarryTheCommandsAndTheAboutBoxTheVersion) {
    SavePortalPages();
    const auto frame = Start();
    ASSERT_TRUE(frame);
    QStringList menus;
    for (QAction* menu : frame->menuBar()->actions()) {
        menus.append(menu->text());
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator()) menus.append(item->text());
    }
    EXPECT_EQ(menus, (QStringList{"ﾌｧｲﾙ(&F)", "絞り込み開始(&N)", "絞り込み解除(&C)",
                                  "都市名で絞り込み(&T)...", "最安値の商品のみ表示(&M)",
                                  "商品ﾘｽﾄを更新(&R)...", "ｱﾌﾟﾘｹｰｼｮﾝ設定(&S)...",
                                  "表示中のリストを保存(&E)...", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "表示(&V)",
                                  "ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "前回から消えた出品(&G)...",
                                  "ﾍﾙﾌﾟ(&H)", "Veradune のﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
    QString version;
    m_answers["Veraduneのﾊﾞｰｼﾞｮﾝ情報"] = [&version](QDialog& dialog) {
        version = Child<QLabel>(dialog, "versionLabel").text();
        dialog.accept();
    };
    Trigger(*frame, "aboutAction");
    EXPECT_EQ(version, QStringLiteral("Veradune ver1.0.0.1"));
}

}  // namespace
