#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// A fresh folder under the test's temporary directory, named after the test and
// removed again afterwards.
class TempFolder {
public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps test runs of several build folders apart.
        std::string name = "veradune-" + std::to_string(::getpid()) + "-" +
                           info->test_suite_name() + "-" + info->name();
        // Parameterised tests have a "/" in their names.
        std::replace(name.begin(), name.end(), '/', '-');
        m_path = std::filesystem::path(testing::TempDir()) / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a folder, sorted, so that a comparison does not depend on the
// order the file system lists them in.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every file of a folder with its bytes.
inline std::vector<std::pair<std::string, std::string>> FolderBytes(
    const std::filesystem::path& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : FolderEntries(folder))
        files.emplace_back(name, ReadBytes((folder / name).string()));
    return files;
}
