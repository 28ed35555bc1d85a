#include "app/ProgramOptions.h"

#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace {

constexpr std::string_view kWorkDirWithValue = "--workdir=";

}  // namespace

const char* ProgramUsage() {
    return "usage: veradune [--workdir DIR | --data-folder] [--help]";
}

const char* ProgramHelp() {
    return "Works in the current folder, or with --workdir in DIR (made when missing), or\n"
           "with --data-folder in the user's data folder ($XDG_DATA_HOME/veradune, else\n"
           "~/.local/share/veradune; on Windows %APPDATA%\\Veradune), as the desktop menu\n"
           "starts it. The saved pages are kept there in DownloadFiles/, the settings in\n"
           "Config.xml.\n";
}

ParsedProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    bool dataFolder = false;
    auto fail = [](std::string error) {
        return ParsedProgramOptions{std::nullopt, std::move(error)};
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
        } else if (argument == "--data-folder") {
            dataFolder = true;
        } else if (argument == "--workdir") {
            if (i + 1 >= arguments.size()) return fail("missing value for --workdir");
            options.workDir = arguments[++i];
            options.folder = FolderChoice::Given;
        } else if (argument.starts_with(kWorkDirWithValue)) {
            options.workDir = argument.substr(kWorkDirWithValue.size());
            options.folder = FolderChoice::Given;
        } else if (argument.starts_with("-")) {
            return fail("unknown option " + argument);
        } else {
            return fail("unexpected argument " + argument);
        }
    }
    // An empty DIR would quietly mean the current folder.
    if (options.folder == FolderChoice::Given && options.workDir.empty())
        return fail("empty folder name for --workdir");
    if (dataFolder && options.folder == FolderChoice::Given)
        return fail("--workdir and --data-folder exclude each other");
    if (dataFolder) options.folder = FolderChoice::UserData;
    return ParsedProgramOptions{options, {}};
}

ChosenFolder ChooseWorkingFolder(const ProgramOptions& options) {
    if (options.folder == FolderChoice::Current) return {};
    const bool given = options.folder == FolderChoice::Given;
    ChosenFolder chosen{given ? options.workDir : platform::UserDataFolder()};
    if (chosen.path.empty())
        chosen.problem = FolderProblem::NoUserDataFolder;
    else if (platform::IsDirectory(chosen.path))
        chosen.problem = FolderProblem::None;
    else if (platform::PathExists(chosen.path))
        chosen.problem = FolderProblem::NotAFolder;
    // A given folder is made alone: a mistyped folder above it is likelier than a
    // wish for a new tree.
    else if (!(given ? platform::CreateDirectory(chosen.path)
                     : platform::CreateUserFolder(chosen.path)))
        chosen.problem = FolderProblem::CannotCreate;
    return chosen;
}

QString FolderProblemText(FolderProblem problem) {
    switch (problem) {
        case FolderProblem::None:
            break;
        case FolderProblem::NotAFolder:
            return QStringLiteral("フォルダではありません。");
        case FolderProblem::CannotCreate:
            return QStringLiteral("フォルダを作成できませんでした。");
        case FolderProblem::NoUserDataFolder:
            return QStringLiteral("データフォルダの場所が分かりませんでした。");
    }
    return QString();
}
