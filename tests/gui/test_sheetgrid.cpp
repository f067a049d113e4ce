#include "guitest.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"

#include <QScrollBar>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestSheetGrid : public QObject
{
    Q_OBJECT

    Sheet sheet;
    std::unique_ptr<SheetGrid> grid;

    QPoint centre(int row, int col) const { return grid->cell_rect(row, col).center(); }

private slots:
    void init()
    {
        sheet.build_new(120);
        grid = std::make_unique<SheetGrid>(&sheet);
        grid->resize(600, 400);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    void cleanup() { grid.reset(); }

    void click_makes_cell_current()
    {
        QSignalSpy down(grid.get(), &SheetGrid::mouse_down);
        QSignalSpy moved(&sheet, &Sheet::current_cell_changed);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(3, 2));
        QCOMPARE(sheet.row(), 3);
        QCOMPARE(sheet.col(), 2);
        QCOMPARE(sheet.sel_row(), 3);
        QCOMPARE(sheet.sel_col(), 2);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.first().at(0).toInt(), 1);
        QCOMPARE(moved.count(), 1);
    }

    void press_is_reported_before_the_cell_changes()
    {
        int row_at_press = -1;
        connect(grid.get(), &SheetGrid::mouse_down, this, [&] { row_at_press = sheet.row(); });
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(4, 3));
        QCOMPARE(row_at_press, 1);
    }

    void drag_selects_a_rectangle()
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(3, 2));
        QMouseEvent move(QEvent::MouseMove, centre(6, 4), grid->viewport()->mapToGlobal(centre(6, 4)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(6, 4));
        QCOMPARE(sheet.row(), 3);
        QCOMPARE(sheet.col(), 2);
        QCOMPARE(sheet.sel_row(), 6);
        QCOMPARE(sheet.sel_col(), 4);
    }

    void title_selects_column_and_number_selects_row()
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(0, 5));
        QCOMPARE(sheet.row(), 1);
        QCOMPARE(sheet.col(), 5);
        QCOMPARE(sheet.sel_row(), 100);
        QCOMPARE(sheet.sel_col(), 5);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(4, 0));
        QCOMPARE(sheet.row(), 4);
        QCOMPARE(sheet.col(), 1);
        QCOMPARE(sheet.sel_row(), 4);
        QCOMPARE(sheet.sel_col(), 8);
    }

    void right_press_does_not_move()
    {
        QSignalSpy down(grid.get(), &SheetGrid::mouse_down);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(5, 5));
        QCOMPARE(sheet.row(), 1);
        QCOMPARE(down.first().at(0).toInt(), 2);
    }

    void fixed_cells_stay_while_scrolling()
    {
        QSignalSpy scrolled(grid.get(), &SheetGrid::scrolled);
        QVERIFY(grid->row_visible(1));
        grid->verticalScrollBar()->setValue(40);
        QCOMPARE(grid->top_row(), 40);
        QCOMPARE(scrolled.count(), 1);
        QVERIFY(!grid->row_visible(1));
        QVERIFY(grid->row_visible(0));
        QVERIFY(grid->row_visible(40));
        QCOMPARE(grid->cell_at(centre(0, 3)), QPoint(3, 0));
        QCOMPARE(grid->cell_at(centre(40, 3)), QPoint(3, 40));
        QCOMPARE(grid->cell_rect(40, 3).top(), grid->cell_rect(0, 3).bottom() + 1);
    }

    void ensure_visible_scrolls_to_the_cell()
    {
        grid->ensure_visible(90, 8);
        QVERIFY(grid->row_visible(90));
        QVERIFY(grid->col_visible(8));
        grid->ensure_visible(2, 1);
        QCOMPARE(grid->top_row(), 2);
        QCOMPARE(grid->left_col(), 1);
    }

    void wheel_scrolls()
    {
        QSignalSpy scrolled(grid.get(), &SheetGrid::scrolled);
        QWheelEvent wheel(QPointF(100, 100), grid->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        QCOMPARE(grid->top_row(), 4);
        QCOMPARE(scrolled.count(), 1);
    }

    void positions_in_twips()
    {
        // 15 twips a pixel at 96 dpi; column 1 starts after the row numbers.
        const double left1 = grid->cell_left_twips(1);
        const double left2 = grid->cell_left_twips(2);
        QVERIFY(std::abs((left2 - left1) - sheet.column_width(1)) <= 15);
        QCOMPARE(grid->cell_top_twips(2) - grid->cell_top_twips(1), double(grid->row_height_twips()));
    }

    void largest_sheet_paints()
    {
        sheet.set_rows(450);
        sheet.set_cols(450);
        sheet.set_text(449, 449, u"99"_s);
        grid->ensure_visible(449, 449);
        QVERIFY(grid->row_visible(449));
        QVERIFY(grid->col_visible(449));
        const QImage image = grid->grab().toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(grid->cell_at(centre(449, 449)), QPoint(449, 449));
    }

    void pointer_shapes()
    {
        grid->set_pointer(SheetGrid::Pointer::Crosshair);
        QCOMPARE(grid->viewport()->cursor().shape(), Qt::CrossCursor);
        grid->set_pointer(SheetGrid::Pointer::SizeAll);
        QCOMPARE(grid->viewport()->cursor().shape(), Qt::SizeAllCursor);
        grid->set_pointer(SheetGrid::Pointer::Default);
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::Default);
    }
};

PONSAITEN_GUI_TEST_MAIN(TestSheetGrid)
#include "test_sheetgrid.moc"
