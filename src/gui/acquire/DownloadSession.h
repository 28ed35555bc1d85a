#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/JobReporter.h"
#include "acquire/NetworkErrorReporter.h"
#include "config/DownloadSettings.h"

// Everything the worker thread of one download uses: the job with its own company
// list and products, the fetcher and the cancel flag. The dialog and the worker
// share it, so a worker that outlives the dialog's stop still runs on live data.
// The job's reports leave the worker as signals, which reach the dialog queued on
// the user-interface thread in the order they were made; the worker never waits
// for that thread, except while a network error box is open.
class DownloadSession : public QObject, private JobReporter, private NetworkErrorReporter {
    Q_OBJECT
public:
    // Made through Create only: the session must be freed on its own thread,
    // whichever thread lets go of it last.
    static std::shared_ptr<DownloadSession> Create();

    // Prepares the job; without `download` nothing is fetched and the saved pages
    // are parsed again. False, with the reason, when no fetcher could be started.
    bool Prepare(const std::string& folder, const std::string& host,
                 const DownloadSettings& settings, bool download, std::string& error);

    // Worker thread: runs the job and reports how it ended.
    std::uint32_t Run();

    // User-interface thread only, and only after the worker has ended.
    DownloadJob& Job() { return *m_job; }
    const JobResult& Result() const { return m_result; }

    // User-interface thread: asks the job to stop, which also aborts a transfer in
    // progress and ends the wait for an open error box.
    void Cancel();
    // User-interface thread: the error box raised by networkError was closed.
    void ErrorBoxClosed();
    // User-interface thread: nobody listens any more; an error box is not waited for.
    void Detach();

signals:
    void statusLine(const QString& text);
    void detailLine(const QString& text);
    void progressRange(int upper);
    void progressPos(int pos);
    void networkError(const QString& text, const QString& caption);
    void finished();

private:
    DownloadSession() = default;

    void SetStatusLine(const std::string& text) override;
    void SetDetailLine(const std::string& text) override;
    void SetProgressRange(int upper) override;
    void SetProgressPos(int pos) override;
    void JobFinished(const JobResult& result) override;
    void ShowNetworkError(const std::string& text, const std::string& caption) override;

    std::atomic<bool> m_cancelRequested{false};
    std::mutex m_mutex;
    std::condition_variable m_errorBoxClosed;
    bool m_errorBoxOpen = false;  // guarded by m_mutex
    bool m_detached = false;      // guarded by m_mutex
    std::unique_ptr<HttpFetcher> m_fetcher;
    std::unique_ptr<DownloadJob> m_job;
    JobResult m_result;  // written by the worker before it ends
};
