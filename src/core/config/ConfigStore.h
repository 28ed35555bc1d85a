#pragma once
#include <array>
#include <string>
#include <vector>

#include "shopdata/CompanyEntry.h"
#include "shopdata/FixedTables.h"

// The settings file's name; it lives in the working directory, beside the
// download folder.
inline constexpr char kConfigFileName[] = "Config.xml";

// Every setting of the program, plus the company list of the last download. The
// fields are used directly by the parts that read or edit them; Load and Save move
// them to and from Config.xml. All text is Shift-JIS.
class ConfigStore {
public:
    ConfigStore();

    std::string portalId;
    std::string portalPassword;  // kept in memory only, never saved
    bool proxyEnabled = false;
    std::string proxyServer;
    int proxyPort = 0;  // 0 = not given
    std::string proxyUser;
    std::string proxyPassword;  // saved as plain text, hence the owner-only file
    std::string lastUpdate;     // "%Y/%m/%d %H:%M:%S", local time; empty before any download
    std::vector<CompanyEntry> companies;  // only its count is saved
    int rowHeight = 20;
    int listBackColor = 16777215;  // 0x00BBGGRR
    int listTextColor = 0;
    int sortColumn = kColumnCityName;
    int sortOrder = 0;                       // 0 ascending, 1 descending
    CityFlags cityEnabled;                   // all set; index = CityTable position
    std::vector<std::string> searchHistory;  // oldest first
    std::string fileVersion;                 // carried over from the file read, never set

    // Reads the file into the fields. False, with every field unchanged, when the
    // file is missing or not well-formed XML.
    bool Load(const std::string& path);

    // Replaces the file with all fields but the portal password. False when the
    // file could not be written; the old file then stays as it was, and the
    // system's reason (such as "Permission denied") goes to `failureReason` when given.
    bool Save(const std::string& path, std::string* failureReason = nullptr) const;

    bool operator==(const ConfigStore&) const = default;
};
