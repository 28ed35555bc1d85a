#include "config/ConfigStore.h"

#include "config/ConfigFileReader.h"
#include "config/ConfigFileWriter.h"

ConfigStore::ConfigStore() {
    cityEnabled.fill(true);
}

bool ConfigStore::Load(const std::string& path) {
    return ReadConfigFile(path, *this);
}

bool ConfigStore::Save(const std::string& path, std::string* failureReason) const {
    return WriteConfigFile(path, *this, failureReason);
}
