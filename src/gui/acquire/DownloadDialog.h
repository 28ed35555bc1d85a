#pragma once
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "acquire/JobResult.h"
#include "acquire/WorkerThread.h"
#include "config/DownloadSettings.h"
#include "shopdata/CompanyEntry.h"
#include "shopdata/ProductRecord.h"

class Clock;
class DownloadSession;
class PercentProgressCtrl;
class QLabel;
class QMessageBox;

// What the dialog is asked to do: where the pages are kept, where they come from
// and with which account. Without `download` nothing is fetched: the pages saved
// by the last download are parsed again.
struct DownloadRequest {
    std::string folder;
    std::string host;
    DownloadSettings settings;
    bool download = false;
};

// What a run that ended with OK gives: the companies and products it found and,
// when it downloaded, the time of the update.
struct DownloadOutcome {
    std::vector<CompanyEntry> companies;
    std::vector<ProductRecord> products;
    std::string lastUpdate;
};

// The modal progress dialog behind which the shop data are refreshed: it runs the
// download job on its worker thread and shows the job's progress. exec() gives
// Accepted only when the job ended with OK; TakeOutcome() then holds its results.
class DownloadDialog : public QDialog {
    Q_OBJECT
public:
    DownloadDialog(DownloadRequest request, const Clock& clock, QWidget* parent = nullptr);
    ~DownloadDialog() override;

    DownloadOutcome TakeOutcome() { return std::move(m_outcome); }
    // How the job ended; a cancel before it started counts as Cancelled.
    const JobResult& Result() const { return m_result; }

    // Cancel button, Esc and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartWorker();
    void ShowStatusLine(const QString& text);
    void ShowDetailLine(const QString& text);
    void ShowNetworkError(const QString& text, const QString& caption);
    // The job reported its end, or the player cancelled.
    void Finish(bool jobEnded);
    // Stops the worker, cancelling its job first when `cancel`, and detaches the
    // session; gives WorkerThread::Stop's answer.
    std::uint32_t EndWorker(bool cancel);

    const DownloadRequest m_request;
    const Clock& m_clock;
    QLabel* m_statusLine;
    PercentProgressCtrl* m_progress;
    QLabel* m_detailLine;
    QPointer<QMessageBox> m_errorBox;
    std::shared_ptr<DownloadSession> m_session;
    WorkerThread m_worker;
    DownloadOutcome m_outcome;
    JobResult m_result;
    bool m_finished = false;
};
