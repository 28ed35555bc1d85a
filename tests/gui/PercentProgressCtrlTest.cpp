#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTest>

#include "mainframe/PercentProgressCtrl.h"

namespace {

// Colours no theme uses, so every pixel tells which part painted it.
const QColor kBar(0, 0, 255);
const QColor kBarText(255, 255, 0);
const QColor kEmptyText(255, 0, 0);
const QColor kEmpty(0, 255, 0);

class PercentProgressCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedPalette = QApplication::palette();
        QPalette palette = m_savedPalette;
        palette.setColor(QPalette::Highlight, kBar);
        palette.setColor(QPalette::HighlightedText, kBarText);
        palette.setColor(QPalette::WindowText, kEmptyText);
        palette.setColor(QPalette::Button, kEmpty);
        QApplication::setPalette(palette);
    }
    void TearDown() override { QApplication::setPalette(m_savedPalette); }

    // A bar 201 pixels wide: its interior runs from x = 1 to x = 199.
    static std::unique_ptr<PercentProgressCtrl> MakeBar() {
        auto bar = std::make_unique<PercentProgressCtrl>();
        QFont font = bar->font();
        font.setPixelSize(14);
        // Without smoothing every glyph pixel has exactly one of the text colours.
        font.setStyleStrategy(QFont::NoAntialias);
        bar->setFont(font);
        bar->resize(201, 30);
        bar->SetShowPercent(true);
        return bar;
    }

    QPalette m_savedPalette;
};

int CountPixels(const QImage& image, const QRect& area, const QColor& color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color) ++count;
    return count;
}

QImage Paint(PercentProgressCtrl& bar) {
    return bar.grab().toImage();
}

TEST_F(PercentProgressCtrlTest, FillsInProportionAndWritesThePercentInTwoColours) {
    enum TextOver { kEmptyPart, kFilledPart, kBothParts };
    const struct {
        int upper, pos;
        const char* text;
        int fill;  // filled interior columns, from x = 1
        TextOver textOver;
    } cases[] = {
        {13, 0, "0%", 0, kEmptyPart},
        {3, 1, "33%", 67, kEmptyPart},
        {2, 1, "50%", 100, kBothParts},
        {3, 2, "67%", 133, kFilledPart},
        {13, 13, "100%", 199, kFilledPart},
        // An empty range shows a full bar.
        {0, 0, "100%", 199, kFilledPart},
        {-4, 0, "100%", 199, kFilledPart},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto bar = MakeBar();
        bar->SetRange(0, c.upper);
        bar->SetPos(c.pos);
        EXPECT_EQ(bar->ShownText(), QString::fromLatin1(c.text));
        EXPECT_EQ(bar->FillWidth(), c.fill);

        const QImage image = Paint(*bar);
        // The top interior row lies above the text.
        EXPECT_EQ(CountPixels(image, QRect(1, 1, c.fill, 1), kBar), c.fill);
        EXPECT_EQ(CountPixels(image, QRect(1 + c.fill, 1, 199 - c.fill, 1), kEmpty), 199 - c.fill);

        const QRect filled(1, 1, c.fill, 28);
        const QRect empty(1 + c.fill, 1, 199 - c.fill, 28);
        EXPECT_EQ(CountPixels(image, filled, kEmptyText), 0);
        EXPECT_EQ(CountPixels(image, empty, kBarText), 0);
        EXPECT_EQ(CountPixels(image, filled, kBarText) > 0, c.textOver != kEmptyPart);
        EXPECT_EQ(CountPixels(image, empty, kEmptyText) > 0, c.textOver != kFilledPart);
    }
}

TEST_F(PercentProgressCtrlTest, NeverPaintsOverTheFrame) {
    const struct {
        int lower, upper, pos;
    } ranges[] = {{0, 10, 10}, {5, 5, 5}, {10, 3, 7}, {0, 10, -5}, {0, 10, 50}};
    for (const auto& r : ranges) {
        SCOPED_TRACE(testing::Message() << r.lower << ".." << r.upper << " at " << r.pos);
        auto bar = MakeBar();
        bar->SetRange(r.lower, r.upper);
        bar->SetPos(r.pos);
        EXPECT_GE(bar->FillWidth(), 0);
        EXPECT_LE(bar->FillWidth(), 199);
        const QImage image = Paint(*bar);
        for (const QRect& edge : {QRect(0, 0, 201, 1), QRect(0, 29, 201, 1), QRect(0, 0, 1, 30),
                                  QRect(200, 0, 1, 30)}) {
            EXPECT_EQ(CountPixels(image, edge, kBar), 0);
            EXPECT_EQ(CountPixels(image, edge, kEmpty), 0);
        }
    }
}

TEST_F(PercentProgressCtrlTest, EmptyColourAndWindowTextMode) {
    auto bar = MakeBar();
    bar->SetRange(0, 4);
    bar->SetPos(1);
    bar->SetEmptyColor(Qt::white);
    bar->SetShowPercent(false);
    EXPECT_EQ(bar->ShownText(), QString());
    EXPECT_EQ(CountPixels(Paint(*bar), QRect(1, 1, 199, 28), kEmptyText), 0);

    bar->SetText(QStringLiteral("Wait"));
    EXPECT_EQ(bar->ShownText(), QStringLiteral("Wait"));
    const QImage image = Paint(*bar);
    EXPECT_EQ(CountPixels(image, QRect(51, 1, 149, 1), QColor(Qt::white)), 149);
    EXPECT_GT(CountPixels(image, QRect(51, 1, 149, 28), kEmptyText), 0);
}

// Counts the paints of a shown widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(PercentProgressCtrlTest, NewTextOrPositionRepaints) {
    auto bar = MakeBar();
    PaintCounter counter;
    bar->installEventFilter(&counter);
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }));

    bar->SetText(QStringLiteral("x"));
    int before = counter.paints;
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }));

    bar->SetPos(50);
    before = counter.paints;
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }));
}

}  // namespace
