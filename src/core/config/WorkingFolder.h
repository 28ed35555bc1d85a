#pragma once
#include <string>
#include <utility>

// The folder the program works in: the settings file and the saved pages live
// side by side in it. An empty root is the process's current folder, so the
// paths stay the plain relative names.
class WorkingFolder {
public:
    WorkingFolder() = default;
    explicit WorkingFolder(std::string root) : m_root(std::move(root)) {}

    const std::string& Root() const { return m_root; }
    std::string PathOf(const std::string& name) const;
    std::string ConfigPath() const;      // "Config.xml"
    std::string DownloadFolder() const;  // "DownloadFiles"
    std::string HistoryPath() const;     // "History.sqlite"

private:
    std::string m_root;
};
