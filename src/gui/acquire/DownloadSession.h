#pragma once
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

class ConfigStore;
class DownloadDialog;

// Everything the worker thread of one download uses: the job with its own company
// list and products, the fetcher, the cancel flag and the bridge that carries the
// job's reports to the dialog. The dialog and the worker share it, so a worker that
// outlives the dialog's Stop still runs on live data. Reports reach the dialog only
// as calls queued to the user-interface thread, in the order they were made, and are
// dropped there once the dialog has detached; the worker never waits for that
// thread, except while a network error box is open.
class DownloadSession : public std::enable_shared_from_this<DownloadSession>,
                        private JobReporter,
                        private NetworkErrorReporter {
public:
    // Takes the account and the proxy settings from `config` as they are now.
    // Without `download` nothing is fetched: the saved pages are parsed again.
    DownloadSession(DownloadDialog& dialog, std::string folder, std::string host,
                    const ConfigStore& config, bool download);

    // Worker thread: runs the job and reports how it ended.
    std::uint32_t Run();

    // User-interface thread only, and only after the worker has ended or been let go.
    DownloadJob& Job() { return m_job; }

    // User-interface thread: asks the job to stop, which also aborts a transfer in
    // progress and ends the wait for an open error box.
    void Cancel();
    // User-interface thread: no report reaches the dialog from now on.
    void Detach();

private:
    void SetStatusLine(const std::string& text) override;
    void SetDetailLine(const std::string& text) override;
    void SetProgressRange(int upper) override;
    void SetProgressPos(int pos) override;
    void JobFinished(bool ok) override;
    void ShowNetworkError(const std::string& text, const std::string& caption) override;

    template <typename Call>
    void Post(Call call);
    void ErrorBoxClosed();

    DownloadDialog* m_dialog;  // user-interface thread only; null once detached
    std::atomic<bool> m_cancelRequested{false};
    std::mutex m_mutex;
    std::condition_variable m_errorBoxClosed;
    bool m_errorBoxOpen = false;  // guarded by m_mutex
    bool m_detached = false;      // guarded by m_mutex
    std::unique_ptr<HttpFetcher> m_fetcher;
    DownloadJob m_job;
};
