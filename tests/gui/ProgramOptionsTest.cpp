#include <gtest/gtest.h>

#include "app/ProgramOptions.h"
#include "support/TestFiles.h"

namespace {

// What the command line chose, in a few words, so that each case fits on a line.
std::string Outcome(const std::vector<std::string>& arguments) {
    const ParsedProgramOptions parsed = ParseProgramOptions(arguments);
    if (!parsed.options) return parsed.error.empty() ? "error without a message" : "error";
    if (parsed.options->showHelp) return "help";
    const char* folders[] = {"current", "given ", "data folder"};
    return folders[static_cast<int>(parsed.options->folder)] + parsed.options->workDir;
}

TEST(ProgramOptionsTest, ReadsTheCommandLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "current"},
        {{"--workdir", "w"}, "given w"},
        {{"--workdir=w x"}, "given w x"},
        {{"--workdir", "a", "--workdir", "b"}, "given b"},
        {{"--data-folder"}, "data folder"},
        {{"--help"}, "help"},
        {{"--bogus"}, "error"},
        {{"w"}, "error"},
        {{"--workdir"}, "error"},
        {{"--workdir="}, "error"},
        {{"--workdir", "w", "--data-folder"}, "error"}};
    for (const auto& [arguments, outcome] : cases)
        EXPECT_EQ(Outcome(arguments), outcome) << testing::PrintToString(arguments);
}

TEST(ProgramOptionsTest, MakesAMissingWorkingFolderButNotTheFoldersAboveIt) {
    const TempFolder temp;
    temp.Write("file", "x");
    std::filesystem::create_directory(temp.Path() / "old");
    const std::pair<std::string, FolderProblem> cases[] = {{"old", FolderProblem::None},
                                                           {"new", FolderProblem::None},
                                                           {"file", FolderProblem::NotAFolder},
                                                           {"a/new", FolderProblem::CannotCreate}};
    for (const auto& [name, problem] : cases) {
        const ChosenFolder chosen = ChooseWorkingFolder({FolderChoice::Given, temp.File(name)});
        EXPECT_EQ(chosen.path, temp.File(name));
        EXPECT_EQ(chosen.problem, problem) << name;
        EXPECT_EQ(std::filesystem::is_directory(chosen.path), problem == FolderProblem::None);
    }
}

}  // namespace
