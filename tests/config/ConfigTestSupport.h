#pragma once
#include <string>

inline std::string ConfigDataFile(const std::string& name) {
    return std::string(VERADUNE_TEST_DATA_DIR) + "/config/" + name;
}
