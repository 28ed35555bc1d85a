#include "ScreenshotTour.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "acquire/DownloadDialog.h"
#include "app/AboutDialog.h"
#include "config/DownloadSettingsDialog.h"
#include "listview/CVeraduneView.h"
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

int ScreenshotTour::Answer(QDialog& dialog) {
    if (qobject_cast<DownloadSettingsDialog*>(&dialog)) {
        FillIfEmpty(dialog, "portalIdEdit", QStringLiteral("sailor"));
        FillIfEmpty(dialog, "portalPasswordEdit", QStringLiteral("secret"));
        dialog.show();
        Save(dialog, QStringLiteral("download-settings"));
        dialog.accept();
        return dialog.result();
    }
    if (qobject_cast<DownloadDialog*>(&dialog)) return AnswerDownload(dialog);
    if (qobject_cast<CityFilterDialog*>(&dialog) || qobject_cast<AboutDialog*>(&dialog)) {
        dialog.show();
        Save(dialog, qobject_cast<AboutDialog*>(&dialog) ? QStringLiteral("about")
                                                         : QStringLiteral("city-filter"));
        dialog.reject();
        return dialog.result();
    }
    // Anything else (a network error box) would mean the download went wrong.
    qWarning("unexpected dialog \"%s\"", qPrintable(dialog.windowTitle()));
    dialog.reject();
    return dialog.result();
}

// The dialog runs its own modal loop and job; it is grabbed while the portal holds
// back the stalled page, so the status line already counts that page and the bar
// and the detail line still show the one before.
int ScreenshotTour::AnswerDownload(QDialog& dialog) {
    const QString counted = QStringLiteral("取得済：%1 /").arg(m_stalledPosition);
    auto* statusLine = dialog.findChild<QLabel*>(QStringLiteral("statusLine"));
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (!statusLine || !statusLine->text().contains(counted)) return;
        poll.stop();
        Save(dialog, QStringLiteral("download-progress"));
    });
    poll.start();
    return dialog.exec();
}

void ScreenshotTour::VisitMainWindow(CMainFrame& frame) {
    QComboBox& category = frame.CategoryCombo();
    category.setCurrentIndex(category.findText(QStringLiteral("交易品（全て）")));
    frame.View().StartFilter();
    frame.View().OnColumnClick(kColumnPrice);
    Save(frame, QStringLiteral("main-window"));
    frame.findChild<QAction*>(QStringLiteral("cityFilterAction"))->trigger();
    frame.AboutAction().trigger();
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
