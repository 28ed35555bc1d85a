#include "listview/CVeraduneView.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

#include "acquire/DownloadDialog.h"
#include "acquire/PagePaths.h"
#include "app/TheConfig.h"
#include "listview/CityFilterDialog.h"
#include "listview/ProductFilter.h"
#include "listview/ProductListCtrl.h"
#include "listview/ProductSort.h"
#include "listview/StatusTexts.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/ModalRunner.h"
#include "mainframe/QtText.h"
#include "platform/Files.h"

namespace {

// Shares of the view's width, in column order; the last 2 % stay empty.
constexpr std::array<int, kColumnCount> kColumnPercent = {18, 8, 8, 9, 8, 8, 8, 19, 12};

SortKey CurrentSortKey() {
    return {theConfig.sortColumn, theConfig.sortOrder};
}

}  // namespace

CVeraduneView::CVeraduneView(CMainFrame& frame, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_list(new ProductListCtrl(this)) {
    setObjectName(QStringLiteral("productView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CVeraduneView::OnColumnClick);
}

void CVeraduneView::OnInitialUpdate() {
    // A missing or broken file leaves the defaults.
    theConfig.Load(kConfigFileName);
    SetupColumns();
    FillHistoryBox();
    // Without saved pages there is nothing to parse: fetch them first. A folder
    // that cannot be created shows up as the download's own failure.
    bool download = false;
    if (!platform::PathExists(kDownloadFolder)) {
        platform::CreateDirectory(kDownloadFolder);
        download = true;
    }
    RefreshAfterDownload(download);
}

void CVeraduneView::SaveSettings() {
    theConfig.Save(kConfigFileName);
}

void CVeraduneView::SetupColumns() {
    m_list->SetRowHeight(theConfig.rowHeight);
    m_list->Model().SetHeaderKey(CurrentSortKey());
    FitColumnWidths();
}

void CVeraduneView::FillHistoryBox() {
    QComboBox& names = m_frame.NameCombo();
    names.clear();
    for (auto entry = theConfig.searchHistory.rbegin(); entry != theConfig.searchHistory.rend();
         ++entry)
        names.addItem(ToQString(*entry));
    // Filling an empty box selects its first entry; the name input starts empty.
    names.setCurrentIndex(-1);
}

void CVeraduneView::RefreshAfterDownload(bool download) {
    // The dialog fills a table of its own: until the new products are filtered,
    // the rows on screen keep showing the records they were made from.
    std::vector<ProductRecord> loaded;
    DownloadDialog dialog(theConfig, loaded, download, this);
    if (RunModal(dialog) != QDialog::Accepted) return;
    m_frame.SetLastUpdateText(ToQString(LastUpdateText(theConfig.lastUpdate)));
    // No event is handled from here to the end of the filter run, so the list
    // never paints its old rows from the new table.
    products = std::move(loaded);
    SortProducts(products, CurrentSortKey());
    StartFilter();
}

FilterInputs CVeraduneView::ReadFilterInputs() const {
    return MakeFilterInputs(
        FromQString(m_frame.NameCombo().currentText()),
        FromQString(m_frame.CategoryCombo().currentText()), FromQString(m_frame.PriceEdit().text()),
        m_frame.PriceConditionCombo().currentIndex(), FromQString(m_frame.StockEdit().text()),
        m_frame.StockConditionCombo().currentIndex(), m_frame.CheapestOnlyAction().isChecked());
}

void CVeraduneView::StartFilter() {
    const FilterInputs inputs = ReadFilterInputs();
    if (AddSearchHistoryEntry(theConfig.searchHistory, inputs.nameText))
        m_frame.NameCombo().insertItem(0, ToQString(inputs.nameText));
    SetFilterActive(AnyFilterSet(inputs));
    ApplyFilters(theConfig.cityEnabled, inputs);
}

void CVeraduneView::ClearFilter() {
    SetFilterActive(false);
    m_frame.NameCombo().setCurrentIndex(-1);
    m_frame.NameCombo().clearEditText();
    m_frame.PriceEdit().clear();
    m_frame.PriceConditionCombo().setCurrentIndex(-1);
    m_frame.StockEdit().clear();
    m_frame.StockConditionCombo().setCurrentIndex(-1);
    m_frame.CategoryCombo().setCurrentIndex(-1);
    m_frame.CheapestOnlyAction().setChecked(false);
    cheapestOnly = 0;
    // The city flags stay in force.
    ApplyFilters(theConfig.cityEnabled, FilterInputs());
}

void CVeraduneView::OnCheapestOnly() {
    cheapestOnly = cheapestOnly ? 0 : 1;
    m_frame.CheapestOnlyAction().setChecked(cheapestOnly != 0);
    StartFilter();
}

void CVeraduneView::OnCityFilter() {
    CityFilterDialog dialog(theConfig.cityEnabled, this);
    if (RunModal(dialog) == QDialog::Accepted) StartFilter();
}

void CVeraduneView::OnColumnClick(int column) {
    const SortKey key = ClickColumn(CurrentSortKey(), column);
    theConfig.sortColumn = key.column;
    theConfig.sortOrder = key.order;
    ProductTableModel& model = m_list->Model();
    model.SetHeaderKey(key);
    // The shown rows are ordered by their texts, `products` by its values; no
    // filter runs.
    model.SortRows(key);
    model.ProductsSorted(products, SortProductsTracked(products, key));
}

void CVeraduneView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitColumnWidths();
}

void CVeraduneView::ApplyFilters(const CityFlags& flags, const FilterInputs& inputs) {
    FilteredRows shown = FilterProducts(products, flags, inputs, CurrentSortKey());
    const int hits = static_cast<int>(shown.positions.size());
    const size_t examined = shown.fromCheapest ? shown.cheapest.size() : products.size();
    m_list->Model().Show(products, std::move(shown));
    // The pass runs in one go, so the bar ends where every pass leaves it: its
    // range over the records examined, at position 0.
    m_frame.ResetProgress(static_cast<int>(examined));
    m_frame.SetHitText(ToQString(HitCountText(hits)));
}

void CVeraduneView::SetFilterActive(bool active) {
    filterActive = active ? 1 : 0;
    m_frame.ClearFilterAction().setEnabled(active);
}

void CVeraduneView::FitColumnWidths() {
    const int width = this->width();
    for (int column = 0; column < kColumnCount; ++column)
        m_list->setColumnWidth(column, width * kColumnPercent[column] / 100);
}
