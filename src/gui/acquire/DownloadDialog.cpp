#include "acquire/DownloadDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquire/DownloadSession.h"
#include "mainframe/MessageBoxes.h"
#include "mainframe/PercentProgressCtrl.h"
#include "mainframe/QtText.h"
#include "platform/Clock.h"

namespace {

constexpr std::uint32_t kStopTimeoutMs = 1000;

QLabel* MakeLine(const QString& objectName, QWidget* parent) {
    auto* line = new QLabel(parent);
    line->setObjectName(objectName);
    line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long text is cut at the dialog's edge rather than widening the dialog.
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return line;
}

}  // namespace

DownloadDialog::DownloadDialog(DownloadRequest request, const Clock& clock, QWidget* parent)
    : QDialog(parent), m_request(std::move(request)), m_clock(clock) {
    setWindowTitle(QStringLiteral("しばらくお待ちください..."));
    setFixedSize(420, 200);

    m_statusLine = MakeLine(QStringLiteral("statusLine"), this);
    m_progress = new PercentProgressCtrl(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFixedHeight(30);
    m_progress->SetShowPercent(true);
    m_progress->SetEmptyColor(Qt::white);
    m_detailLine = MakeLine(QStringLiteral("detailLine"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setFixedSize(100, 28);
    connect(cancelButton, &QPushButton::clicked, this, &DownloadDialog::reject);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cancelButton);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 12);
    layout->addWidget(m_statusLine);
    layout->addWidget(m_progress);
    layout->addWidget(m_detailLine);
    layout->addLayout(buttonRow);
}

DownloadDialog::~DownloadDialog() {
    if (m_session) EndWorker(true);
}

void DownloadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_session && !m_finished) StartWorker();
}

void DownloadDialog::StartWorker() {
    m_session = DownloadSession::Create();
    DownloadSession* session = m_session.get();
    connect(session, &DownloadSession::statusLine, this, &DownloadDialog::ShowStatusLine);
    connect(session, &DownloadSession::detailLine, this, &DownloadDialog::ShowDetailLine);
    connect(session, &DownloadSession::progressRange, this,
            [this](int upper) { m_progress->SetRange(0, upper); });
    connect(session, &DownloadSession::progressPos, this,
            [this](int pos) { m_progress->SetPos(pos); });
    connect(session, &DownloadSession::networkError, this, &DownloadDialog::ShowNetworkError);
    connect(session, &DownloadSession::finished, this, [this] { Finish(true); });

    std::string error;
    bool started = session->Prepare(m_request.folder, m_request.host, m_request.settings,
                                    m_request.download, error);
    if (!started) {
        TellFetcherNotReady(this, QString::fromStdString(error));
    } else {
        const std::shared_ptr<DownloadSession> shared = m_session;
        started = m_worker.Start([shared] { return shared->Run(); }, kStopTimeoutMs) !=
                  WorkerThread::kStartFailed;
    }
    // Still inside show(): ending the dialog has to wait for its event loop.
    if (!started) QMetaObject::invokeMethod(this, &DownloadDialog::reject, Qt::QueuedConnection);
}

void DownloadDialog::reject() {
    Finish(false);
}

void DownloadDialog::Finish(bool jobEnded) {
    if (m_finished) return;
    m_finished = true;
    bool ok = false;
    if (m_session) {
        // A cancel that came after the job had finished, pages moved and all, is too
        // late to undo it: the list then shows what is now on disk.
        if (EndWorker(!jobEnded) != WorkerThread::kStillActive) m_result = m_session->Result();
        ok = m_result.end == JobEnd::Ok;
        if (ok) {
            // The job has ended, so its results are this thread's to move.
            DownloadJob& job = m_session->Job();
            m_outcome.companies = std::move(job.Companies());
            m_outcome.products = std::move(job.Products());
            if (m_request.download) m_outcome.lastUpdate = platform::LocalTimeText(m_clock.Now());
        }
    }
    if (m_errorBox) m_errorBox->reject();
    QDialog::done(ok ? QDialog::Accepted : QDialog::Rejected);
}

std::uint32_t DownloadDialog::EndWorker(bool cancel) {
    if (cancel) m_session->Cancel();
    const std::uint32_t code = m_worker.Stop();
    m_session->Detach();
    return code;
}

void DownloadDialog::ShowStatusLine(const QString& text) {
    if (m_finished) return;
    // A label draws a tab as one narrow space; the column gap needs more.
    m_statusLine->setText(QString(text).replace(QLatin1Char('\t'), QStringLiteral("    ")));
}

void DownloadDialog::ShowDetailLine(const QString& text) {
    if (!m_finished) m_detailLine->setText(text);
}

void DownloadDialog::ShowNetworkError(const QString& text, const QString& caption) {
    if (m_finished) return;
    // OK goes on with the next request; キャンセル ends the download as the
    // progress dialog's own Cancel does, so a portal that is down does not hold
    // the player through one box per page.
    auto* box = new QMessageBox(QMessageBox::Critical, caption, text,
                                QMessageBox::Ok | QMessageBox::Cancel, this);
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    m_errorBox = box;
    const QPointer<QMessageBox> guard(box);
    // The shared session outlives the box even if this dialog goes while it is open.
    const std::shared_ptr<DownloadSession> session = m_session;
    const int answer = box->exec();
    // Null when the dialog, and the box with it, was destroyed while the box was open.
    delete guard.data();
    if (answer == QMessageBox::Cancel && !m_finished) {
        reject();
        return;
    }
    session->ErrorBoxClosed();
}
