#include "common/twips.h"
#include "guitest.h"
#include "history.h"
#include "sheet.h"
#include "sheet/gridaccessible.h"
#include "sheet/sheetgrid.h"
#include "structure.h"

#include <QAccessible>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>

using namespace Qt::StringLiterals;

class TestSheetGrid : public QObject
{
    Q_OBJECT

    Sheet sheet;
    std::unique_ptr<SheetGrid> grid;

    QPoint centre(int row, int col) const { return grid->cell_rect(row, col).center(); }
    int advance(const QString &text) const
    {
        return int(std::ceil(QFontMetricsF(grid->font()).horizontalAdvance(text)));
    }
    // Drags a title's right border by dx pixels with the left button.
    void drag_border(int col, int dx)
    {
        const QPoint from(grid->cell_rect(0, col).right(), grid->cell_rect(0, col).center().y());
        const QPoint to = from + QPoint(dx, 0);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, grid->viewport()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    }

private slots:
    void init()
    {
        sheet.build_new(120);
        // Before any grid: the accessibility cache keeps a grid's first interface.
        grid_accessible::install();
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
        QCOMPARE(down.first().at(0).value<Qt::MouseButtons>(), Qt::LeftButton);
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

    // A title that needs a second line makes the title row two lines high;
    // the cells below move down with it and clicks still find them.
    void title_row_takes_a_second_line()
    {
        const int rh = grid->cell_rect(1, 5).height();
        QCOMPARE(grid->cell_rect(0, 5).height(), rh);
        sheet.set_text(0, 5, u"小テスト1の記述問題"_s);
        QCOMPARE(grid->cell_rect(0, 5).height(), 2 * rh);
        QCOMPARE(grid->cell_rect(1, 3).top(), 2 * rh);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(1, 3));
        QCOMPARE(sheet.row(), 1);
        // Hovering shows the title whole.
        QHelpEvent tip(QEvent::ToolTip, centre(0, 5), grid->viewport()->mapToGlobal(centre(0, 5)));
        QApplication::sendEvent(grid->viewport(), &tip);
        QTRY_COMPARE(QToolTip::text(), u"小テスト1の記述問題"_s);
        sheet.set_text(0, 5, u"点1"_s);
        QCOMPARE(grid->cell_rect(0, 5).height(), rh);
    }

    void right_press_does_not_move()
    {
        QSignalSpy down(grid.get(), &SheetGrid::mouse_down);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(5, 5));
        QCOMPARE(sheet.row(), 1);
        QCOMPARE(down.first().at(0).value<Qt::MouseButtons>(), Qt::RightButton);
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

    // A move of the cursor or the selection repaints only the cells whose
    // look it changed, and the grid shows what a whole repaint shows.
    void moves_repaint_what_changed()
    {
        const auto as_painted = [&] {
            QApplication::processEvents();
            return grid->screen()->grabWindow(grid->winId()).toImage();
        };
        sheet.set_text(2, 2, u"12"_s);
        sheet.set_current_cell(2, 2);
        sheet.set_selection_end(4, 5);
        as_painted();
        sheet.set_selection_end(3, 3);
        sheet.set_current_cell(3, 3);
        const QImage moved = as_painted();
        grid->viewport()->update();
        QCOMPARE(moved, as_painted());
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

    // A number shows whole: a score or total column widens to it, a number
    // elsewhere without room shows "###"; texts are cut as before.
    void numbers_show_whole_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("widens");
        QTest::addColumn<QString>("shown");
        QTest::newRow("12.25 in a score column") << 5 << u"12.25"_s << true << u"12.25"_s;
        QTest::newRow("a mark of three digits") << 5 << u"100"_s << true << u"100"_s;
        QTest::newRow("152.0 in the last score column") << 6 << u"152.0"_s << true << u"152.0"_s;
        QTest::newRow("a total") << 7 << u" 1234.56"_s << true << u" 1234.56"_s;
        QTest::newRow("a number in the number column") << 1 << u"12345678"_s << false << u"###"_s;
        QTest::newRow("a grade column does not widen") << 8 << u"12345678"_s << false << u"###"_s;
        QTest::newRow("a name is cut") << 4 << u"山田花子山田花子"_s << false << u"山田花子山田花子"_s;
    }

    void numbers_show_whole()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, widens);
        QFETCH(QString, shown);
        for (int c = 1; c < sheet.cols(); ++c)
            sheet.set_column_width(c, 150);  // 10 pixels
        const int own = grid->cell_rect(1, col).width();
        sheet.set_text(3, col, text);
        QCOMPARE(grid->shown_text(3, col), shown);
        const int width = grid->cell_rect(1, col).width();
        if (widens) {
            QVERIFY(width >= advance(text.trimmed()) + 4);
            // The editor's twips follow the widened column.
            QVERIFY(std::abs(grid->column_width_twips(col) - twips::from_px(width)) <= 1);
        } else {
            QCOMPARE(width, own);
        }
        // Emptied again, the column goes back to its own width.
        sheet.set_text(3, col, QString());
        QCOMPARE(grid->cell_rect(1, col).width(), own);
        // What the grid keeps of its measures follows columns that come in
        // or go and a change of font: it shows what a new grid shows.
        sheet.set_text(3, col, text);
        const auto as_new = [&] {
            QWidget in_font;  // the new grid is made in the font
            in_font.setFont(grid->font());
            SheetGrid fresh(&sheet, &in_font);
            for (int c = 0; c < sheet.cols(); ++c)
                QCOMPARE(grid->column_width_twips(c), fresh.column_width_twips(c));
        };
        QFont larger = grid->font();
        larger.setPointSizeF(QFontInfo(larger).pointSizeF() * 2);
        grid->setFont(larger);
        as_new();
        structure::insert_columns(sheet, 5, 2, 120);
        as_new();
        structure::delete_columns(sheet, 5, 1, 1);
        as_new();
    }

    // A sheet filled at once, as a file or a paste fills it, is measured in
    // one pass: the widest of many marks decides, in the last row too.
    void whole_sheet_fits_its_widest_mark()
    {
        const QString widest = u"123456.75"_s;
        {
            const Sheet::Batch batch(sheet);
            sheet.set_rows(700);
            for (int r = 1; r < sheet.rows(); ++r)
                sheet.set_text(r, 5, QString::number(r % 600));
            sheet.set_text(sheet.rows() - 1, 5, widest);
        }
        QVERIFY(grid->cell_rect(1, 5).width() >= advance(widest) + 4);
    }

    // A changed cell is measured alone unless it held the column's widest
    // number; rows coming or going above it are followed.
    void one_cell_measured_alone()
    {
        const auto width = [&] { return grid->cell_rect(1, 5).width(); };
        sheet.set_text(2, 5, u"1234.5"_s);
        sheet.set_text(3, 5, u"12"_s);
        const int wide = width();
        sheet.set_text(3, 5, u"7"_s);
        QCOMPARE(width(), wide);
        structure::insert_rows(sheet, 1, 2);  // the widest now in row 4
        sheet.set_text(4, 5, u"8"_s);
        QVERIFY(width() < wide);
        QCOMPARE(width(), SheetGrid(&sheet).cell_rect(1, 5).width());
    }

    // A text is drawn once and then copied as pixels: the copy follows the
    // cell's pen, fill and font as a fresh drawing would.
    void copied_texts_follow_pen_fill_and_font()
    {
        sheet.set_text(2, 4, u"ab"_s);
        sheet.set_current_cell(1, 1);
        const auto cell = [&] {
            const QImage image = grid->viewport()->grab(grid->cell_rect(2, 4).adjusted(1, 1, -2, -2)).toImage();
            QSet<QRgb> colours;
            int ink = 0;  // how dark the text is, all pixels together
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    colours.insert(image.pixel(x, y) & RGB_MASK);
                    ink += 255 - qGray(image.pixel(x, y));
                }
            }
            return std::pair{colours, ink};
        };
        const QRgb base = grid->palette().base().color().rgb() & RGB_MASK;
        const auto [plain, plain_ink] = cell();
        QVERIFY(plain.contains(base));
        sheet.set_red(2, 4, true);
        const QSet<QRgb> red = cell().first;
        QVERIFY(std::any_of(red.begin(), red.end(), [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 120; }));
        sheet.set_red(2, 4, false);
        sheet.set_current_cell(2, 3);
        sheet.set_selection_end(2, 5);
        QVERIFY(!cell().first.contains(base));  // the selection's fill all through
        sheet.set_current_cell(1, 1);
        QCOMPARE(cell().second, plain_ink);
        // Bold in the same size: as high a line, more ink.
        QFont bold = grid->font();
        bold.setBold(true);
        grid->setFont(bold);
        QVERIFY(cell().second > plain_ink);
    }

    // A width the teacher gave is never narrowed by a shorter number.
    void wide_column_stays_wide()
    {
        sheet.set_column_width(5, 3000);
        const int own = grid->cell_rect(1, 5).width();
        QSignalSpy changed(grid.get(), &SheetGrid::widths_changed);
        sheet.set_text(1, 5, u"12.25"_s);
        QCOMPARE(grid->cell_rect(1, 5).width(), own);
        QCOMPARE(changed.count(), 0);
    }

    // Dragging a title's right border sets that column's width, as one undo
    // step, and selects nothing; a score column never becomes narrower than
    // its widest number.
    void border_drag_sets_the_width_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("dx");
        QTest::addColumn<QString>("mark");
        QTest::newRow("wider") << 3 << 40 << QString();
        QTest::newRow("narrower") << 4 << -30 << QString();
        QTest::newRow("a score column, narrower than its mark") << 5 << -60 << u"152.0"_s;
        QTest::newRow("narrower than 007 below a 7") << 6 << -60 << u"007"_s;
    }

    void border_drag_sets_the_width()
    {
        QFETCH(int, col);
        QFETCH(int, dx);
        QFETCH(QString, mark);
        if (!mark.isEmpty())  // measured first, never taken for the mark
            sheet.set_text(1, col, mark.right(1));
        sheet.set_text(2, col, mark);
        SheetHistory history(sheet);
        const int before_twips = sheet.column_width(col);
        const int before = grid->cell_rect(1, col).width();
        const int next_left = grid->cell_rect(1, col + 1).left();
        QSignalSpy down(grid.get(), &SheetGrid::mouse_down);
        drag_border(col, dx);
        QCOMPARE(down.count(), 0);
        QCOMPARE(sheet.row(), 1);
        QCOMPARE(sheet.sel_col(), 1);
        const int after = grid->cell_rect(1, col).width();
        if (mark.isEmpty()) {
            QCOMPARE(after, before + dx);
            QCOMPARE(sheet.column_width(col), int(std::lround(twips::from_px(before + dx))));
        } else {
            QCOMPARE(after, advance(mark) + 6);
            QVERIFY(after >= advance(mark) + 4);
        }
        QCOMPARE(grid->cell_rect(1, col + 1).left(), next_left + after - before);
        history.close_step();
        QCOMPARE(history.steps(), 1);
        QCOMPARE(history.undo_name(), u"列の幅"_s);
        history.undo();
        QCOMPARE(sheet.column_width(col), before_twips);
        QCOMPARE(grid->cell_rect(1, col).width(), before);
    }

    // Readers see the sheet as a table: titles and row numbers its headers, the
    // current cell focused, the selection selected, a flagged mark saying why.
    void table_for_screen_readers_data()
    {
        QTest::addColumn<QPoint>("at");  // column, row
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("flagged");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("selected");
        QTest::newRow("current") << QPoint(5, 3) << QAccessible::Cell << u"85"_s << false << true << true;
        QTest::newRow("look-alike at the selection's end")
            << QPoint(6, 4) << QAccessible::Cell << u"８"_s << true << false << true;
        QTest::newRow("beside the selection") << QPoint(5, 5) << QAccessible::Cell << u""_s << false << false << false;
        QTest::newRow("title") << QPoint(5, 0) << QAccessible::ColumnHeader << u"中間"_s << false << false << false;
        QTest::newRow("row number") << QPoint(0, 3) << QAccessible::RowHeader << u"3"_s << false << false << false;
    }

    void table_for_screen_readers()
    {
        QFETCH(QPoint, at);
        const int row = at.y(), col = at.x();
        sheet.set_text(0, 5, u"中間"_s);
        sheet.set_text(3, 5, u"85"_s);
        sheet.set_text(4, 6, u"８"_s);
        sheet.set_current_cell(3, 5);
        sheet.set_selection_end(4, 6);
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid.get());
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->tableInterface()->rowCount(), sheet.rows());
        QCOMPARE(table->tableInterface()->columnCount(), sheet.cols());
        QAccessibleInterface *cell = table->tableInterface()->cellAt(row, col);
        QVERIFY(cell && cell->tableCellInterface());
        QTEST(cell->role(), "role");
        QTEST(cell->text(QAccessible::Name), "name");
        QTEST(!cell->text(QAccessible::Description).isEmpty(), "flagged");
        QTEST(bool(cell->state().focused), "focused");
        QTEST(bool(cell->state().selected), "selected");
        QCOMPARE(table->child(table->indexOfChild(cell)), cell);
        QCOMPARE(table->focusChild(), table->tableInterface()->cellAt(3, 5));
        if (QAccessibleTableCellInterface *c = cell->tableCellInterface(); row > 0 && col > 0) {
            QCOMPARE(c->columnHeaderCells().value(0)->text(QAccessible::Name), sheet.text(0, col));
            QCOMPARE(c->rowHeaderCells().value(0)->text(QAccessible::Name), QString::number(row));
        }
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
