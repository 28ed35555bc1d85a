#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "acquire/DownloadDialog.h"
#include "acquire/PageFetcher.h"
#include "acquire/PagePaths.h"
#include "acquire/RecordingNetworkErrors.h"
#include "config/ConfigStore.h"
#include "config/DownloadSettingsDialog.h"
#include "gui/AccountAnswers.h"
#include "mainframe/ModalRunner.h"
#include "platform/Files.h"
#include "portal/PageSource.h"
#include "shopdata/ProductRecord.h"
#include "shopdata/TextConversion.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"

// Shared by the full-disk and read-only tests: saved pages of an earlier download,
// a portal whose shop pages have changed since, and the tools to tell which of the
// two versions ended up on disk.
namespace abrupt {

using Goods = std::vector<std::pair<std::string, int>>;  // UTF-8 name, price

// Seville (city id 1) lists these companies, in this order.
inline const std::vector<int>& CompanyIds() {
    static const std::vector<int> ids = {11, 12, 13, 14, 15, 16};
    return ids;
}

inline std::string CompanyName(int id) {
    return "商会" + std::to_string(id);
}

inline Goods EarlierGoods(int id) {
    return {{"小麦", 100 + id}};
}

// Every other new page is large (about 40 KB), so that on a disk with little room
// left the small ones still fit when the large ones no longer do.
inline Goods NewGoods(int id) {
    Goods goods = {{"塩", 200 + id}};
    if (id % 2 == 0)
        for (int i = 0; i < 160; ++i) goods.push_back({"品" + std::to_string(i), i});
    return goods;
}

inline std::string SevillePage() {
    std::vector<std::pair<int, std::string>> companies;
    for (const int id : CompanyIds()) companies.push_back({id, CompanyName(id)});
    return CityPage(companies);
}

inline std::string EarlierShopPage(int id) {
    return ShopPage(CompanyName(id), "セビリア", EarlierGoods(id));
}

inline std::string NewShopPage(int id) {
    return ShopPage(CompanyName(id), "セビリア", NewGoods(id));
}

inline bool SaveEarlierPages(const std::string& downloadFolder) {
    bool saved = platform::WriteFileAtomically(
        platform::JoinPath(downloadFolder, CityPageFileName(1)), SevillePage());
    for (const int id : CompanyIds())
        saved = saved &&
                platform::WriteFileAtomically(
                    platform::JoinPath(downloadFolder, ShopPageFileName(id)), EarlierShopPage(id));
    return saved;
}

inline std::shared_ptr<portal::PageSource> NewPortalPages() {
    std::map<int, std::string> shops;
    for (const int id : CompanyIds()) shops[id] = NewShopPage(id);
    return std::make_shared<portal::MemoryPageSource>(
        std::map<int, std::string>{{1, SevillePage()}}, std::move(shops));
}

inline Goods AllEarlierGoods() {
    Goods goods;
    for (const int id : CompanyIds())
        for (auto& good : EarlierGoods(id)) goods.push_back(good);
    return goods;
}

inline std::string ReadPage(const std::string& downloadFolder, int id) {
    std::string contents;
    platform::ReadWholeFile(platform::JoinPath(downloadFolder, ShopPageFileName(id)), contents);
    return contents;
}

// Passes every fetch on and keeps what it returned, by local path.
class RecordingFetcher : public PageFetcher {
public:
    explicit RecordingFetcher(PageFetcher& inner) : m_inner(inner) {}
    std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                              const std::string& localPath) override {
        return results[localPath] = m_inner.FetchToFile(host, objectPath, localPath);
    }
    std::map<std::string, std::uint32_t> results;

private:
    PageFetcher& m_inner;
};

// A new empty folder under the test's temporary directory.
inline std::filesystem::path MakeScratchFolder(const std::string& prefix) {
    std::string pattern =
        (std::filesystem::path(::testing::TempDir()) / (prefix + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Answers the download settings dialog with an account and lets the download dialog
// run; any other dialog (a network error box) is counted and refused.
class DialogAnswers {
public:
    DialogAnswers() {
        SetModalHandler([this](QDialog& dialog) {
            if (qobject_cast<DownloadDialog*>(&dialog)) return dialog.exec();
            if (qobject_cast<DownloadSettingsDialog*>(&dialog)) {
                ++settingsShown;
                TypeAccount(dialog);
                dialog.accept();
                return dialog.result();
            }
            others.push_back(dialog.windowTitle().toStdString());
            return int(QDialog::Rejected);
        });
    }
    ~DialogAnswers() { SetModalHandler({}); }

    int settingsShown = 0;
    std::vector<std::string> others;
};

// Runs the download dialog (answered by DialogAnswers) on settings and products
// that it must leave alone.
inline void ExpectDialogCancelsAndChangesNothing(bool download) {
    ConfigStore config;
    config.portalId = "me";  // what the settings dialog is answered with
    config.portalPassword = "pw";
    config.lastUpdate = "2000/01/01 00:00:00";
    config.companies = {CompanyEntry{999, "old", "old"}};
    std::vector<ProductRecord> products(1);
    const ConfigStore configBefore = config;
    const std::vector<ProductRecord> productsBefore = products;
    DownloadDialog dialog(config, products, download);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(config, configBefore);
    EXPECT_EQ(products, productsBefore);
}

}  // namespace abrupt
