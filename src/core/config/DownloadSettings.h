#pragma once
#include <string>

#include "acquire/ConnectionSettings.h"

class ConfigStore;

// What the download settings dialog edits: the portal account and the proxy.
struct DownloadSettings {
    std::string portalId;
    std::string portalPassword;
    ConnectionSettings connection;

    bool operator==(const DownloadSettings&) const = default;
};

DownloadSettings DownloadSettingsOf(const ConfigStore& config);
void StoreDownloadSettings(const DownloadSettings& settings, ConfigStore& config);
