#include "acquire/DownloadSession.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "acquire/ConnectionSettings.h"
#include "acquire/DownloadDialog.h"
#include "config/ConfigStore.h"

namespace {

ConnectionSettings ConnectionOf(const ConfigStore& config) {
    return {config.proxyEnabled, config.proxyServer, config.proxyPort, config.proxyUser,
            config.proxyPassword};
}

}  // namespace

DownloadSession::DownloadSession(DownloadDialog& dialog, std::string folder, std::string host,
                                 const ConfigStore& config, bool download)
    : m_dialog(&dialog),
      m_fetcher(download ? std::make_unique<HttpFetcher>(ConnectionOf(config),
                                                         static_cast<NetworkErrorReporter&>(*this),
                                                         m_cancelRequested)
                         : nullptr),
      m_job(
          std::move(folder),
          DownloadSource{m_fetcher.get(), std::move(host), config.portalId, config.portalPassword},
          *this, m_cancelRequested) {}

std::uint32_t DownloadSession::Run() {
    return JobThreadProc(m_job);
}

void DownloadSession::Cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancelRequested.store(true);
    }
    m_errorBoxClosed.notify_all();
}

void DownloadSession::Detach() {
    m_dialog = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_detached = true;
    }
    m_errorBoxClosed.notify_all();
}

void DownloadSession::ErrorBoxClosed() {
    {
        std::lock_guard lock(m_mutex);
        m_errorBoxOpen = false;
    }
    m_errorBoxClosed.notify_all();
}

// The application object outlives every dialog, so it is a safe receiver to queue to
// from the worker; whether the dialog still listens is decided on its own thread.
template <typename Call>
void DownloadSession::Post(Call call) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self = shared_from_this(), call = std::move(call)] {
            if (self->m_dialog) call(*self->m_dialog);
        },
        Qt::QueuedConnection);
}

void DownloadSession::SetStatusLine(const std::string& text) {
    Post([text](DownloadDialog& dialog) { dialog.ShowStatusLine(text); });
}

void DownloadSession::SetDetailLine(const std::string& text) {
    Post([text](DownloadDialog& dialog) { dialog.ShowDetailLine(text); });
}

void DownloadSession::SetProgressRange(int upper) {
    Post([upper](DownloadDialog& dialog) { dialog.ShowProgressRange(upper); });
}

void DownloadSession::SetProgressPos(int pos) {
    Post([pos](DownloadDialog& dialog) { dialog.ShowProgressPos(pos); });
}

void DownloadSession::JobFinished(bool ok) {
    Post([ok](DownloadDialog& dialog) { dialog.Finish(ok); });
}

void DownloadSession::ShowNetworkError(const std::string& text, const std::string& caption) {
    // The fetch goes on only once the user has closed the box, or the download is
    // cancelled, or the dialog has gone: then nobody is left to close it.
    const auto stopped = [this] { return m_cancelRequested.load() || m_detached; };
    std::unique_lock lock(m_mutex);
    if (stopped()) return;
    m_errorBoxOpen = true;
    lock.unlock();
    Post([self = shared_from_this(), text, caption](DownloadDialog& dialog) {
        dialog.ShowNetworkError(text, caption);
        self->ErrorBoxClosed();
    });
    lock.lock();
    m_errorBoxClosed.wait(lock, [&] { return !m_errorBoxOpen || stopped(); });
}
