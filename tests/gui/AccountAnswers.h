#pragma once
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>

#include "acquire/DownloadDialog.h"
#include "config/DownloadSettingsDialog.h"

// Types the account "me" / "pw" into a download settings dialog.
inline void TypeAccount(QDialog& settings) {
    settings.findChild<QLineEdit*>(QStringLiteral("portalIdEdit"))->setText(QStringLiteral("me"));
    settings.findChild<QLineEdit*>(QStringLiteral("portalPasswordEdit"))
        ->setText(QStringLiteral("pw"));
}

// Lets a download dialog run and answers the download settings dialog as the
// settings already are, so that the download itself is all that could change them.
inline int AnswerSettingsUnchanged(QDialog& dialog) {
    if (qobject_cast<DownloadDialog*>(&dialog)) return dialog.exec();
    if (!qobject_cast<DownloadSettingsDialog*>(&dialog)) {
        ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    TypeAccount(dialog);
    dialog.accept();
    return dialog.result();
}
