#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <vector>

#include "acquire/DownloadDialog.h"
#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "mainframe/ModalRunner.h"
#include "portal/PortalServer.h"
#include "shopdata/ProductRecord.h"

inline constexpr char kEarlierUpdate[] = "2000/01/01 00:00:00";

// Runs every test in a fresh working folder with an empty download folder, and
// lends the download dialog settings with the account the settings dialog is
// answered with, an earlier update, one old company and one old product. Dialog
// answers, the clock and the portal are undone afterwards.
class DownloadDialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_savedDirectory = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.path().toStdString());
        std::filesystem::create_directory(kDownloadFolder);
        m_config.portalId = "me";
        m_config.portalPassword = "pw";
        m_config.lastUpdate = kEarlierUpdate;
        m_config.companies = {CompanyEntry{999, "old", "old"}};
        m_products.resize(1);
        m_products[0].productName = "old";
    }
    void TearDown() override {
        SetModalHandler({});
        DownloadDialog::SetClock({});
        DownloadDialog::SetHostOverride({});
        if (m_portal) m_portal->Stop();
        std::filesystem::current_path(m_savedDirectory);
    }

    QTemporaryDir m_folder;
    std::filesystem::path m_savedDirectory;
    std::unique_ptr<portal::PortalServer> m_portal;
    ConfigStore m_config;
    std::vector<ProductRecord> m_products;
};
