#include <QApplication>
#include <QFile>
#include <iostream>

#include "acquire/PortalHost.h"
#include "app/ProgramOptions.h"
#include "app/VeraduneApp.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/Icons.h"
#include "mainframe/MessageBoxes.h"
#include "platform/Clock.h"

int main(int argc, char* argv[]) {
    // Qt takes its own options (-platform, -style…) out of argv here.
    QApplication application(argc, argv);
    const ParsedProgramOptions parsed =
        ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "veradune: " << parsed.error << "; " << ProgramUsage() << '\n';
        return 2;
    }
    if (parsed.options->showHelp) {
        std::cout << ProgramUsage() << "\n\n" << ProgramHelp();
        return 0;
    }
    UseJapaneseUiFont();
    QApplication::setWindowIcon(ProgramIcon());
    // Lets a Wayland desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("veradune"));
    const ChosenFolder chosen = ChooseWorkingFolder(*parsed.options);
    if (chosen.problem != FolderProblem::None) {
        TellFolderUnusable(nullptr, QFile::decodeName(chosen.path.c_str()),
                           FolderProblemText(chosen.problem));
        return 1;
    }
    const SystemClock clock;
    const ProgramContext context{WorkingFolder(chosen.path), PortalHost(), &clock};
    const std::unique_ptr<CMainFrame> frame = InitInstance(context);
    if (!frame) return 0;
    return QApplication::exec();
}
