#include "app/VeraduneApp.h"

#include <QAction>
#include <QApplication>
#include <QDialog>

#include "app/AboutDialog.h"
#include "app/TerminationWatcher.h"
#include "listview/CVeraduneView.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/ModalRunner.h"

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

QString VersionText() {
    return QStringLiteral("Veradune ver1.0.0.1");
}

std::unique_ptr<CMainFrame> InitInstance() {
    auto frame = std::make_unique<CMainFrame>();
    CMainFrame* window = frame.get();
    QObject::connect(&window->AboutAction(), &QAction::triggered, window, [window] {
        AboutDialog about(window);
        RunModal(about);
    });
    new TerminationWatcher([window] { CloseForTermination(*window); }, window);
    window->View().OnInitialUpdate();
    if (window->IsClosed()) return nullptr;
    window->setWindowTitle(VersionText());
    window->show();
    return frame;
}
