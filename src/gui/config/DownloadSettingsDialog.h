#pragma once
#include <QDialog>
#include <array>

#include "config/DownloadSettings.h"

class QCheckBox;
class QLineEdit;

// Asks for the portal account and the proxy settings before every download,
// starting from `settings`. After OK, Settings() holds what was typed.
class DownloadSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DownloadSettingsDialog(const DownloadSettings& settings, QWidget* parent = nullptr);

    DownloadSettings Settings() const;

private:
    void OnUseProxyClicked(bool checked);
    std::array<QLineEdit*, 4> ProxyEdits() const;
    void EnableProxyEdits(bool enabled);

    QLineEdit* m_portalIdEdit;
    QLineEdit* m_portalPasswordEdit;
    QCheckBox* m_useProxyCheck;
    QLineEdit* m_proxyServerEdit;
    QLineEdit* m_proxyPortEdit;
    QLineEdit* m_proxyUserEdit;
    QLineEdit* m_proxyPasswordEdit;
};
