#include "config/WorkingFolder.h"

#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "platform/Files.h"

std::string WorkingFolder::PathOf(const std::string& name) const {
    return platform::JoinPath(m_root, name);
}

std::string WorkingFolder::ConfigPath() const {
    return PathOf(kConfigFileName);
}

std::string WorkingFolder::DownloadFolder() const {
    return PathOf(kDownloadFolder);
}

std::string WorkingFolder::HistoryPath() const {
    return PathOf("History.sqlite");
}
