#include "listview/CVeraduneView.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstring>
#include <sstream>

#include "acquire/DownloadDialog.h"
#include "acquire/PageStaging.h"
#include "config/ConfigStore.h"
#include "config/DownloadSettings.h"
#include "config/DownloadSettingsDialog.h"
#include "history/GoneOffersDialog.h"
#include "history/PriceHistoryDialog.h"
#include "listview/CityFilterDialog.h"
#include "listview/ProductListCtrl.h"
#include "listview/StatusTexts.h"
#include "listview/TableWriter.h"
#include "mainframe/MessageBoxes.h"
#include "mainframe/QtText.h"
#include "platform/Files.h"

namespace {

// Shares of the view's width, in column order; the last 2 % stay empty.
constexpr std::array<int, kColumnCount> kColumnPercent = {18, 8, 8, 9, 8, 8, 8, 19, 12};

}  // namespace

CVeraduneView::CVeraduneView(ConfigStore& config, const ProgramContext& context, QWidget* parent)
    : QWidget(parent),
      m_config(config),
      m_context(context),
      m_products(config),
      m_list(new ProductListCtrl(m_products, this)) {
    setObjectName(QStringLiteral("productView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CVeraduneView::OnColumnClick);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CVeraduneView::ShowPriceHistory);
}

void CVeraduneView::Start() {
    m_list->SetRowHeight(m_config.rowHeight);
    FitColumnWidths();
    // Without saved pages there is nothing to parse: fetch them first. A folder
    // that cannot be created shows up as the download's own failure.
    const std::string folder = m_context.folder.DownloadFolder();
    // A download that a crash cut short is finished or thrown away first.
    PageStaging(folder).Recover();
    StartOpeningHistory();
    bool download = false;
    if (!platform::PathExists(folder)) {
        platform::CreateDirectory(folder);
        download = true;
    }
    RefreshAfterDownload(download);
}

void CVeraduneView::RefreshAfterDownload(bool download) {
    // A download is recorded after the first record. What the opening of the
    // history has to tell comes before a download's questions, and after a parse
    // of the saved pages, which the opening runs beside.
    FinishFirstRecord();
    if (download) TakeOpenedHistory();
    DownloadRequest request{m_context.folder.DownloadFolder(), m_context.portalHost,
                            DownloadSettingsOf(m_config), download};
    if (download) {
        // The account is kept once confirmed, even if the download is then cancelled.
        DownloadSettingsDialog settings(request.settings, this);
        if (settings.exec() != QDialog::Accepted) return;
        request.settings = settings.Settings();
        StoreDownloadSettings(request.settings, m_config);
    }
    DownloadDialog dialog(std::move(request), *m_context.clock, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    TakeOpenedHistory();
    const JobResult& result = dialog.Result();
    if (!accepted) {
        // Reading the saved pages again fails silently: there may be none yet.
        if (download && result.end == JobEnd::NoCompany) TellNoCompanyFound(this);
        if (download && result.end == JobEnd::NothingFetched)
            TellPortalUnreachable(this, QString::fromStdString(result.lastFailure));
        return;
    }
    QStringList messages;
    if (result.pagesKept > 0)
        messages.append(
            QStringLiteral("%1件のページを取得できなかったため、前回のものを使っています")
                .arg(result.pagesKept));
    DownloadOutcome outcome = dialog.TakeOutcome();
    m_config.companies = std::move(outcome.companies);
    if (download) m_config.lastUpdate = std::move(outcome.lastUpdate);
    // Every download is recorded; the saved pages once, when the history is new, so
    // that it starts with what the player already has. That first record marks
    // nothing, so the list need not wait for it. It takes the pages' order, which
    // the list's sort loses.
    std::optional<OfferTable> firstRecord;
    if (m_history && download) {
        std::string reason;
        if (!m_history->Record(outcome.products, m_config.lastUpdate, &reason))
            messages.append(QStringLiteral("価格の履歴を記録できませんでした（%1）")
                                .arg(QString::fromStdString(reason)));
    } else if (m_history && m_history->IsEmpty() && !outcome.products.empty()) {
        firstRecord = MakeOfferTable(outcome.products);
    }
    // The marks read at the start still hold for the saved pages; a download's
    // are read again.
    if (m_history && !firstRecord && !download && m_marksAtStart)
        m_marksAtStart->MarkOffers(outcome.products);
    else if (m_history && !firstRecord)
        m_history->MarkChanges(outcome.products);
    m_marksAtStart.reset();
    if (download || !messages.isEmpty()) emit messageChanged(messages.join(QStringLiteral("　")));
    emit lastUpdateChanged(ToQString(LastUpdateText(m_config.lastUpdate)));
    // No event is handled from here to the end of the filter run, so the list
    // never paints rows of the old table.
    m_list->Model().SetProducts(std::move(outcome.products));
    emit filterRequested();
    // Started after the sort, so that the memory of the two never adds up.
    if (firstRecord) StartFirstRecord(std::move(*firstRecord));
}

// Opening the store reads every page of it, and the marks of a start read the
// latest download: both run while the saved pages are parsed.
void CVeraduneView::StartOpeningHistory() {
    m_opening = std::make_unique<BackgroundTask<OpenedHistory>>(
        [path = m_context.folder.HistoryPath(), &clock = *m_context.clock] {
            OpenedHistory opened{PriceHistory::Open(path, clock), std::nullopt};
            if (opened.opening.history) opened.marks = opened.opening.history->ReadChangeMarks();
            return opened;
        });
}

// A history that cannot be used never stops the program: it is set aside with a
// word to the player, or the list goes on without change marks.
void CVeraduneView::TakeOpenedHistory() {
    if (!m_opening) return;
    OpenedHistory opened = m_opening->Take();
    m_opening.reset();
    HistoryOpening& opening = opened.opening;
    if (!opening.setAsidePath.empty())
        TellHistorySetAside(this, QString::fromStdString(m_context.folder.HistoryPath()),
                            QString::fromStdString(opening.setAsidePath));
    if (!opening.history)
        emit messageChanged(QStringLiteral("価格の履歴を開けませんでした（%1）")
                                .arg(QString::fromStdString(opening.failureReason)));
    m_history = std::move(opening.history);
    m_marksAtStart = std::move(opened.marks);
}

void CVeraduneView::StartFirstRecord(OfferTable offers) {
    emit historyRecording(true);
    emit messageChanged(QStringLiteral("価格の履歴を記録中です..."));
    // The view outlives the record: its destructor waits for it, and a call queued
    // to a view that has gone is dropped.
    m_firstRecord = std::make_unique<BackgroundTask<FirstRecord>>(
        [record = FirstRecord{std::move(*m_history), false, {}}, offers = std::move(offers),
         time = m_config.lastUpdate]() mutable {
            record.recorded = record.history.Record(offers, time, &record.failureReason);
            return std::move(record);
        },
        [this] {
            QMetaObject::invokeMethod(this, &CVeraduneView::FinishFirstRecord,
                                      Qt::QueuedConnection);
        });
    m_history.reset();
}

void CVeraduneView::FinishFirstRecord() {
    if (!m_firstRecord) return;
    FirstRecord record = m_firstRecord->Take();
    m_firstRecord.reset();
    m_history = std::move(record.history);
    emit messageChanged(record.recorded ? QString()
                                        : QStringLiteral("価格の履歴を記録できませんでした（%1）")
                                              .arg(QString::fromStdString(record.failureReason)));
    emit historyRecording(false);
}

void CVeraduneView::ShowGoneOffers() {
    if (!m_history) return;
    GoneOffersDialog dialog(m_history->GoneSincePrevious(), this);
    dialog.exec();
}

void CVeraduneView::ShowPriceHistory() {
    const QModelIndex current = m_list->currentIndex();
    if (!m_history || !current.isValid()) return;
    PriceHistoryDialog dialog(*m_history,
                              m_products.RowRecord(static_cast<size_t>(current.row())).productName,
                              m_config.cityEnabled, this);
    dialog.exec();
}

void CVeraduneView::StartFilter(const FilterInputs& inputs) {
    const FilterRun run = m_list->Model().Filter(inputs);
    if (run.historyAdded) emit historyEntryAdded(ToQString(inputs.nameText));
    ShowRun(run);
}

void CVeraduneView::ClearFilter() {
    ShowRun(m_list->Model().ClearFilter());
}

void CVeraduneView::OnCityFilter() {
    CityFilterDialog dialog(m_config.cityEnabled, this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_config.cityEnabled = dialog.Flags();
    emit filterRequested();
}

void CVeraduneView::OnColumnClick(int column) {
    m_list->Model().ClickColumn(column);
}

void CVeraduneView::SaveShownList() {
    QString filter;
    const QString csv = QStringLiteral("CSV (*.csv)");
    const QString tsv = QStringLiteral("TSV (*.tsv)");
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("表示中のリストを保存"),
        QString::fromStdString(m_context.folder.PathOf("list.csv")), csv + ";;" + tsv, &filter);
    if (path.isEmpty()) return;
    std::ostringstream table;
    WriteProductTable(table, m_products, filter == tsv ? TableFormat::Tsv : TableFormat::Csv);
    int error = 0;
    if (!platform::WriteFileAtomically(path.toStdString(), table.str(),
                                       platform::FileAccess::Everyone, platform::FileSync::Flush,
                                       &error))
        TellNotSaved(this, path, QString::fromLocal8Bit(std::strerror(error)));
}

void CVeraduneView::AddListCommands(const QList<QAction*>& actions) {
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction* action : actions) action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_list->addActions(actions);
}

void CVeraduneView::CopySelectedRows() {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    if (rows.empty()) return;
    std::sort(rows.begin(), rows.end());
    std::ostringstream table;
    WriteProductRows(table, m_products, rows, TableFormat::Tsv);
    QGuiApplication::clipboard()->setText(QString::fromStdString(table.str()));
}

void CVeraduneView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitColumnWidths();
}

void CVeraduneView::ShowRun(const FilterRun& run) {
    emit filterActiveChanged(m_products.FilterActive());
    emit progressReset(static_cast<int>(run.examined));
    emit hitTextChanged(ToQString(HitCountText(run.hits)));
}

void CVeraduneView::FitColumnWidths() {
    const int width = this->width();
    for (int column = 0; column < kColumnCount; ++column)
        m_list->setColumnWidth(column, width * kColumnPercent[column] / 100);
}
