#include "mainframe/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWindow>

#include "listview/CVeraduneView.h"
#include "mainframe/FilterBar.h"
#include "mainframe/Icons.h"
#include "mainframe/MessageBoxes.h"

namespace {

constexpr int kFrameWidth = 900;
constexpr int kFrameHeight = 800;

// The idle text of the message pane.
const QString& IdleMessage() {
    static const QString blank = QStringLiteral(" ");
    return blank;
}

QAction* MakeCommand(QObject* parent, const char* name, const QString& text, const QString& prompt,
                     const QString& tip) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(prompt);
    action->setToolTip(tip);
    return action;
}

int BlanksWidth(const QWidget* widget, int blanks) {
    return widget->fontMetrics().horizontalAdvance(QString(blanks, QLatin1Char(' ')));
}

// A status pane as wide as `blanks` blank characters in the status bar's font; a
// longer text is cut at its edge rather than pushing the other panes aside.
QLabel* MakePane(QStatusBar* bar, const char* name, int blanks) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QLatin1String(name));
    pane->setFixedWidth(BlanksWidth(bar, blanks));
    return pane;
}

}  // namespace

CMainFrame::CMainFrame(ProgramContext context) : m_context(std::move(context)) {
    setObjectName(QStringLiteral("mainFrame"));
    CreateActions();
    m_filterBar = new FilterBar(
        *this, {m_updateListAction, m_startFilterAction, m_clearFilterAction, m_cityFilterAction});
    CreateMenus();
    CreateStatusBar();
    m_view = new CVeraduneView(m_config, m_context, this);
    setCentralWidget(m_view);
    RouteCommandsToView();
    PlaceOnScreen();
}

void CMainFrame::OnInitialUpdate() {
    // A missing or broken file leaves the defaults.
    m_config.Load(m_context.folder.ConfigPath());
    m_filterBar->SetHistory(m_config.searchHistory);
    m_view->Start();
}

void CMainFrame::CreateActions() {
    const QString update = QStringLiteral("商品ﾘｽﾄを更新");
    m_updateListAction = MakeCommand(this, "updateListAction",
                                     QStringLiteral("商品ﾘｽﾄを更新(&R)..."), update, update);
    m_updateListAction->setIcon(UpdateListIcon());
    const QString start = QStringLiteral("絞り込み開始");
    m_startFilterAction =
        MakeCommand(this, "startFilterAction", QStringLiteral("絞り込み開始(&N)"), start, start);
    m_startFilterAction->setIcon(StartFilterIcon());
    const QString clear = QStringLiteral("絞り込み解除");
    m_clearFilterAction =
        MakeCommand(this, "clearFilterAction", QStringLiteral("絞り込み解除(&C)"), clear, clear);
    m_clearFilterAction->setIcon(ClearFilterIcon());
    m_clearFilterAction->setEnabled(false);
    const QString city = QStringLiteral("都市名で絞り込み");
    m_cityFilterAction = MakeCommand(this, "cityFilterAction",
                                     QStringLiteral("都市名で絞り込み(&T)..."), city, city);
    m_cityFilterAction->setIcon(CityFilterIcon());
    // The settings are edited from the download dialog only.
    m_settingsAction = new QAction(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ設定(&S)..."), this);
    m_settingsAction->setObjectName(QStringLiteral("settingsAction"));
    m_settingsAction->setEnabled(false);
    const QString gone = QStringLiteral("前回から消えた出品");
    m_goneOffersAction = MakeCommand(this, "goneOffersAction",
                                     QStringLiteral("前回から消えた出品(&G)..."), gone, gone);
    const QString history = QStringLiteral("価格の推移");
    m_priceHistoryAction = MakeCommand(this, "priceHistoryAction",
                                       QStringLiteral("価格の推移(&P)..."), history, history);
    const QString saveList = QStringLiteral("表示中のリストを保存");
    m_saveListAction = MakeCommand(
        this, "saveListAction", QStringLiteral("表示中のリストを保存(&E)..."), saveList, saveList);
    m_copyAction = MakeCommand(this, "copyAction", QStringLiteral("コピー(&C)"),
                               QStringLiteral("選択した行をコピー"), QStringLiteral("コピー"));
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_exitAction = new QAction(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"), this);
    m_exitAction->setObjectName(QStringLiteral("exitAction"));
    m_statusBarAction = new QAction(QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"), this);
    m_statusBarAction->setObjectName(QStringLiteral("statusBarAction"));
    m_statusBarAction->setCheckable(true);
    m_statusBarAction->setChecked(true);
    m_aboutAction = new QAction(QStringLiteral("Veradune のﾊﾞｰｼﾞｮﾝ情報(&A)..."), this);
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(m_startFilterAction);
    file->addAction(m_clearFilterAction);
    file->addSeparator();
    file->addAction(m_cityFilterAction);
    file->addAction(m_filterBar->CheapestOnlyAction());
    file->addSeparator();
    file->addAction(m_updateListAction);
    file->addAction(m_settingsAction);
    file->addAction(m_saveListAction);
    file->addSeparator();
    file->addAction(m_exitAction);
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addAction(m_filterBar->FilterToolBarToggle());
    view->addAction(m_statusBarAction);
    view->addSeparator();
    view->addAction(m_goneOffersAction);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(m_aboutAction);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_hitPane = MakePane(bar, "hitPane", 32);
    m_lastUpdatePane = MakePane(bar, "lastUpdatePane", 50);
    m_progress = new QProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("statusProgress"));
    m_progress->setTextVisible(false);
    m_progress->setFixedWidth(BlanksWidth(bar, 26));
    bar->addPermanentWidget(m_hitPane);
    bar->addPermanentWidget(m_lastUpdatePane);
    bar->addPermanentWidget(m_progress);
    bar->showMessage(m_idleMessage);
    connect(m_statusBarAction, &QAction::toggled, bar, &QStatusBar::setVisible);
}

void CMainFrame::PlaceOnScreen() {
    FitOuterSize();
    // Centred on the screen's free area; a smaller screen gets a negative corner.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - kFrameWidth) / 2,
             area.y() + (area.height() - kFrameHeight) / 2);
    }
}

// 900 by 800 is the window's outer size, frame included, both at start and as the
// smallest size. The frame's width is known only once the window system has framed
// the window, so the inner size follows it until the player resizes the window.
void CMainFrame::FitOuterSize() {
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize inner(kFrameWidth - frame.left() - frame.right(),
                      kFrameHeight - frame.top() - frame.bottom());
    const bool resizedByPlayer = m_fittedSize.isValid() && size() != m_fittedSize;
    setMinimumSize(inner);
    if (!resizedByPlayer) {
        resize(inner);
        m_fittedSize = inner;
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitOuterSize();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Framing the window moves it; that is when the frame's size becomes known.
    FitOuterSize();
}

void CMainFrame::RouteCommandsToView() {
    CVeraduneView* view = m_view;
    connect(m_updateListAction, &QAction::triggered, view,
            [view] { view->RefreshAfterDownload(true); });
    connect(m_startFilterAction, &QAction::triggered, this, &CMainFrame::StartFilter);
    connect(m_filterBar, &FilterBar::filterRequested, this, &CMainFrame::StartFilter);
    connect(view, &CVeraduneView::filterRequested, this, &CMainFrame::StartFilter);
    connect(m_clearFilterAction, &QAction::triggered, this, [this] {
        m_filterBar->Clear();
        m_view->ClearFilter();
    });
    connect(m_cityFilterAction, &QAction::triggered, view, &CVeraduneView::OnCityFilter);
    connect(m_saveListAction, &QAction::triggered, view, &CVeraduneView::SaveShownList);
    connect(m_copyAction, &QAction::triggered, view, &CVeraduneView::CopySelectedRows);
    connect(m_goneOffersAction, &QAction::triggered, view, &CVeraduneView::ShowGoneOffers);
    connect(m_priceHistoryAction, &QAction::triggered, view, &CVeraduneView::ShowPriceHistory);
    view->AddListCommands({m_priceHistoryAction, m_copyAction});
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_aboutAction, &QAction::triggered, this, &CMainFrame::aboutRequested);

    connect(view, &CVeraduneView::hitTextChanged, m_hitPane, &QLabel::setText);
    connect(view, &CVeraduneView::lastUpdateChanged, m_lastUpdatePane, &QLabel::setText);
    connect(view, &CVeraduneView::progressReset, this, [this](int upper) {
        m_progress->setRange(0, upper);
        m_progress->setValue(0);
    });
    connect(view, &CVeraduneView::filterActiveChanged, m_clearFilterAction, &QAction::setEnabled);
    // The message stays in the message pane, where the command prompts come and go.
    connect(view, &CVeraduneView::messageChanged, this, [this](const QString& text) {
        m_idleMessage = text.isEmpty() ? IdleMessage() : text;
        statusBar()->showMessage(m_idleMessage);
    });
    connect(view, &CVeraduneView::historyEntryAdded, m_filterBar,
            &FilterBar::AddNewestHistoryEntry);
    connect(view, &CVeraduneView::historyRecording, this, [this](bool recording) {
        m_goneOffersAction->setEnabled(!recording);
        m_priceHistoryAction->setEnabled(!recording);
    });
}

void CMainFrame::StartFilter() {
    m_view->StartFilter(m_filterBar->Inputs());
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? m_idleMessage : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A second close request (a signal arriving after the user closed) must not
    // save again.
    if (!m_closed) {
        m_closed = true;
        SaveSettings();
    }
    event->accept();
}

// The settings reach the file here only, so a failed save would lose every choice
// made since the start: the player hears why and may try again.
void CMainFrame::SaveSettings() {
    const std::string path = m_context.folder.ConfigPath();
    std::string reason;
    while (!m_config.Save(path, &reason))
        if (!AskToRetrySave(this, QString::fromStdString(path), QString::fromStdString(reason)))
            return;
}
