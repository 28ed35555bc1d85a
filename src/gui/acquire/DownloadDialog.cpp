#include "acquire/DownloadDialog.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquire/DownloadSession.h"
#include "acquire/PagePaths.h"
#include "acquire/PortalHost.h"
#include "config/ConfigStore.h"
#include "config/DownloadSettingsDialog.h"
#include "mainframe/ModalRunner.h"
#include "mainframe/PercentProgressCtrl.h"
#include "mainframe/QtText.h"

namespace {

constexpr std::uint32_t kStopTimeoutMs = 1000;

DownloadDialog::Clock& ClockSetting() {
    static DownloadDialog::Clock clock;
    return clock;
}

std::string& HostSetting() {
    static std::string host;
    return host;
}

std::string LocalTimeText() {
    if (ClockSetting()) return ClockSetting()();
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
        .toStdString();
}

QLabel* MakeLine(const QString& objectName, QWidget* parent) {
    auto* line = new QLabel(parent);
    line->setObjectName(objectName);
    line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long text is cut at the dialog's edge rather than widening the dialog.
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return line;
}

}  // namespace

void DownloadDialog::SetClock(Clock clock) {
    ClockSetting() = std::move(clock);
}

void DownloadDialog::SetHostOverride(std::string host) {
    HostSetting() = std::move(host);
}

DownloadDialog::DownloadDialog(ConfigStore& config, std::vector<ProductRecord>& products,
                               bool downloadEnabled, QWidget* parent)
    : QDialog(parent), m_config(config), m_products(products), m_downloadEnabled(downloadEnabled) {
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

int DownloadDialog::exec() {
    if (m_downloadEnabled) {
        DownloadSettingsDialog settings(m_config, this);
        if (RunModal(settings) != QDialog::Accepted) {
            m_finished = true;
            setResult(QDialog::Rejected);
            return QDialog::Rejected;
        }
    }
    return QDialog::exec();
}

void DownloadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_session && !m_finished) StartWorker();
}

void DownloadDialog::StartWorker() {
    const std::string host = HostSetting().empty() ? PortalHost() : HostSetting();
    m_session = std::make_shared<DownloadSession>(*this, kDownloadFolder, host, m_config,
                                                  m_downloadEnabled);
    const std::shared_ptr<DownloadSession> session = m_session;
    if (m_worker.Start([session] { return session->Run(); }, kStopTimeoutMs) ==
        WorkerThread::kStartFailed)
        // Still inside show(): ending the dialog has to wait for its event loop.
        QMetaObject::invokeMethod(this, &DownloadDialog::reject, Qt::QueuedConnection);
}

void DownloadDialog::reject() {
    Finish(false);
}

void DownloadDialog::Finish(bool ok) {
    if (m_finished) return;
    m_finished = true;
    if (m_session) {
        EndWorker(!ok);
        if (ok) TakeOverResults();
    }
    if (m_errorBox) m_errorBox->reject();
    QDialog::done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void DownloadDialog::EndWorker(bool cancel) {
    if (cancel) m_session->Cancel();
    m_worker.Stop();
    m_session->Detach();
}

// The job has ended, so its results are this thread's to move.
void DownloadDialog::TakeOverResults() {
    DownloadJob& job = m_session->Job();
    m_config.companies = std::move(job.Companies());
    m_products = std::move(job.Products());
    if (m_downloadEnabled) m_config.lastUpdate = LocalTimeText();
}

void DownloadDialog::ShowStatusLine(const std::string& text) {
    // A label draws a tab as one narrow space; the column gap needs more.
    m_statusLine->setText(ToQString(text).replace(QLatin1Char('\t'), QStringLiteral("    ")));
}

void DownloadDialog::ShowDetailLine(const std::string& text) {
    m_detailLine->setText(ToQString(text));
}

void DownloadDialog::ShowProgressRange(int upper) {
    m_progress->SetRange(0, upper);
}

void DownloadDialog::ShowProgressPos(int pos) {
    m_progress->SetPos(pos);
}

void DownloadDialog::ShowNetworkError(const std::string& text, const std::string& caption) {
    auto* box = new QMessageBox(QMessageBox::Critical, ToQString(caption), ToQString(text),
                                QMessageBox::Ok, this);
    m_errorBox = box;
    const QPointer<QMessageBox> guard(box);
    RunModal(*box);
    // Null when the dialog, and the box with it, was destroyed while the box was open.
    delete guard.data();
}
