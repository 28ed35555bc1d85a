#pragma once
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include "acquire/DownloadDialog.h"
#include "mainframe/PercentProgressCtrl.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"

// Ends a running download dialog the ways a user can, at a chosen moment of one of
// its passes: for tests that press Cancel, Esc or the close box at random moments.

enum class Pass { City, Shop, Parse };
enum class Way { Button, Escape, CloseBox };

inline const char* PassName(Pass pass) {
    return pass == Pass::City ? "City" : pass == Pass::Shop ? "Shop" : "Parse";
}

inline const char* WayName(Way way) {
    return way == Way::Button ? "Button" : way == Way::Escape ? "Escape" : "CloseBox";
}

// The slow portal of these tests: kSlowPortalShops companies, every request waiting
// kSlowPortalLatencyMs, so that each fetch lasts at least that long.
inline constexpr int kSlowPortalShops = 20;
inline constexpr int kSlowPortalLatencyMs = 3;

// Started, and set as the download dialog's portal; null when it could not start.
inline std::unique_ptr<portal::PortalServer> StartSlowPortal() {
    portal::PortalSettings settings;
    settings.latencyMs = kSlowPortalLatencyMs;
    auto server = std::make_unique<portal::PortalServer>(
        std::shared_ptr<const portal::PageSource>(
            portal::MakeGeneratedPageSource(5, kSlowPortalShops, 4)),
        std::move(settings));
    if (!server->Start(0)) return nullptr;
    DownloadDialog::SetHostOverride(server->HostPort());
    return server;
}

inline bool InPass(QDialog& dialog, Pass pass) {
    const QString status = dialog.findChild<QLabel*>(QStringLiteral("statusLine"))->text();
    switch (pass) {
        case Pass::City:
            return status == QStringLiteral("商会数合計を調べています...");
        case Pass::Shop:
            return status.startsWith(QStringLiteral("商品リストをダウンロード中です..."));
        case Pass::Parse:
            return status == QStringLiteral("商品リストを解析中です...");
    }
    return false;
}

inline int ShownPercent(QDialog& dialog) {
    QString text = dialog.findChild<PercentProgressCtrl*>(QStringLiteral("progress"))->ShownText();
    return text.remove(QLatin1Char('%')).toInt();
}

// The moment to act: once the bar of `pass` shows `percent`, `delayMs` later.
struct Moment {
    Pass pass;
    int percent;
    int delayMs;
};

// A random moment of a pass of `items` items, from its start to its very end, where
// the press races the job's own OK; with a delay of up to one fetch in the passes
// that fetch.
inline Moment RandomMoment(Pass pass, int items, std::mt19937& random) {
    const int done = std::uniform_int_distribution<int>(0, items)(random);
    const int delay = pass == Pass::Parse
                          ? 0
                          : std::uniform_int_distribution<int>(0, kSlowPortalLatencyMs)(random);
    return {pass, done * 100 / items, delay};
}

// Presses the dialog's Cancel button, Esc or its close box at the moment given. The
// moment is looked for between two reports of the job, where a user's press would
// be handled too; the pause after it handles no event, so the job cannot end with
// OK on this thread before the press.
class DownloadCanceller : public QObject {
public:
    DownloadCanceller(QDialog& dialog, Moment moment, Way way)
        : m_dialog(&dialog), m_moment(moment), m_way(way) {
        qApp->installEventFilter(this);
    }
    ~DownloadCanceller() override { qApp->removeEventFilter(this); }

    bool acted = false;
    qint64 closingMs = -1;  // how long the press took to close the dialog

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (acted || watched != qApp || event->type() != QEvent::MetaCall || !m_dialog ||
            !m_dialog->isVisible() || !InPass(*m_dialog, m_moment.pass) ||
            ShownPercent(*m_dialog) < m_moment.percent)
            return false;
        acted = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(m_moment.delayMs));
        QElapsedTimer closing;
        closing.start();
        if (m_way == Way::Button)
            QTest::mouseClick(m_dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                              Qt::LeftButton);
        else if (m_way == Way::Escape)
            QTest::keyClick(m_dialog, Qt::Key_Escape);
        else
            m_dialog->close();
        closingMs = m_dialog->isVisible() ? -1 : closing.elapsed();
        return false;
    }

private:
    QPointer<QDialog> m_dialog;
    const Moment m_moment;
    const Way m_way;
};
