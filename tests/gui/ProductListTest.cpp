// The product list itself: header clicks, column widths, row height, painting and
// the model's consistency.

#include <QAbstractItemModelTester>
#include <QImage>
#include <QTest>

#include "MainWindowTestSupport.h"
#include "listview/ProductSort.h"

namespace {

using Tags = std::vector<std::string>;

class ProductListTest : public ProductWindowTest {
protected:
    void ClickHeader(int column) {
        QHeaderView* header = View().List().horizontalHeader();
        const QPoint inside(header->sectionViewportPosition(column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inside);
    }
};

TEST_F(ProductListTest, HeaderClicksSortAscendingThenDescendingAndMoveTheArrow) {
    Show({Offer("a", "x", 1, 300, "セビリア"), Offer("b", "x", 1, 1000, "リスボン"),
          Offer("c", "x", 1, 999, "セビリア")});
    EXPECT_EQ(HeaderText(*m_frame, kColumnCityName), QStringLiteral("都市名 ▲"));

    ClickHeader(kColumnPrice);
    // "1,000" is read as the number 1000, not as text.
    EXPECT_EQ(ShownColumn(*m_frame, kColumnPrice), (Tags{"300", "999", "1,000"}));
    EXPECT_EQ(HeaderText(*m_frame, kColumnPrice), QStringLiteral("販売価格 ▲"));
    EXPECT_EQ(HeaderText(*m_frame, kColumnCityName), QStringLiteral("都市名"));
    EXPECT_EQ(theConfig.sortColumn, kColumnPrice);

    ClickHeader(kColumnPrice);
    EXPECT_EQ(ShownColumn(*m_frame, kColumnPrice), (Tags{"1,000", "999", "300"}));
    EXPECT_EQ(HeaderText(*m_frame, kColumnPrice), QStringLiteral("販売価格 ▼"));
    EXPECT_EQ(theConfig.sortOrder, kSortDescending);

    ClickHeader(kColumnPrice);
    EXPECT_EQ(ShownColumn(*m_frame, kColumnPrice), (Tags{"300", "999", "1,000"}));
    EXPECT_EQ(theConfig.sortOrder, kSortAscending);
    EXPECT_EQ(PaneText(*m_frame, "hitPane"), QStringLiteral("3件ヒットしました"));
}

TEST_F(ProductListTest, SuccessiveClicksGiveAMultiKeyOrderWithoutFilteringAgain) {
    Show({Offer("a", "x", 1, 500, "リスボン"), Offer("b", "x", 1, 100, "セビリア"),
          Offer("c", "x", 1, 300, "リスボン"), Offer("d", "x", 1, 200, "セビリア")});
    ClickHeader(kColumnPrice);
    View().products.push_back(Offer("e", "x", 1, 1, "セビリア"));
    ClickHeader(kColumnCityName);
    EXPECT_EQ(ShownTags(*m_frame), (Tags{"b@セビリア", "d@セビリア", "c@リスボン", "a@リスボン"}));
    // The table follows the same order, so the next filter run lists it that way.
    Trigger("startFilterAction");
    EXPECT_EQ(ShownTags(*m_frame),
              (Tags{"b@セビリア", "d@セビリア", "e@セビリア", "c@リスボン", "a@リスボン"}));
}

TEST_F(ProductListTest, EmptyCombatCellsTieOnScreenButNotInTheTable) {
    Show({Offer("zero", "x", 1, 1, "セビリア", 0), Offer("one", "x", 1, 1, "セビリア", 1),
          Offer("none", "x", 1, 1, "セビリア", -1)});
    ClickHeader(kColumnAttack);
    EXPECT_EQ(ShownColumn(*m_frame, kColumnProductName), (Tags{"zero", "none", "one"}));
    Trigger("startFilterAction");
    EXPECT_EQ(ShownColumn(*m_frame, kColumnProductName), (Tags{"none", "zero", "one"}));
}

TEST_F(ProductListTest, HeaderClickSortsTheCheapestOffersToo) {
    Show({Offer("a", "x", 1, 500, "セビリア"), Offer("a", "x", 1, 400, "リスボン"),
          Offer("b", "x", 1, 100, "セビリア"), Offer("c", "x", 1, 900, "セビリア")});
    Trigger("cheapestOnlyAction");
    ClickHeader(kColumnPrice);
    ClickHeader(kColumnPrice);
    EXPECT_EQ(ShownTags(*m_frame), (Tags{"c@セビリア", "a@リスボン", "b@セビリア"}));
}

TEST_F(ProductListTest, ColumnsKeepTheirShareOfTheWidth) {
    m_frame->show();
    for (QSize size : {QSize(900, 800), QSize(1333, 900), QSize(1000, 800)}) {
        m_frame->resize(size);
        QTest::qWait(1);
        const int width = View().width();
        const int percent[kColumnCount] = {18, 8, 8, 9, 8, 8, 8, 19, 12};
        for (int column = 0; column < kColumnCount; ++column)
            EXPECT_EQ(View().List().columnWidth(column), width * percent[column] / 100)
                << size.width() << " column " << column;
    }
}

TEST_F(ProductListTest, RowsAreNeverLowerThanTheFontNeeds) {
    ProductListCtrl& list = View().List();
    const int fontNeeds = QFontInfo(list.font()).pixelSize() + 5;
    list.SetRowHeight(2);
    EXPECT_EQ(list.RowHeight(), fontNeeds);
    list.SetRowHeight(fontNeeds + 9);
    EXPECT_EQ(list.RowHeight(), fontNeeds + 9);
    QFont larger = list.font();
    larger.setPixelSize(fontNeeds + 20);
    list.setFont(larger);
    EXPECT_EQ(list.RowHeight(), fontNeeds + 25);

    theConfig.rowHeight = 33;
    View().SetupColumns();
    EXPECT_EQ(list.RowHeight(), std::max(33, fontNeeds + 25));
}

// The last column of `image` inside `area` that holds a pixel darker than `limit`,
// or area.left() - 1.
int InkRight(const QImage& image, const QRect& area, int limit = 160) {
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < limit) return x;
    return area.left() - 1;
}

TEST_F(ProductListTest, CellsArePaintedWithPaddingEllipsisAndHighlight) {
    Show({Offer("とても長い名前の商品がここに並んでいて列に入りきらない", "x", 1, 123, "セビリア"),
          Offer("b", "x", 1, 4567, "セビリア")});
    m_frame->show();
    ProductListCtrl& list = View().List();
    list.selectRow(1);
    list.clearFocus();  // the highlight does not depend on the focus
    const QImage image = list.viewport()->grab().toImage();

    const QRect price = list.visualRect(list.model()->index(0, kColumnPrice));
    const int ink = InkRight(image, price);
    EXPECT_LE(ink, price.right() - 3) << "3 pixels stay free on the right";
    EXPECT_GE(ink, price.right() - 6) << "the number is right-aligned";

    const QRect name = list.visualRect(list.model()->index(0, kColumnProductName));
    EXPECT_LE(InkRight(image, name), name.right() - 3) << "a long name is cut inside its cell";
    EXPECT_EQ(image.pixelColor(name.left() + 1, name.top() + 1), QColor(Qt::white));

    const QColor highlight = list.palette().color(QPalette::Active, QPalette::Highlight);
    for (int column : {kColumnProductName, kColumnStock, kColumnCityName}) {
        const QRect cell = list.visualRect(list.model()->index(1, column));
        EXPECT_EQ(image.pixelColor(cell.right() - 1, cell.top() + 1), highlight) << column;
    }
}

TEST_F(ProductListTest, ModelStaysConsistentThroughEveryCommand) {
    QAbstractItemModelTester tester(&View().List().Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    Show({Offer("a", "x", 1, 500, "セビリア"), Offer("a", "x", 2, 400, "リスボン"),
          Offer("b", "x", 3, 100, "セビリア")});
    View().List().selectRow(1);
    ClickHeader(kColumnStock);
    ClickHeader(kColumnStock);
    Trigger("cheapestOnlyAction");
    ClickHeader(kColumnProductName);
    Trigger("clearFilterAction");
    EXPECT_EQ(View().List().Model().rowCount(), 3);
}

}  // namespace
