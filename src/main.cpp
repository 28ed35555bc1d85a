#include <QApplication>

#include "acquire/PortalHost.h"
#include "app/VeraduneApp.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/Icons.h"
#include "platform/Clock.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    const SystemClock clock;
    // The working folder is the folder the program was started in.
    const ProgramContext context{WorkingFolder(), PortalHost(), &clock};
    const std::unique_ptr<CMainFrame> frame = InitInstance(context);
    if (!frame) return 0;
    return QApplication::exec();
}
