#include "mainframe/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

const QString& ProgramName() {
    static const QString name = QStringLiteral("Veradune");
    return name;
}

}  // namespace

bool AskToRetrySave(QWidget* parent, const QString& path, const QString& reason) {
    QMessageBox box(QMessageBox::Warning, ProgramName(),
                    QStringLiteral("設定を保存できませんでした。\n%1\n%2").arg(path, reason),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("saveFailedBox"));
    QPushButton* retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("保存せずに終了"), QMessageBox::DestructiveRole);
    box.setDefaultButton(retry);
    // Esc must not throw the settings away.
    box.setEscapeButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}

void TellNoCompanyFound(QWidget* parent) {
    QMessageBox::information(parent, ProgramName(),
                             QStringLiteral("商会が見つかりませんでした。\n"
                                            "ポータルのIDとパスワードを確認してください。"));
}

void TellPortalUnreachable(QWidget* parent, const QString& lastError) {
    QMessageBox::warning(parent, ProgramName(),
                         QStringLiteral("ポータルに接続できませんでした。\n%1").arg(lastError));
}

void TellNotSaved(QWidget* parent, const QString& path, const QString& reason) {
    QMessageBox::warning(parent, ProgramName(),
                         QStringLiteral("保存できませんでした。\n%1\n%2").arg(path, reason));
}

void TellHistorySetAside(QWidget* parent, const QString& path, const QString& setAside) {
    QMessageBox::warning(parent, ProgramName(),
                         QStringLiteral("価格の履歴 %1 を読めなかったため、%2 として残し、"
                                        "新しい履歴を始めます。")
                             .arg(path, setAside));
}

void TellFetcherNotReady(QWidget* parent, const QString& reason) {
    QMessageBox::critical(parent, ProgramName(),
                          QStringLiteral("通信の準備ができませんでした。\n%1").arg(reason));
}

void TellFolderUnusable(QWidget* parent, const QString& path, const QString& reason) {
    QMessageBox::critical(
        parent, ProgramName(),
        QStringLiteral("作業フォルダを開けませんでした。\n%1\n%2").arg(path, reason));
}
