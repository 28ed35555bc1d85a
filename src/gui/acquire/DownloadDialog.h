#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquire/WorkerThread.h"
#include "shopdata/ProductRecord.h"

class ConfigStore;
class DownloadSession;
class PercentProgressCtrl;
class QLabel;
class QMessageBox;

// The modal progress dialog behind which the shop data are refreshed: it asks for
// the account first (when downloading), runs the download job on its worker thread
// and shows the job's progress. The company list, the products and the time of the
// last update change only when the job ends with OK; a cancel, or a job that found
// no company, leaves all three as they were.
class DownloadDialog : public QDialog {
    Q_OBJECT
public:
    // Without `downloadEnabled` nothing is fetched and no account is asked for: the
    // pages saved by the last download are parsed again.
    DownloadDialog(ConfigStore& config, std::vector<ProductRecord>& products, bool downloadEnabled,
                   QWidget* parent = nullptr);
    ~DownloadDialog() override;

    // Asks for the download settings first when downloading; their Cancel ends this
    // dialog at once with Rejected, before it is shown.
    int exec() override;
    // Cancel button, Esc and the close box.
    void reject() override;

    // The text stored as the time of the last update; local time by default.
    using Clock = std::function<std::string()>;
    static void SetClock(Clock clock);
    // Where pages are fetched from instead of PortalHost(); empty restores it.
    static void SetHostOverride(std::string host);

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class DownloadSession;

    // Reports of the job, delivered on this thread.
    void ShowStatusLine(const std::string& text);
    void ShowDetailLine(const std::string& text);
    void ShowProgressRange(int upper);
    void ShowProgressPos(int pos);
    void ShowNetworkError(const std::string& text, const std::string& caption);
    void Finish(bool ok);

    void StartWorker();
    // Stops the worker, cancelling its job first when `cancel`, and detaches the session.
    void EndWorker(bool cancel);
    void TakeOverResults();

    ConfigStore& m_config;
    std::vector<ProductRecord>& m_products;
    const bool m_downloadEnabled;
    QLabel* m_statusLine;
    PercentProgressCtrl* m_progress;
    QLabel* m_detailLine;
    QPointer<QMessageBox> m_errorBox;
    std::shared_ptr<DownloadSession> m_session;
    WorkerThread m_worker;
    bool m_finished = false;
};
