#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "acquire/DownloadDialog.h"
#include "app/TheConfig.h"
#include "listview/CVeraduneView.h"
#include "listview/ProductListCtrl.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/ModalRunner.h"
#include "mainframe/QtText.h"
#include "support/ShiftJisLiteral.h"

inline ProductRecord Offer(std::string_view name, std::string_view category, int stock, int price,
                           std::string_view city, int attack = -1) {
    ProductRecord p;
    p.productName = S(name);
    p.category = S(category);
    p.stock = stock;
    p.price = price;
    p.attack = attack;
    p.companyName = S("商会");
    p.cityName = S(city);
    return p;
}

// The texts of one column of the shown rows, as UTF-8.
inline std::vector<std::string> ShownColumn(const CMainFrame& frame, int column) {
    const ProductTableModel& model = frame.View().List().Model();
    std::vector<std::string> texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.push_back(model.index(row, column).data().toString().toStdString());
    return texts;
}

// "name@city" of every shown row, as UTF-8.
inline std::vector<std::string> ShownTags(const CMainFrame& frame) {
    std::vector<std::string> tags = ShownColumn(frame, kColumnProductName);
    const std::vector<std::string> cities = ShownColumn(frame, kColumnCityName);
    for (size_t i = 0; i < tags.size(); ++i) tags[i] += "@" + cities[i];
    return tags;
}

inline QString HeaderText(const CMainFrame& frame, int column) {
    return frame.View().List().model()->headerData(column, Qt::Horizontal).toString();
}

inline QString PaneText(const CMainFrame& frame, const char* name) {
    return frame.findChild<QLabel*>(QLatin1String(name))->text();
}

// Runs every test in a fresh working folder with default settings and no
// dialog answers, clock or portal left over.
class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_savedDirectory = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.path().toStdString());
        theConfig = ConfigStore();
        // The tests close main windows without ending the test program.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        SetModalHandler({});
        DownloadDialog::SetClock({});
        DownloadDialog::SetHostOverride({});
        std::filesystem::current_path(m_savedDirectory);
        theConfig = ConfigStore();
    }

    // The settings file as the program left it.
    static ConfigStore SavedSettings() {
        ConfigStore saved;
        EXPECT_TRUE(saved.Load(kConfigFileName));
        return saved;
    }

    QTemporaryDir m_folder;
    std::filesystem::path m_savedDirectory;
};

// A main window over a product table of the test's own, without the start-up
// sequence (so nothing is read or written).
class ProductWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        theConfig = ConfigStore();
        m_frame = std::make_unique<CMainFrame>();
        View().SetupColumns();
    }
    void TearDown() override {
        SetModalHandler({});
        theConfig = ConfigStore();
    }

    CVeraduneView& View() { return m_frame->View(); }
    void Show(std::vector<ProductRecord> products) {
        View().products = std::move(products);
        View().StartFilter();
    }
    void Trigger(const char* actionName) {
        m_frame->findChild<QAction*>(QLatin1String(actionName))->trigger();
    }

    std::unique_ptr<CMainFrame> m_frame;
};
