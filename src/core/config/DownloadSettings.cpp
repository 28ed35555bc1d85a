#include "config/DownloadSettings.h"

#include "config/ConfigStore.h"

DownloadSettings DownloadSettingsOf(const ConfigStore& config) {
    DownloadSettings settings;
    settings.portalId = config.portalId;
    settings.portalPassword = config.portalPassword;
    settings.connection.proxyEnabled = config.proxyEnabled;
    settings.connection.proxyServer = config.proxyServer;
    settings.connection.proxyPort = config.proxyPort;
    settings.connection.proxyUser = config.proxyUser;
    settings.connection.proxyPassword = config.proxyPassword;
    return settings;
}

void StoreDownloadSettings(const DownloadSettings& settings, ConfigStore& config) {
    config.portalId = settings.portalId;
    config.portalPassword = settings.portalPassword;
    config.proxyEnabled = settings.connection.proxyEnabled;
    config.proxyServer = settings.connection.proxyServer;
    config.proxyPort = settings.connection.proxyPort;
    config.proxyUser = settings.connection.proxyUser;
    config.proxyPassword = settings.connection.proxyPassword;
}
