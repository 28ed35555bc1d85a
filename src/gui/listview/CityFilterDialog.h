#pragma once
#include <QDialog>
#include <array>

#include "listview/FilterRules.h"

class QCheckBox;

// Chooses the cities whose offers the list shows: one check box per city, in
// CityTable order. The flags change only at OK, all of them at once.
class CityFilterDialog : public QDialog {
    Q_OBJECT
public:
    CityFilterDialog(CityFlags& flags, QWidget* parent = nullptr);

    void accept() override;

private:
    void CheckAll(bool checked);

    CityFlags& m_flags;
    std::array<QCheckBox*, kCityCount> m_checks{};
};
