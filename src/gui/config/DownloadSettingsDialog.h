#pragma once
#include <QDialog>
#include <array>

class ConfigStore;
class QCheckBox;
class QLineEdit;

// Asks for the portal account and the proxy settings before every download. The
// store is written at OK only, all fields at once; Cancel leaves it untouched.
class DownloadSettingsDialog : public QDialog {
    Q_OBJECT
public:
    DownloadSettingsDialog(ConfigStore& config, QWidget* parent = nullptr);

    void accept() override;

private:
    void OnUseProxyClicked(bool checked);
    std::array<QLineEdit*, 4> ProxyEdits() const;
    void EnableProxyEdits(bool enabled);

    ConfigStore& m_config;
    QLineEdit* m_portalIdEdit;
    QLineEdit* m_portalPasswordEdit;
    QCheckBox* m_useProxyCheck;
    QLineEdit* m_proxyServerEdit;
    QLineEdit* m_proxyPortEdit;
    QLineEdit* m_proxyUserEdit;
    QLineEdit* m_proxyPasswordEdit;
};
