#include "acquire/DownloadSession.h"

#include <QThread>

#include "mainframe/QtText.h"

std::shared_ptr<DownloadSession> DownloadSession::Create() {
    // The worker may hold the last reference; then deleteLater hands the object back
    // to the thread it belongs to. On that thread it goes at once, and with it the
    // fetcher's open connection.
    return std::shared_ptr<DownloadSession>(new DownloadSession, [](DownloadSession* session) {
        if (session->thread() == QThread::currentThread())
            delete session;
        else
            session->deleteLater();
    });
}

bool DownloadSession::Prepare(const std::string& folder, const std::string& host,
                              const DownloadSettings& settings, bool download, std::string& error) {
    if (download) {
        HttpFetcherStart start = StartHttpFetcher(settings.connection, *this, m_cancelRequested);
        if (!start.fetcher) {
            error = start.error;
            return false;
        }
        m_fetcher = std::move(start.fetcher);
    }
    m_job = std::make_unique<DownloadJob>(
        folder, DownloadSource{m_fetcher.get(), host, settings.portalId, settings.portalPassword},
        static_cast<JobReporter&>(*this), m_cancelRequested);
    return true;
}

std::uint32_t DownloadSession::Run() {
    return JobThreadProc(*m_job);
}

void DownloadSession::Cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancelRequested.store(true);
    }
    m_errorBoxClosed.notify_all();
}

void DownloadSession::Detach() {
    disconnect();
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

// Signals sent from the worker are queued to the receivers on the user-interface
// thread; Qt keeps their order.
void DownloadSession::SetStatusLine(const std::string& text) {
    emit statusLine(ToQString(text));
}

void DownloadSession::SetDetailLine(const std::string& text) {
    emit detailLine(ToQString(text));
}

void DownloadSession::SetProgressRange(int upper) {
    emit progressRange(upper);
}

void DownloadSession::SetProgressPos(int pos) {
    emit progressPos(pos);
}

void DownloadSession::JobFinished(const JobResult& result) {
    m_result = result;
    emit finished();
}

void DownloadSession::ShowNetworkError(const std::string& text, const std::string& caption) {
    // The fetch goes on only once the user has closed the box, or the download is
    // cancelled, or the dialog has gone: then nobody is left to close it.
    const auto stopped = [this] { return m_cancelRequested.load() || m_detached; };
    std::unique_lock lock(m_mutex);
    if (stopped()) return;
    m_errorBoxOpen = true;
    lock.unlock();
    emit networkError(ToQString(text), ToQString(caption));
    lock.lock();
    m_errorBoxClosed.wait(lock, [&] { return !m_errorBoxOpen || stopped(); });
}
