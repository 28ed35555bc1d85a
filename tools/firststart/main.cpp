// veradune-firststart HOST:PORT OUT.png: the program's first start in the current
// folder against the portal at HOST:PORT, as a player goes through it: the download
// settings are answered, the download runs in its progress dialog, and the main window
// that follows is saved as OUT.png. Prints how many rows the list shows. Exit status 1
// when any other dialog appeared, no window was shown or the picture was not written.
// It drives the Windows build under Wine, where veradune-screenshots, with its
// in-process portal, does not run.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "DialogAnswerer.h"
#include "acquire/DownloadDialog.h"
#include "app/VeraduneApp.h"
#include "config/DownloadSettingsDialog.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/Icons.h"
#include "platform/Clock.h"

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "veradune-firststart: %s\n", message);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: veradune-firststart HOST:PORT OUT.png\n");
        return 2;
    }
    UseJapaneseUiFont();
    QApplication::setWindowIcon(ProgramIcon());

    bool unexpected = false;
    const DialogAnswerer answerer([&unexpected](QDialog& dialog) {
        if (qobject_cast<DownloadSettingsDialog*>(&dialog)) {
            // The stand-in portal takes any account.
            dialog.findChild<QLineEdit*>(QStringLiteral("portalIdEdit"))->setText("sailor");
            dialog.findChild<QLineEdit*>(QStringLiteral("portalPasswordEdit"))->setText("secret");
            dialog.accept();
        } else if (!qobject_cast<DownloadDialog*>(&dialog)) {
            // The progress dialog runs its job and closes itself; anything else is an error box.
            std::fprintf(stderr, "veradune-firststart: unexpected dialog \"%s\"\n",
                         qPrintable(dialog.windowTitle()));
            unexpected = true;
            dialog.reject();
        }
    });
    const SystemClock clock;
    const ProgramContext context{WorkingFolder(QDir::currentPath().toStdString()),
                                 arguments[1].toStdString(), &clock};
    const std::unique_ptr<CMainFrame> frame = InitInstance(context);
    if (!frame) return Fail("the program ended before its window was shown");

    int rows = -1;
    bool saved = false;
    // Once the shown window has been laid out.
    QTimer::singleShot(0, frame.get(), [&] {
        rows = frame->findChild<QTableView*>(QStringLiteral("productList"))->model()->rowCount();
        saved = frame->grab().save(arguments[2], "PNG");
        frame->close();
        QApplication::quit();
    });
    QApplication::exec();
    std::printf("%d rows\n", rows);
    if (unexpected) return 1;
    return saved ? 0 : Fail("cannot write the picture");
}
