#include "ui/modes/gridlayout.h"

#include <QTest>

using namespace Vandra;

class TestGridLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnsFitTheWidthBetweenTheInsets() {
        // 3 + 142 + 2 + 142 + 3 = 292: two items fit exactly, one pixel less leaves one.
        QCOMPARE(GridLayout(292, {5}).columns(), 2);
        QCOMPARE(GridLayout(291, {5}).columns(), 1);
        QCOMPARE(GridLayout(436, {5}).columns(), 3);
        // A view narrower than an item still shows one column.
        QCOMPARE(GridLayout(50, {5}).columns(), 1);
    }

    void itemsFlowInRowsUnderTheirHeader() {
        const GridLayout layout(292, {3, 1});
        QCOMPARE(layout.headerRect(0), QRect(0, 0, 292, 28));
        QCOMPARE(layout.itemRect(0, 0), QRect(3, 28 + 6, 142, 92));
        QCOMPARE(layout.itemRect(0, 1), QRect(3 + 142 + 2, 28 + 6, 142, 92));
        QCOMPARE(layout.itemRect(0, 2), QRect(3, 28 + 6 + 92 + 2, 142, 92));
        // Two rows: header, top inset, rows with a line between, bottom inset.
        QCOMPARE(layout.sectionHeight(0), 28 + 6 + 92 + 2 + 92 + 6);
        QCOMPARE(layout.sectionTop(1), layout.sectionHeight(0));
        QCOMPARE(layout.itemRect(1, 0).top(), layout.sectionTop(1) + 28 + 6);
        QCOMPARE(layout.contentHeight(), layout.sectionHeight(0) + 28 + 6 + 92 + 6);
        QCOMPARE(GridLayout(292, {}).contentHeight(), 0);
    }

    void headersStayPinnedUntilTheirSectionEnds() {
        const GridLayout layout(292, {4, 2});
        const int secondTop = layout.sectionTop(1);
        // Before scrolling every header is where it belongs.
        QCOMPARE(layout.pinnedHeaderRect(0, 0).top(), 0);
        QCOMPARE(layout.pinnedHeaderRect(1, 0).top(), secondTop);
        // Scrolled into the first section: its header sits at the top of the view.
        QCOMPARE(layout.pinnedHeaderRect(0, 100).top(), 100);
        QCOMPARE(layout.pinnedSection(100), 0);
        // Near the end of the section the next header pushes it up.
        QCOMPARE(layout.pinnedHeaderRect(0, secondTop - 10).top(), secondTop - 28);
        QCOMPARE(layout.pinnedHeaderRect(1, secondTop - 10).top(), secondTop);
        QCOMPARE(layout.pinnedSection(secondTop), 1);
        QCOMPARE(GridLayout(292, {}).pinnedSection(0), -1);
    }

    void pointsFindItemsButNotGapsOrHeaders() {
        const GridLayout layout(292, {3});
        const QRect second = layout.itemRect(0, 1);
        QCOMPARE(layout.itemAt(second.center()), (GridLayout::Position{0, 1}));
        QCOMPARE(layout.itemAt(second.topLeft()), (GridLayout::Position{0, 1}));
        QVERIFY(!layout.itemAt(QPoint(second.left() - 1, second.center().y())));
        QVERIFY(!layout.itemAt(QPoint(10, 10)));
        // The empty place beside the last item of a short row.
        QVERIFY(!layout.itemAt(QPoint(second.center().x(), layout.itemRect(0, 2).center().y())));
        QVERIFY(!layout.itemAt(QPoint(10, layout.contentHeight() + 5)));
    }

    void arrowKeysMoveAcrossSections() {
        // Two columns: the first section has rows {0,1},{2}; the second {0,1},{2,3}.
        const GridLayout layout(292, {3, 4});
        using P = GridLayout::Position;
        QCOMPARE(layout.itemBelow({0, 0}), (P{0, 2}));
        // The row below is shorter: the last item of the section.
        QCOMPARE(layout.itemBelow({0, 1}), (P{0, 2}));
        QCOMPARE(layout.itemBelow({0, 2}), (P{1, 0}));
        QCOMPARE(layout.itemAbove({1, 1}), (P{0, 2}));
        QCOMPARE(layout.itemAbove({1, 3}), (P{1, 1}));
        QVERIFY(!layout.itemAbove({0, 1}));
        QVERIFY(!layout.itemBelow({1, 3}));
    }
};

QTEST_APPLESS_MAIN(TestGridLayout)
#include "test_gridlayout.moc"
