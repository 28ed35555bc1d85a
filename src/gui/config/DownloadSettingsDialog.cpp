#include "config/DownloadSettingsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainframe/QtText.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr int kEditWidth = 180;

QLineEdit* MakeEdit(const QString& objectName, const std::string& sjis, QWidget* parent,
                    bool password = false) {
    auto* edit = new QLineEdit(ToQString(sjis), parent);
    edit->setObjectName(objectName);
    edit->setMinimumWidth(kEditWidth);
    if (password) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

void AddRow(QGridLayout* grid, const QString& label, QLineEdit* edit) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(label), row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(edit, row, 1);
}

}  // namespace

DownloadSettingsDialog::DownloadSettingsDialog(const DownloadSettings& settings, QWidget* parent)
    : QDialog(parent) {
    const ConnectionSettings& connection = settings.connection;
    setWindowTitle(QStringLiteral("ダウンロード設定"));

    m_portalIdEdit = MakeEdit(QStringLiteral("portalIdEdit"), settings.portalId, this);
    m_portalPasswordEdit =
        MakeEdit(QStringLiteral("portalPasswordEdit"), settings.portalPassword, this, true);
    m_proxyServerEdit = MakeEdit(QStringLiteral("proxyServerEdit"), connection.proxyServer, this);
    // A port of 0 means none given, shown as an empty box.
    m_proxyPortEdit =
        MakeEdit(QStringLiteral("proxyPortEdit"),
                 connection.proxyPort != 0 ? FormatInt(connection.proxyPort) : "", this);
    m_proxyUserEdit = MakeEdit(QStringLiteral("proxyUserEdit"), connection.proxyUser, this);
    m_proxyPasswordEdit =
        MakeEdit(QStringLiteral("proxyPasswordEdit"), connection.proxyPassword, this, true);
    m_useProxyCheck = new QCheckBox(QStringLiteral("プロキシサーバを使用する"), this);
    m_useProxyCheck->setObjectName(QStringLiteral("useProxyCheck"));
    m_useProxyCheck->setChecked(connection.proxyEnabled);
    EnableProxyEdits(connection.proxyEnabled);
    connect(m_useProxyCheck, &QCheckBox::clicked, this, &DownloadSettingsDialog::OnUseProxyClicked);

    auto* account = new QGridLayout;
    AddRow(account, QStringLiteral("Harvala ID"), m_portalIdEdit);
    AddRow(account, QStringLiteral("Harvala Password"), m_portalPasswordEdit);

    auto* proxyGroup = new QGroupBox(QStringLiteral("プロキシ"), this);
    auto* proxy = new QGridLayout(proxyGroup);
    proxy->addWidget(m_useProxyCheck, 0, 0, 1, 2);
    AddRow(proxy, QStringLiteral("プロキシサーバ名"), m_proxyServerEdit);
    AddRow(proxy, QStringLiteral("ポート番号"), m_proxyPortEdit);
    AddRow(proxy, QStringLiteral("プロキシユーザ名"), m_proxyUserEdit);
    AddRow(proxy, QStringLiteral("プロキシパスワード"), m_proxyPasswordEdit);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(account);
    layout->addWidget(proxyGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The check box comes last in the tab order, after the buttons.
    QWidget* const tabOrder[] = {m_portalIdEdit,  m_portalPasswordEdit, m_proxyServerEdit,
                                 m_proxyPortEdit, m_proxyUserEdit,      m_proxyPasswordEdit,
                                 okButton,        cancelButton,         m_useProxyCheck};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_portalIdEdit->setFocus();
}

void DownloadSettingsDialog::OnUseProxyClicked(bool checked) {
    if (!checked)
        for (QLineEdit* edit : ProxyEdits()) edit->clear();
    EnableProxyEdits(checked);
}

std::array<QLineEdit*, 4> DownloadSettingsDialog::ProxyEdits() const {
    return {m_proxyPortEdit, m_proxyPasswordEdit, m_proxyServerEdit, m_proxyUserEdit};
}

void DownloadSettingsDialog::EnableProxyEdits(bool enabled) {
    for (QLineEdit* edit : ProxyEdits()) edit->setEnabled(enabled);
}

DownloadSettings DownloadSettingsDialog::Settings() const {
    DownloadSettings settings;
    settings.portalId = FromQString(m_portalIdEdit->text());
    settings.portalPassword = FromQString(m_portalPasswordEdit->text());
    ConnectionSettings& proxy = settings.connection;
    proxy.proxyEnabled = m_useProxyCheck->isChecked();
    proxy.proxyServer = FromQString(m_proxyServerEdit->text());
    proxy.proxyPort = AtoiReading(FromQString(m_proxyPortEdit->text()));
    proxy.proxyUser = FromQString(m_proxyUserEdit->text());
    proxy.proxyPassword = FromQString(m_proxyPasswordEdit->text());
    return settings;
}
