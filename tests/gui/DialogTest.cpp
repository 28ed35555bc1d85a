// Each dialog's OK, cancel and error paths, and the progress bar it shows.

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <random>

#include "GuiTestSupport.h"
#include "acquire/DownloadDialog.h"
#include "config/DownloadSettingsDialog.h"
#include "listview/CityFilterDialog.h"
#include "mainframe/PercentProgressCtrl.h"
#include "support/TestFiles.h"

namespace {

TEST(DownloadSettingsDialogTest, ShowsTheSettingsAndGivesBackWhatWasTyped) {
    DownloadSettings stored;
    stored.portalId = "me";
    stored.connection = {true, "proxy.example", 0, "user", "pw"};
    DownloadSettingsDialog dialog(stored);
    EXPECT_EQ(dialog.Settings(), stored) << "a port of 0 shows as an empty box";
    EXPECT_EQ(Child<QLineEdit>(dialog, "portalPasswordEdit").echoMode(), QLineEdit::Password);

    Child<QLineEdit>(dialog, "proxyPortEdit").setText("8080x");
    EXPECT_EQ(dialog.Settings().connection.proxyPort, 8080);
    // Unchecking the proxy empties and disables its boxes.
    Child<QCheckBox>(dialog, "useProxyCheck").click();
    EXPECT_EQ(dialog.Settings().connection, (ConnectionSettings{false, "", 0, "", ""}));
    EXPECT_FALSE(Child<QLineEdit>(dialog, "proxyServerEdit").isEnabled());
}

TEST(CityFilterDialogTest, GivesBackTheCheckedCities) {
    CityFlags flags;
    flags.fill(true);
    flags[3] = false;
    CityFilterDialog dialog(flags);
    EXPECT_EQ(dialog.Flags(), flags);
    Child<QPushButton>(dialog, "clearAllButton").click();
    Child<QCheckBox>(dialog, "cityCheck12").setChecked(true);
    CityFlags expected{};
    expected[12] = true;
    EXPECT_EQ(dialog.Flags(), expected);
    Child<QPushButton>(dialog, "selectAllButton").click();
    flags.fill(true);
    EXPECT_EQ(dialog.Flags(), flags);

    // The keyboard starts on OK and runs ｷｬﾝｾﾙ, the cities, 全て選択, 全て解除.
    dialog.show();
    QStringList order;
    for (QWidget* widget = dialog.focusWidget(); widget && order.size() < 17;
         widget = widget->nextInFocusChain())
        if (widget->focusPolicy() & Qt::TabFocus) order.append(widget->objectName());
    QStringList tabOrder = {"okButton", "cancelButton"};
    for (int i = 0; i < kCityCount; ++i) tabOrder.append(QStringLiteral("cityCheck%1").arg(i));
    tabOrder.append({"selectAllButton", "clearAllButton"});
    EXPECT_EQ(order, tabOrder);
}

class DownloadDialogTest : public GuiTest {
protected:
    // Runs the dialog as the view does; the outcome only counts after OK.
    int Run(bool download = true, DownloadOutcome* outcome = nullptr) {
        DownloadDialog dialog(
            {m_context.folder.DownloadFolder(), m_context.portalHost, {"me", "", {}}, download},
            m_clock);
        const int result = dialog.exec();
        if (outcome) *outcome = dialog.TakeOutcome();
        return result;
    }
    void SetUp() override {
        GuiTest::SetUp();
        std::filesystem::create_directory(m_context.folder.DownloadFolder());
    }
};

// The error box's キャンセル ends the download at once, as the dialog's own Cancel
// does, also while a box is open (cancelAt 0).
TEST_F(DownloadDialogTest, TheErrorBoxCanCancelTheDownload) {
    for (const int cancelAt : {1, 3, 0}) {
        int boxes = 0;
        m_answers["LanguageSelect"] = [&](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            EXPECT_TRUE(box.text().startsWith("ErrorCode = 7 : "));
            const auto button = ++boxes == cancelAt ? QMessageBox::Cancel : QMessageBox::Ok;
            EXPECT_EQ(box.button(button)->text(),
                      button == QMessageBox::Cancel ? "キャンセル" : "OK");
            if (cancelAt > 0) return box.button(button)->click();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<DownloadDialog*>(window)) progress->reject();
        };
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(Run(), QDialog::Rejected);
        EXPECT_EQ(boxes, std::max(cancelAt, 1));
        if (cancelAt == 0) {
            EXPECT_LT(timer.elapsed(), 1000) << "the dialog's own Cancel with a box open";
        }
    }
}

// Cancel, Esc or the close box at a random moment of either pass: the dialog
// ends with Cancel well within a second and the saved pages stay whole.
TEST_F(DownloadDialogTest, CancelAtAnyMomentEndsWithCancelAtOnce) {
    SavePortalPages();
    const auto saved = FolderBytes(m_context.folder.DownloadFolder());
    portal::PortalSettings slow;
    slow.latencyMs = 5;
    StartPortal(ThreeShopPortal(), slow);
    std::mt19937 random(20240506);
    for (int run = 0; run < 12; ++run) {
        const int delayMs = std::uniform_int_distribution<int>(0, 60)(random);
        const int way = run % 3;
        qint64 cancelledAt = -1;
        QElapsedTimer timer;
        m_answers[kProgressTitle] = [&](QDialog& dialog) {
            QTimer::singleShot(delayMs, &dialog, [&, way] {
                cancelledAt = timer.elapsed();
                if (way == 0) Child<QPushButton>(dialog, "cancelButton").click();
                if (way == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
                if (way == 2) dialog.close();
            });
        };
        timer.start();
        const int result = Run();
        if (cancelledAt < 0) continue;  // ended before the cancel came
        EXPECT_EQ(result, QDialog::Rejected) << "run " << run;
        EXPECT_LT(timer.elapsed() - cancelledAt, 1000) << "run " << run;
    }
    EXPECT_TRUE(FolderBytes(m_context.folder.DownloadFolder()) == saved);
    DownloadOutcome outcome;
    m_answers[kProgressTitle] = {};
    ASSERT_EQ(Run(false, &outcome), QDialog::Accepted);
    EXPECT_EQ(outcome.lastUpdate, "") << "reading the saved pages is no update";
}

// Colours no theme uses, so every pixel tells which part painted it.
TEST(PercentProgressCtrlTest, FillsInProportionAndWritesThePercentInTwoColours) {
    const QColor bar(0, 0, 255), barText(255, 255, 0), emptyText(255, 0, 0), empty(0, 255, 0);
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Highlight, bar);
    palette.setColor(QPalette::HighlightedText, barText);
    palette.setColor(QPalette::WindowText, emptyText);
    palette.setColor(QPalette::Button, empty);
    QApplication::setPalette(palette);
    const auto count = [](const QImage& image, const QRect& area, const QColor& color) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == color;
        return n;
    };
    const struct {
        int upper, pos;
        const char* text;
        int fill;  // filled interior columns of a bar 201 pixels wide
    } cases[] = {{13, 0, "0%", 0},    {3, 1, "33%", 67},     {2, 1, "50%", 100},
                 {3, 2, "67%", 133},  {13, 13, "100%", 199}, {0, 0, "100%", 199},
                 {-4, 0, "100%", 199}};
    for (const auto& c : cases) {
        PercentProgressCtrl progress;
        QFont font = progress.font();
        font.setPixelSize(14);
        font.setStyleStrategy(QFont::NoAntialias);
        progress.setFont(font);
        progress.resize(201, 30);
        progress.SetShowPercent(true);
        progress.SetRange(0, c.upper);
        progress.SetPos(c.pos);
        EXPECT_EQ(progress.ShownText(), QString::fromLatin1(c.text));
        const QImage image = progress.grab().toImage();
        // The top interior row lies above the text.
        EXPECT_EQ(count(image, QRect(1, 1, c.fill, 1), bar), c.fill);
        EXPECT_EQ(count(image, QRect(1 + c.fill, 1, 199 - c.fill, 1), empty), 199 - c.fill);
        EXPECT_EQ(count(image, QRect(0, 0, 201, 1), bar) + count(image, QRect(0, 0, 201, 1), empty),
                  0);
        // Each text colour only over its own part.
        EXPECT_EQ(count(image, QRect(1, 1, c.fill, 28), emptyText), 0);
        EXPECT_EQ(count(image, QRect(1 + c.fill, 1, 199 - c.fill, 28), barText), 0);
    }
    QApplication::setPalette(saved);
}

}  // namespace
