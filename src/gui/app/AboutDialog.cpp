#include "app/AboutDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/VeraduneApp.h"
#include "mainframe/Icons.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("Veraduneのﾊﾞｰｼﾞｮﾝ情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto* purpose = new QLabel(QStringLiteral("商会ｼｮｯﾌﾟの商品を探して比べるﾂｰﾙ"), this);
    purpose->setObjectName(QStringLiteral("purposeLabel"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
