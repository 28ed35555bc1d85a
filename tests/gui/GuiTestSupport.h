#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "acquire/PagePaths.h"
#include "app/ProgramContext.h"
#include "config/ConfigStore.h"
#include "mainframe/CMainFrame.h"
#include "platform/Clock.h"
#include "portal/PageSource.h"
#include "portal/PortalServer.h"
#include "support/HandMadePages.h"

// Failure messages show Qt's strings as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// 2024/05/06 07:08:09 local time, whenever a test runs.
class FixedClock : public Clock {
public:
    std::time_t Now() const override {
        std::tm time{};
        time.tm_year = 124, time.tm_mon = 4, time.tm_mday = 6;
        time.tm_hour = 7, time.tm_min = 8, time.tm_sec = 9, time.tm_isdst = -1;
        return std::mktime(&time);
    }
};
inline constexpr char kNow[] = "2024/05/06 07:08:09";

inline constexpr char kSettingsTitle[] = "ダウンロード設定";
inline constexpr char kProgressTitle[] = "しばらくお待ちください...";
inline constexpr char kCitiesTitle[] = "都市名で絞り込む";

// Seville (city id 1) lists two companies, Calicut (id 70) one; no other city has
// any. Pages by city id and by company id.
inline const std::map<int, std::string>& ThreeShopCities() {
    static const std::map<int, std::string> pages = {
        {1, CityPage({{11, "東商会"}, {12, "西商会"}})}, {70, CityPage({{13, "南商会"}})}};
    return pages;
}
inline const std::map<int, std::string>& ThreeShopShops() {
    static const std::map<int, std::string> pages = {
        {11, ShopPage("東商会", "セビリア", {{"小麦", 300}, {"塩", 100}})},
        {12, ShopPage("西商会", "セビリア", {{"砂糖", 200}, {"小麦", 250}})},
        {13, ShopPage("南商会", "カリカット", {{"胡椒", 400}})}};
    return pages;
}
inline std::shared_ptr<portal::PageSource> ThreeShopPortal() {
    return std::make_shared<portal::MemoryPageSource>(ThreeShopCities(), ThreeShopShops());
}

// A fresh working folder, a fixed clock and, once started, a stand-in portal on
// loopback; every dialog the program opens goes to Answer.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_context = {WorkingFolder(m_folder.path().toStdString()), "127.0.0.1:1", &m_clock};
        // The progress dialog ends by itself.
        m_answers[kProgressTitle] = {};
        // The tests close main windows without ending the test program.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void StartPortal(std::shared_ptr<portal::PageSource> pages = ThreeShopPortal(),
                     portal::PortalSettings settings = {}) {
        m_portal = std::make_unique<portal::PortalServer>(std::move(pages), std::move(settings));
        ASSERT_TRUE(m_portal->Start(0));
        m_context.portalHost = m_portal->HostPort();
    }

    // Saves the stand-in portal's pages as an earlier download would have.
    void SavePortalPages() {
        const std::filesystem::path folder = m_context.folder.DownloadFolder();
        std::filesystem::create_directory(folder);
        for (const auto& [id, body] : ThreeShopCities())
            std::ofstream(folder / CityPageFileName(id), std::ios::binary) << body;
        for (const auto& [id, body] : ThreeShopShops())
            std::ofstream(folder / ShopPageFileName(id), std::ios::binary) << body;
    }

    ConfigStore SavedSettings() const {
        ConfigStore saved;
        EXPECT_TRUE(saved.Load(m_context.folder.ConfigPath()));
        return saved;
    }

    // Titles of the dialogs shown so far, in order, and the texts of the program's
    // message boxes (the network error boxes aside).
    std::vector<std::string> m_shown;
    QStringList m_told;
    // What to do with a shown dialog; unset dialogs are accepted.
    std::map<std::string, std::function<void(QDialog&)>> m_answers;
    DialogAnswerer m_answerer{[this](QDialog& dialog) {
        const std::string title = dialog.windowTitle().toStdString();
        m_shown.push_back(title);
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (box && title == "Veradune") m_told.append(box->text());
        const auto answer = m_answers.find(title);
        if (answer == m_answers.end()) {
            dialog.accept();
        } else if (answer->second) {
            answer->second(dialog);
        }
    }};
    QTemporaryDir m_folder;
    FixedClock m_clock;
    ProgramContext m_context;
    std::unique_ptr<portal::PortalServer> m_portal;
};

template <class T>
T& Child(QWidget& window, const char* name) {
    return *window.findChild<T*>(QLatin1String(name));
}
inline QTableView& List(QWidget& window) {
    return Child<QTableView>(window, "productList");
}
inline void Trigger(QWidget& window, const char* action) {
    Child<QAction>(window, action).trigger();
}
inline QString PaneText(QWidget& window, const char* name) {
    return Child<QLabel>(window, name).text();
}

// The texts of one column of the shown rows, in one role.
inline QStringList Shown(QWidget& window, int column, int role = Qt::DisplayRole) {
    const QAbstractItemModel* model = List(window).model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data(role).toString());
    return texts;
}
