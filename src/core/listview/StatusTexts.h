#pragma once
#include <string>

// The two status bar texts that belong to the product list (Shift-JIS).

// "%d件ヒットしました": the number of shown rows.
std::string HitCountText(int hits);

// "最終更新日時：" followed by the time of the last completed download.
std::string LastUpdateText(const std::string& lastUpdate);
