#include "ScreenshotTour.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include "acquire/DownloadDialog.h"
#include "app/AboutDialog.h"
#include "config/DownloadSettingsDialog.h"
#include "history/PriceHistoryDialog.h"
#include "listview/CityFilterDialog.h"
#include "mainframe/CMainFrame.h"
#include "shopdata/FixedTables.h"

namespace {

const QStringList& ExpectedNames() {
    static const QStringList names = {
        QStringLiteral("download-settings"),
        QStringLiteral("download-progress"),
        QStringLiteral("main-window"),
        QStringLiteral("city-filter"),
        QStringLiteral("about"),
        QStringLiteral("main-window-changes"),
        QStringLiteral("price-history"),
    };
    return names;
}

void FillIfEmpty(QDialog& dialog, const char* editName, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(editName));
    if (edit && edit->text().isEmpty()) edit->setText(text);
}

}  // namespace

ScreenshotTour::ScreenshotTour(QString outDir, int stalledPosition)
    : m_outDir(std::move(outDir)), m_stalledPosition(stalledPosition) {}

void ScreenshotTour::Answer(QDialog& dialog) {
    if (qobject_cast<DownloadSettingsDialog*>(&dialog)) {
        FillIfEmpty(dialog, "portalIdEdit", QStringLiteral("sailor"));
        FillIfEmpty(dialog, "portalPasswordEdit", QStringLiteral("secret"));
        if (!m_saved.contains(QStringLiteral("download-settings")))
            Save(dialog, QStringLiteral("download-settings"));
        dialog.accept();
    } else if (qobject_cast<DownloadDialog*>(&dialog)) {
        WatchDownload(dialog);
    } else if (qobject_cast<PriceHistoryDialog*>(&dialog)) {
        Save(dialog, QStringLiteral("price-history"));
        dialog.reject();
    } else if (qobject_cast<CityFilterDialog*>(&dialog) || qobject_cast<AboutDialog*>(&dialog)) {
        Save(dialog, qobject_cast<AboutDialog*>(&dialog) ? QStringLiteral("about")
                                                         : QStringLiteral("city-filter"));
        dialog.reject();
    } else {
        // Anything else (a network error box) would mean the download went wrong.
        qWarning("unexpected dialog \"%s\"", qPrintable(dialog.windowTitle()));
        dialog.reject();
    }
}

// The dialog runs its own job; it is grabbed while the portal holds back the
// stalled page, so the status line already counts that page and the bar and the
// detail line still show the one before.
void ScreenshotTour::WatchDownload(QDialog& dialog) {
    const QString counted = QStringLiteral("取得済：%1 /").arg(m_stalledPosition);
    auto* statusLine = dialog.findChild<QLabel*>(QStringLiteral("statusLine"));
    auto* poll = new QTimer(&dialog);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, &dialog, [this, poll, statusLine, counted, &dialog] {
        if (m_saved.contains(QStringLiteral("download-progress"))) return poll->stop();
        if (!statusLine || !statusLine->text().contains(counted)) return;
        poll->stop();
        Save(dialog, QStringLiteral("download-progress"));
    });
    poll->start();
}

void ScreenshotTour::VisitMainWindow(CMainFrame& frame) {
    auto* category = frame.findChild<QComboBox*>(QStringLiteral("categoryCombo"));
    category->setCurrentIndex(category->findText(QStringLiteral("交易品（全て）")));
    frame.findChild<QAction*>(QStringLiteral("startFilterAction"))->trigger();
    auto* list = frame.findChild<QTableView*>(QStringLiteral("productList"));
    // What a click on the price header sends.
    emit list->horizontalHeader()->sectionClicked(kColumnPrice);
    Save(frame, QStringLiteral("main-window"));
    frame.findChild<QAction*>(QStringLiteral("cityFilterAction"))->trigger();
    frame.findChild<QAction*>(QStringLiteral("aboutAction"))->trigger();
}

void ScreenshotTour::VisitChanges(CMainFrame& frame) {
    frame.findChild<QAction*>(QStringLiteral("changedOnlyAction"))->trigger();
    Save(frame, QStringLiteral("main-window-changes"));
    auto* list = frame.findChild<QTableView*>(QStringLiteral("productList"));
    list->setCurrentIndex(list->model()->index(0, 0));
    frame.findChild<QAction*>(QStringLiteral("priceHistoryAction"))->trigger();
}

QStringList ScreenshotTour::Missing() const {
    QStringList missing;
    for (const QString& name : ExpectedNames())
        if (!m_saved.contains(name)) missing.append(name + QStringLiteral(".png"));
    return missing;
}

void ScreenshotTour::Save(QWidget& widget, const QString& name) {
    const QString path = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path, "PNG")) {
        qWarning("cannot write %s", qPrintable(path));
        return;
    }
    m_saved.append(name);
}
