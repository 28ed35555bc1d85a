#pragma once
#include <QDialog>

// The about box: the program icon, the version text and one line on what the
// program is for.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
