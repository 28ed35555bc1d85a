#include "listview/StatusTexts.h"

#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

std::string HitCountText(int hits) {
    static const std::string suffix = ToShiftJis("件ヒットしました");
    return FormatInt(hits) + suffix;
}

std::string LastUpdateText(const std::string& lastUpdate) {
    static const std::string prefix = ToShiftJis("最終更新日時：");
    return prefix + lastUpdate;
}
