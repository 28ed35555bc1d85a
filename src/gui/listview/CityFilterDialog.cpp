#include "listview/CityFilterDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "mainframe/QtText.h"
#include "shopdata/FixedTables.h"

namespace {

constexpr int kChecksPerRow = 3;

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CityFilterDialog::CityFilterDialog(const CityFlags& flags, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cityFilterDialog"));
    setWindowTitle(QStringLiteral("都市名で絞り込む"));
    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(24);
    checks->setVerticalSpacing(16);
    for (int i = 0; i < kCityCount; ++i) {
        m_checks[i] = new QCheckBox(ToQString(CityTable()[i].name), this);
        m_checks[i]->setObjectName(QStringLiteral("cityCheck%1").arg(i));
        m_checks[i]->setChecked(flags[i]);
        checks->addWidget(m_checks[i], i / kChecksPerRow, i % kChecksPerRow);
    }

    QPushButton* selectAll = MakeButton(QStringLiteral("全て選択"), "selectAllButton", this);
    QPushButton* clearAll = MakeButton(QStringLiteral("全て解除"), "clearAllButton", this);
    QPushButton* ok = MakeButton(QStringLiteral("OK"), "okButton", this);
    QPushButton* cancel = MakeButton(QStringLiteral("ｷｬﾝｾﾙ"), "cancelButton", this);
    ok->setDefault(true);
    connect(selectAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(clearAll, &QPushButton::clicked, this, [this] { CheckAll(false); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll);
    buttons->addWidget(clearAll);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The keyboard runs OK, ｷｬﾝｾﾙ, the cities, then the two selection buttons, and
    // starts on OK.
    std::vector<QWidget*> order = {ok, cancel};
    order.insert(order.end(), m_checks.begin(), m_checks.end());
    order.push_back(selectAll);
    order.push_back(clearAll);
    for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    for (QWidget* widget : order) widget->setFocusPolicy(Qt::StrongFocus);
    ok->setFocus();
}

CityFlags CityFilterDialog::Flags() const {
    CityFlags flags;
    for (int i = 0; i < kCityCount; ++i) flags[i] = m_checks[i]->isChecked();
    return flags;
}

void CityFilterDialog::CheckAll(bool checked) {
    for (QCheckBox* check : m_checks) check->setChecked(checked);
}
