#pragma once
#include <QDialog>
#include <vector>

#include "shopdata/ProductRecord.h"

// The offers of the previous download that the latest one no longer has (sold out
// or withdrawn), in the list's nine columns.
class GoneOffersDialog : public QDialog {
    Q_OBJECT
public:
    GoneOffersDialog(std::vector<ProductRecord> offers, QWidget* parent = nullptr);
};
