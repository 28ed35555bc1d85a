#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config/ConfigStore.h"
#include "config/DownloadSettingsDialog.h"
#include "shopdata/TextConversion.h"

namespace {

ConfigStore ProxyConfig() {
    ConfigStore config;
    config.portalId = ToShiftJis("船長");
    config.portalPassword = "secret";
    config.proxyEnabled = 1;
    config.proxyServer = "proxy.example";
    config.proxyPort = 3128;
    config.proxyUser = "user";
    config.proxyPassword = "proxypw";
    return config;
}

QLineEdit* Edit(QDialog& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit;
}

QCheckBox* UseProxy(QDialog& dialog) {
    return dialog.findChild<QCheckBox*>(QStringLiteral("useProxyCheck"));
}

const char* const kProxyEdits[] = {"proxyServerEdit", "proxyPortEdit", "proxyUserEdit",
                                   "proxyPasswordEdit"};

TEST(DownloadSettingsDialogTest, ShowsTheStoredSettings) {
    const ConfigStore config = ProxyConfig();
    ConfigStore edited = config;
    DownloadSettingsDialog dialog(edited);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ダウンロード設定"));
    EXPECT_EQ(Edit(dialog, "portalIdEdit")->text(), QStringLiteral("船長"));
    EXPECT_EQ(Edit(dialog, "portalPasswordEdit")->text(), QStringLiteral("secret"));
    EXPECT_EQ(Edit(dialog, "proxyPortEdit")->text(), QStringLiteral("3128"));
    EXPECT_EQ(Edit(dialog, "portalPasswordEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Edit(dialog, "proxyPasswordEdit")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(UseProxy(dialog)->isChecked());
    for (const char* name : kProxyEdits) EXPECT_TRUE(Edit(dialog, name)->isEnabled()) << name;

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(edited, config) << "OK without edits stores the same values";
}

TEST(DownloadSettingsDialogTest, ADisabledProxyKeepsItsStoredValues) {
    ConfigStore config = ProxyConfig();
    config.proxyEnabled = 0;
    config.proxyPort = 0;
    const ConfigStore before = config;
    DownloadSettingsDialog dialog(config);
    EXPECT_FALSE(UseProxy(dialog)->isChecked());
    EXPECT_EQ(Edit(dialog, "proxyServerEdit")->text(), QStringLiteral("proxy.example"));
    EXPECT_EQ(Edit(dialog, "proxyPortEdit")->text(), QString()) << "port 0 shows as empty";
    for (const char* name : kProxyEdits) EXPECT_FALSE(Edit(dialog, name)->isEnabled()) << name;
    dialog.accept();
    EXPECT_EQ(config, before);
}

TEST(DownloadSettingsDialogTest, UncheckingTheProxyEmptiesItsBoxes) {
    ConfigStore config = ProxyConfig();
    {
        DownloadSettingsDialog dialog(config);
        UseProxy(dialog)->click();
        for (const char* name : kProxyEdits) {
            EXPECT_EQ(Edit(dialog, name)->text(), QString()) << name;
            EXPECT_FALSE(Edit(dialog, name)->isEnabled()) << name;
        }
        dialog.accept();
    }
    EXPECT_EQ(config.proxyEnabled, 0);
    EXPECT_EQ(config.proxyServer, "");
    EXPECT_EQ(config.proxyPort, 0);
    EXPECT_EQ(config.proxyUser, "");
    EXPECT_EQ(config.proxyPassword, "");
    EXPECT_EQ(config.portalPassword, "secret");

    DownloadSettingsDialog again(config);
    UseProxy(again)->click();
    for (const char* name : kProxyEdits) {
        EXPECT_EQ(Edit(again, name)->text(), QString()) << name;
        EXPECT_TRUE(Edit(again, name)->isEnabled()) << name;
    }
    again.accept();
    EXPECT_EQ(config.proxyEnabled, 1);
}

TEST(DownloadSettingsDialogTest, OkStoresTheTypedTextAndReadsThePortLikeAtoi) {
    const struct {
        const char* port;
        int stored;
    } cases[] = {{"8080abc", 8080}, {"abc", 0}, {"", 0}, {" 42", 42}, {"99999999999", 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        ConfigStore config;
        DownloadSettingsDialog dialog(config);
        UseProxy(dialog)->click();
        Edit(dialog, "portalIdEdit")->setText(QStringLiteral("提督 & co"));
        Edit(dialog, "portalPasswordEdit")->setText(QString());
        Edit(dialog, "proxyServerEdit")->setText(QStringLiteral("gate"));
        Edit(dialog, "proxyPortEdit")->setText(QString::fromLatin1(c.port));
        Edit(dialog, "proxyUserEdit")->setText(QStringLiteral("u"));
        Edit(dialog, "proxyPasswordEdit")->setText(QStringLiteral("p"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(config.portalId, ToShiftJis("提督 & co"));
        EXPECT_EQ(config.portalPassword, "");
        EXPECT_EQ(config.proxyEnabled, 1);
        EXPECT_EQ(config.proxyServer, "gate");
        EXPECT_EQ(config.proxyPort, c.stored);
        EXPECT_EQ(config.proxyUser, "u");
        EXPECT_EQ(config.proxyPassword, "p");
    }
}

TEST(DownloadSettingsDialogTest, CancelTouchesNothing) {
    ConfigStore config = ProxyConfig();
    const ConfigStore before = config;
    DownloadSettingsDialog dialog(config);
    Edit(dialog, "portalIdEdit")->setText(QStringLiteral("other"));
    UseProxy(dialog)->click();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")),
                      Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(config, before);
}

TEST(DownloadSettingsDialogTest, TabRunsThroughTheBoxesThenTheButtonsThenTheCheckBox) {
    ConfigStore config = ProxyConfig();
    DownloadSettingsDialog dialog(config);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Edit(dialog, "portalIdEdit")->setFocus();
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"portalIdEdit", "portalPasswordEdit", "proxyServerEdit",
                                  "proxyPortEdit", "proxyUserEdit", "proxyPasswordEdit", "okButton",
                                  "cancelButton", "useProxyCheck"}));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("portalIdEdit"));
}

}  // namespace
