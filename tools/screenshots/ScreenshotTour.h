#pragma once
#include <QString>
#include <QStringList>

class CMainFrame;
class QDialog;
class QWidget;

// Walks through the program's windows as a player meets them and saves each one as
// a PNG file: it answers every dialog the program opens, grabbing it first.
class ScreenshotTour {
public:
    // `stalledPosition`: the shop page (1-based, in download order) whose fetch the
    // portal holds back, so that the progress dialog is caught mid-run there.
    ScreenshotTour(QString outDir, int stalledPosition);

    // Answers one shown dialog.
    void Answer(QDialog& dialog);
    // The main window with a category filter and a price sort, then the dialogs
    // opened from it.
    void VisitMainWindow(CMainFrame& frame);
    // After later downloads: the offers that changed, and one product's chart.
    void VisitChanges(CMainFrame& frame);

    // The files that were not written.
    QStringList Missing() const;

private:
    void WatchDownload(QDialog& dialog);
    void Save(QWidget& widget, const QString& name);

    QString m_outDir;
    int m_stalledPosition;
    QStringList m_saved;
};
