#include <QApplication>

#include "app/VeraduneApp.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/Icons.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    if (!frame) return 0;
    return QApplication::exec();
}
