#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

// The folder the program works in, as its command line chose it.
enum class FolderChoice { Current, Given, UserData };

struct ProgramOptions {
    FolderChoice folder = FolderChoice::Current;
    std::string workDir;  // the folder given with --workdir
    bool showHelp = false;
};

struct ParsedProgramOptions {
    std::optional<ProgramOptions> options;  // empty on bad usage
    std::string error;                      // one line saying what was wrong
};

// The program's own options, read from what Qt leaves of the command line once it
// has taken its own (-platform, -style and the like).
ParsedProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

const char* ProgramUsage();
const char* ProgramHelp();

enum class FolderProblem { None, NotAFolder, CannotCreate, NoUserDataFolder };

struct ChosenFolder {
    std::string path;  // empty for the current folder
    FolderProblem problem = FolderProblem::None;
};

// The working folder the options choose, created when it is missing: a given folder
// alone (its parent must exist), the user's data folder with whatever lies above it.
ChosenFolder ChooseWorkingFolder(const ProgramOptions& options);

// The reason the player reads under the folder's path.
QString FolderProblemText(FolderProblem problem);
