// veradune-screenshots OUTDIR [SAMPLEDIR]: the program's windows as PNG files.
// The program's real first start runs in a temporary working folder against an
// in-process stand-in portal that serves the sample pages, and every window is
// grabbed on the way, offscreen unless QT_QPA_PLATFORM says otherwise.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "DialogAnswerer.h"
#include "ScreenshotTour.h"
#include "acquire/CityPageParser.h"
#include "acquire/PagePaths.h"
#include "app/VeraduneApp.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/Icons.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "portal/PageSource.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"

namespace {

// The time of each update, a day apart, so that regenerated pictures stay the same.
class DayClock : public Clock {
public:
    std::time_t Now() const override {
        std::tm shown{};
        shown.tm_year = 2024 - 1900;
        shown.tm_mon = 5;
        shown.tm_mday = 1 + day;
        shown.tm_hour = 21;
        shown.tm_isdst = -1;
        return std::mktime(&shown);
    }
    int day = 0;
};

// The sample folder's world, as the page generator made it (scripts/make-sample.sh).
constexpr std::uint64_t kSampleSeed = 20240601;
constexpr int kSampleShops = 40, kSampleProducts = 30;
constexpr int kLaterDays = 3;

// The companies whose shop pages a download fetches, in download order.
std::vector<int> DownloadOrder(const std::string& pagesFolder) {
    std::vector<CompanyEntry> companies;
    for (const CityInfo& city : CityTable())
        ParseCityPage(platform::JoinPath(pagesFolder, CityPageFileName(city.id)), city.name,
                      companies);
    std::vector<int> ids;
    std::unordered_set<int> seen;
    for (const CompanyEntry& company : companies)
        if (seen.insert(company.companyId).second) ids.push_back(company.companyId);
    return ids;
}

// Japanese glyphs from the Japanese cut of Noto, not from whatever font fontconfig
// falls back to.
void UseJapaneseFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK JP")});
    QApplication::setFont(font);
    if (!QFontInfo(font).family().contains(QStringLiteral("CJK")))
        std::fprintf(stderr, "veradune-screenshots: Noto Sans CJK JP is not installed\n");
}

int Fail(const QString& message) {
    std::fprintf(stderr, "veradune-screenshots: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fprintf(stderr, "usage: veradune-screenshots OUTDIR [SAMPLEDIR]\n");
        return 2;
    }
    const QString outDir = QDir(arguments[1]).absolutePath();
    const QString sampleDir =
        arguments.size() == 3 ? arguments[2] : QStringLiteral(VERADUNE_SAMPLE_DIR);
    const std::string pages =
        platform::JoinPath(QDir(sampleDir).absolutePath().toStdString(), kDownloadFolder);
    if (!QDir().mkpath(outDir)) return Fail(QStringLiteral("cannot create ") + outDir);
    const std::vector<int> order = DownloadOrder(pages);
    if (order.empty())
        return Fail(QStringLiteral("no company pages in ") + QString::fromStdString(pages));

    UseJapaneseFont();
    QApplication::setWindowIcon(ProgramIcon());

    // A page two thirds through the download is held back for a second.
    const size_t stalled = order.size() * 2 / 3;
    portal::PortalSettings settings;
    settings.faults.push_back(
        {portal::FaultKind::Stall, 1, {{portal::PortalPage::Shop, order[stalled]}}});
    portal::PortalServer server(std::make_shared<portal::FolderPageSource>(pages), settings);
    if (!server.Start(0)) return Fail(QStringLiteral("cannot start the stand-in portal"));

    QTemporaryDir workingFolder;
    if (!workingFolder.isValid()) return Fail(QStringLiteral("cannot make a working folder"));
    DayClock clock;
    const ProgramContext context{WorkingFolder(workingFolder.path().toStdString()),
                                 server.HostPort(), &clock};

    ScreenshotTour tour(outDir, static_cast<int>(stalled) + 1);
    const DialogAnswerer answerer([&tour](QDialog& dialog) { tour.Answer(dialog); });
    const std::unique_ptr<CMainFrame> frame = InitInstance(context);
    if (frame) {
        // Once the shown window has been laid out.
        QTimer::singleShot(0, frame.get(), [&] {
            tour.VisitMainWindow(*frame);
            // Later days of the same world, so that the list has changes to mark and
            // the chart a few downloads to draw.
            for (int day = 1; day <= kLaterDays; ++day) {
                clock.day = day;
                server.SetPages(portal::MakeGeneratedPageSource(kSampleSeed, kSampleShops,
                                                                kSampleProducts, day));
                frame->findChild<QAction*>(QStringLiteral("updateListAction"))->trigger();
            }
            tour.VisitChanges(*frame);
            frame->close();
            QApplication::quit();
        });
        QApplication::exec();
    }
    server.Stop();

    const QStringList missing = tour.Missing();
    if (!missing.isEmpty()) return Fail(QStringLiteral("not written: ") + missing.join(u' '));
    std::printf("screenshots written to %s\n", qPrintable(outDir));
    return 0;
}
