#pragma once
#include <QDialog>
#include <array>

#include "shopdata/FixedTables.h"

class QCheckBox;

// Chooses the cities whose offers the list shows: one check box per city, in
// CityTable order, starting from `flags`. After OK, Flags() holds the choice.
class CityFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit CityFilterDialog(const CityFlags& flags, QWidget* parent = nullptr);

    CityFlags Flags() const;

private:
    void CheckAll(bool checked);

    std::array<QCheckBox*, kCityCount> m_checks{};
};
