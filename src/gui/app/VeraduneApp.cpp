#include "app/VeraduneApp.h"

#include <QAction>
#include <QApplication>
#include <QDialog>

#include "app/AboutDialog.h"
#include "app/TerminationWatcher.h"
#include "mainframe/CMainFrame.h"
#include "platform/UiFonts.h"

namespace {

// A request to end closes whatever dialog is open first, so that the code that
// opened it carries on as after a Cancel, and then closes the window.
void CloseForTermination(CMainFrame& frame) {
    QWidget* previous = nullptr;
    while (QWidget* modal = QApplication::activeModalWidget()) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        // A dialog that will not close at once is left to end by itself.
        if (!dialog || dialog == previous) break;
        dialog->reject();
        previous = dialog;
    }
    frame.close();
}

}  // namespace

void UseJapaneseUiFont() {
    QStringList families;
    for (const std::string& family : platform::JapaneseUiFontFamilies())
        families.append(QString::fromStdString(family));
    if (families.isEmpty()) return;
    QFont font = QApplication::font();
    font.setFamilies(families);
    QApplication::setFont(font);
}

QString VersionText() {
    return QStringLiteral("Veradune ver1.0.0.1");
}

std::unique_ptr<CMainFrame> InitInstance(const ProgramContext& context) {
    auto frame = std::make_unique<CMainFrame>(context);
    CMainFrame* window = frame.get();
    QObject::connect(window, &CMainFrame::aboutRequested, window, [window] {
        AboutDialog about(window);
        about.exec();
    });
    new TerminationWatcher([window] { CloseForTermination(*window); }, window);
    window->OnInitialUpdate();
    if (window->IsClosed()) return nullptr;
    window->setWindowTitle(VersionText());
    window->show();
    return frame;
}
