#include "guitest.h"
#include "app/mainwindow.h"
#include "common/objectnames.h"
#include "numbers.h"
#include "evaluation/evaluationpanel.h"
#include "sheet/inputpanels.h"
#include "sheet/scorepanel.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetmenus.h"
#include "sheet/sheetwindow.h"
#include "sheet/structurecommands.h"
#include "sheet/undocommands.h"
#include "common/twips.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRandomGenerator>
#include <QScrollBar>
#include <memory>

using namespace Qt::StringLiterals;

class TestEditing : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *window = nullptr;
    Sheet *sheet = nullptr;
    QLineEdit *editor = nullptr;

    QLabel *label(const QString &name) const { return window->findChild<QLabel *>(name); }
    QScrollBar *spinner(const QString &name) const { return window->findChild<QScrollBar *>(name); }

    void set_fixed_length(int n) { spinner(object_name::fixed_length_scroll)->setValue(5 - n); }

    void key(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(editor, Qt::Key(qt_key), modifiers);
    }

    // Types each character as a key press carrying that text, so that
    // Japanese characters arrive as they do from an input method.
    void type(const QString &text, QWidget *target = nullptr)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, target ? target : editor, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }

    // Moves the cursor as a click on the grid would.
    void click_cell(int row, int col)
    {
        SheetGrid *grid = window->grid();
        grid->ensure_visible(row, col);
        const QPoint at = grid->cell_rect(row, col).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }

    void mouse_move(const QPoint &at, Qt::MouseButtons buttons)
    {
        QWidget *viewport = window->grid()->viewport();
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }

private slots:
    void init()
    {
        start_session();
        main->resize(1200, 900);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        window = main->active_sheet();
        window->parentWidget()->resize(1000, 800);
        sheet = window->sheet();
        editor = window->editor();
    }

    void cleanup() { end_session(); }

    void fixed_length_display_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("shown");
        QTest::newRow("off") << 0 << u"なし"_s;
        QTest::newRow("one") << 1 << u" 1"_s;
        QTest::newRow("three") << 3 << u" 3"_s;
        QTest::newRow("five") << 5 << u" 5"_s;
    }

    void fixed_length_display()
    {
        QFETCH(int, n);
        QFETCH(QString, shown);
        set_fixed_length(5 - n == 5 ? 1 : 0);  // make sure the value changes
        set_fixed_length(n);
        QCOMPARE(label(object_name::fixed_length_label)->text(), shown);
        QCOMPARE(window->inputs()->fixed_length(), n);
    }

    void fixed_length_entry_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row_after");
        QTest::newRow("two digits move down") << 2 << u"85"_s << u"85"_s << 3;
        QTest::newRow("one digit stays") << 2 << u"8"_s << u"8"_s << 2;
        QTest::newRow("plus plus is 100") << 2 << u"++"_s << u"100"_s << 3;
        QTest::newRow("plus is 10") << 1 << u"+"_s << u"10"_s << 3;
        QTest::newRow("plus plus with three") << 3 << u"++"_s << u"++"_s << 2;
        QTest::newRow("full-width plus is text") << 2 << u"＋＋"_s << u"＋＋"_s << 3;
        QTest::newRow("off never moves") << 0 << u"12345"_s << u"12345"_s << 2;
        QTest::newRow("any text") << 2 << u"欠席"_s << u"欠席"_s << 3;
    }

    void fixed_length_entry()
    {
        QFETCH(int, n);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, row_after);
        set_fixed_length(n);
        key(Qt::Key_Down);  // start on row 2, after an ordinary move
        QCOMPARE(sheet->row(), 2);
        type(typed);
        QCOMPARE(sheet->text(2, 1), stored);
        QCOMPARE(sheet->row(), row_after);
        QCOMPARE(editor->text(), sheet->text(sheet->row(), 1));
        QVERIFY(sheet->has_content());
    }

    void forty_marks_in_eighty_keystrokes()
    {
        set_fixed_length(2);
        click_cell(1, 5);
        int keystrokes = 0;
        for (int i = 0; i < 40; ++i) {
            const QString mark = QString::number(10 + (i * 37) % 90);
            for (QChar c : mark) {
                QTest::keyClick(editor, c.toLatin1());
                ++keystrokes;
            }
        }
        QCOMPARE(keystrokes, 80);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(sheet->text(1 + i, 5), QString::number(10 + (i * 37) % 90));
        QCOMPARE(sheet->row(), 41);
        QCOMPARE(sheet->col(), 5);
        QVERIFY(sheet->text(41, 5).isEmpty());
    }

    void down_on_last_row_appends()
    {
        sheet->set_current_cell(100, 3);
        window->editor()->put_editor();
        key(Qt::Key_Down);
        QCOMPARE(sheet->rows(), 102);
        QCOMPARE(sheet->text(101, 0), u" 101"_s);
        QCOMPARE(sheet->row(), 101);
        QCOMPARE(editor->text(), QString());
        QCOMPARE(label(object_name::row_label)->text(), u" 101"_s);
        QCOMPARE(label(object_name::column_label)->text(), u" 3"_s);
        key(Qt::Key_Return);  // Enter on the last row does the same
        QCOMPARE(sheet->rows(), 103);
        QCOMPARE(sheet->text(102, 0), u" 102"_s);
        QCOMPARE(sheet->row(), 102);
    }

    void moves_write_the_editor_first()
    {
        type(u"山田"_s);
        key(Qt::Key_Tab);
        QCOMPARE(sheet->text(1, 1), u"山田"_s);
        QCOMPARE(sheet->col(), 2);
        type(u"3"_s);
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(sheet->col(), 1);
        QCOMPARE(sheet->text(1, 2), u"3"_s);
        QCOMPARE(editor->text(), u"山田"_s);
        key(Qt::Key_Down);
        key(Qt::Key_Up);
        QCOMPARE(sheet->row(), 1);
    }

    void edges_change_nothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("qt_key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("sel_row");
        QTest::addColumn<int>("sel_col");
        QTest::newRow("up on row 1") << 1 << 3 << int(Qt::Key_Up) << 0 << 1 << 3;
        QTest::newRow("shift up on row 1") << 1 << 3 << int(Qt::Key_Up) << int(Qt::ShiftModifier) << 1 << 3;
        QTest::newRow("shift tab on column 1") << 4 << 1 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier)
                                               << 4 << 1;
        QTest::newRow("shift enter on column 1") << 4 << 1 << int(Qt::Key_Return) << int(Qt::ShiftModifier)
                                                 << 4 << 1;
        QTest::newRow("tab on last column") << 4 << 8 << int(Qt::Key_Tab) << 0 << 4 << 8;
        QTest::newRow("ctrl left does not extend") << 4 << 3 << int(Qt::Key_Left)
                                                   << int(Qt::ControlModifier) << 4 << 3;
        QTest::newRow("ctrl enter is not enter") << 4 << 3 << int(Qt::Key_Return)
                                                 << int(Qt::ControlModifier) << 4 << 3;
    }

    void edges_change_nothing()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, qt_key);
        QFETCH(int, modifiers);
        QFETCH(int, sel_row);
        QFETCH(int, sel_col);
        sheet->set_current_cell(row, col);
        window->editor()->put_editor();
        key(qt_key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(sheet->row(), row);
        QCOMPARE(sheet->col(), col);
        QCOMPARE(sheet->sel_row(), sel_row);
        QCOMPARE(sheet->sel_col(), sel_col);
        QVERIFY(editor->isEnabled());
        QVERIFY(!editor->isHidden());
    }

    void tab_from_total_reaches_grade()
    {
        sheet->set_current_cell(3, 7);
        window->editor()->put_editor();
        key(Qt::Key_Tab);
        QCOMPARE(sheet->col(), 8);
    }

    void shift_down_then_escape()
    {
        sheet->set_current_cell(5, 3);
        window->editor()->put_editor();
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(sheet->row(), 5);
        QCOMPARE(sheet->col(), 3);
        QCOMPARE(sheet->sel_row(), 8);
        QCOMPARE(sheet->sel_col(), 3);
        key(Qt::Key_Escape);
        QCOMPARE(sheet->sel_row(), 5);
        QCOMPARE(sheet->sel_col(), 3);
        // Ctrl+Down extends like Shift+Down; Shift+Right and Shift+Left too.
        key(Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(sheet->sel_row(), 6);
        key(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(sheet->sel_col(), 4);
        key(Qt::Key_Left, Qt::ShiftModifier);
        key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(sheet->sel_col(), 2);
        key(Qt::Key_Up, Qt::ShiftModifier);
        key(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(sheet->sel_row(), 4);
        QCOMPARE(sheet->row(), 5);
        QCOMPARE(label(object_name::row_label)->text(), u"1"_s);  // selection keys leave the display
    }

    void weight_box_holds_the_first_enter()
    {
        sheet->set_current_cell(3, 5);
        window->editor()->put_editor();
        QLineEdit *weight = window->score_panel()->weight_box();
        QFocusEvent focus_in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(weight, &focus_in);
        QVERIFY(window->editor()->enter_held());
        key(Qt::Key_Return);
        QCOMPARE(sheet->row(), 3);
        QVERIFY(!window->editor()->enter_held());
        key(Qt::Key_Return);
        QCOMPARE(sheet->row(), 4);
        // Enter in the weight box itself reaches the window's Enter.
        QApplication::sendEvent(weight, &focus_in);
        weight->setEnabled(true);
        QTest::keyClick(weight, Qt::Key_Return);
        QCOMPARE(sheet->row(), 4);
        QTest::keyClick(window->score_panel()->title_box(), Qt::Key_Return);
        QCOMPARE(sheet->row(), 5);
    }

    void position_display_clamps()
    {
        window->inputs()->set_position_display(120, 15, true);
        QCOMPARE(label(object_name::row_label)->text(), u"100"_s);
        QCOMPARE(label(object_name::column_label)->text(), u"8"_s);
    }

    // After these commands the editor is back on the current cell with its
    // text, shown even where a scroll had hidden it, and the display names
    // the cell.
    void commands_return_to_the_current_cell_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("undo") << u"undo"_s << 1 << 2;
        QTest::newRow("row insertion") << u"insert rows"_s << 4 << 1;
        QTest::newRow("look-alike") << u"look-alike"_s << 3 << 5;
    }

    void commands_return_to_the_current_cell()
    {
        QFETCH(QString, command);
        QFETCH(int, row);
        QFETCH(int, col);
        sheet->set_text(3, 5, u"８５"_s);
        key(Qt::Key_Tab);
        type(u"85"_s);
        key(Qt::Key_Down);
        window->editor()->hide_editor();
        window->inputs()->set_position_display(7, 5, true);
        if (command == u"undo"_s)
            window->undo_commands()->undo();
        else if (command == u"insert rows"_s)
            window->structure_commands()->insert_rows(4, 1);
        else
            emit window->evaluation_panel()->look_alike_requested();
        QCOMPARE(sheet->row(), row);
        QCOMPARE(sheet->col(), col);
        QCOMPARE(editor->text(), sheet->text(row, col));
        QVERIFY(!editor->isHidden());
        QVERIFY(editor->isEnabled());
        QCOMPARE(label(object_name::row_label)->text(), numbers::signed_form(row));
        QCOMPARE(label(object_name::column_label)->text(), numbers::signed_form(col));
    }

    void click_then_type_keeps_the_first_change()
    {
        set_fixed_length(2);
        sheet->set_text(4, 5, u"85"_s);
        click_cell(4, 5);
        QCOMPARE(sheet->row(), 4);
        QCOMPARE(editor->text(), u"85"_s);
        QVERIFY(window->editor()->holds_first_advance());
        // Retyping the mark: the first change does not advance.
        editor->selectAll();
        type(u"9"_s);
        QCOMPARE(sheet->row(), 4);
        type(u"0"_s);
        QCOMPARE(sheet->text(4, 5), u"90"_s);
        QCOMPARE(sheet->row(), 5);
    }

    void press_move_release_loads_by_put_editor()
    {
        set_fixed_length(2);
        key(Qt::Key_Down);  // an ordinary move first: no system load pending
        sheet->set_text(4, 5, u"85"_s);
        SheetGrid *grid = window->grid();
        const QPoint at = grid->cell_rect(4, 5).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(editor->isHidden());
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::SizeAll);
        mouse_move(at, Qt::LeftButton);
        QVERIFY(!editor->isHidden());
        QCOMPARE(editor->text(), u"85"_s);
        QVERIFY(!window->editor()->holds_first_advance());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::Default);
        editor->selectAll();
        type(u"77"_s);
        QCOMPARE(sheet->text(4, 5), u"77"_s);
        QCOMPARE(sheet->row(), 5);
    }

    void drag_leaves_the_end_current()
    {
        sheet->set_text(6, 4, u"終点"_s);
        SheetGrid *grid = window->grid();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->cell_rect(3, 2).center());
        mouse_move(grid->cell_rect(6, 4).center(), Qt::LeftButton);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, grid->cell_rect(6, 4).center());
        QCOMPARE(sheet->row(), 6);
        QCOMPARE(sheet->col(), 4);
        QCOMPARE(sheet->top_selected_row(), 3);
        QCOMPARE(sheet->bottom_selected_row(), 6);
        QCOMPARE(sheet->left_selected_col(), 2);
        QCOMPARE(sheet->right_selected_col(), 4);
        QCOMPARE(label(object_name::row_label)->text(), u" 6"_s);
        QCOMPARE(label(object_name::column_label)->text(), u" 4"_s);
        QCOMPARE(editor->text(), u"終点"_s);
        // The editor moves there with the next mouse move.
        mouse_move(grid->cell_rect(8, 6).center(), Qt::NoButton);
        QCOMPARE(editor->geometry().topLeft(),
                 grid->mapTo(window, grid->viewport()->mapTo(grid, grid->cell_rect(6, 4).topLeft())));
    }

    void pointer_over_the_title_band()
    {
        SheetGrid *grid = window->grid();
        const QRect title = grid->cell_rect(0, 3);
        mouse_move(QPoint(title.center().x(), title.top() + 2), Qt::NoButton);
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::Crosshair);
        mouse_move(grid->cell_rect(5, 3).center(), Qt::NoButton);
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::Default);
        const QRect number = grid->cell_rect(4, 0);
        mouse_move(QPoint(number.left() + 2, number.center().y()), Qt::NoButton);
        QCOMPARE(grid->pointer(), SheetGrid::Pointer::Crosshair);
    }

    void scrolling_hides_the_editor()
    {
        QVERIFY(!editor->isHidden());
        window->grid()->verticalScrollBar()->setValue(3);
        QVERIFY(editor->isHidden());
        // A move over the grid brings it back when the current cell is in view.
        window->grid()->verticalScrollBar()->setValue(1);
        mouse_move(window->grid()->cell_rect(5, 5).center(), Qt::NoButton);
        QVERIFY(!editor->isHidden());
    }

    void character_size_rescales()
    {
        QList<int> before;
        for (int c = 0; c < sheet->cols(); ++c)
            before.append(sheet->column_width(c));
        const double w12 = twips::unit_width(window->font());
        sheet->set_current_cell(4, 6);
        window->editor()->put_editor();
        spinner(object_name::character_size_scroll)->setValue(16);  // 14 points
        QCOMPARE(label(object_name::character_size_label)->text(), u"14"_s);
        const double w14 = twips::unit_width(window->font());
        QVERIFY(w14 > w12);
        for (int c = 0; c < sheet->cols(); ++c)
            QCOMPARE(sheet->column_width(c), int(numbers::round_half_even(w14 / w12 * before[c])));
        QCOMPARE(sheet->text(1, 0), u"   1"_s);
        QCOMPARE(sheet->text(100, 0), u" 100"_s);
        QCOMPARE(editor->font().pointSizeF(), 14.0);
        SheetGrid *grid = window->grid();
        QCOMPARE(editor->geometry().topLeft(),
                 grid->mapTo(window, grid->viewport()->mapTo(grid, grid->cell_rect(4, 6).topLeft())));
        QCOMPARE(editor->width(), grid->cell_rect(4, 6).width());
    }

    void raw_score_panel_drags_by_its_edge()
    {
        QWidget *panel = window->score_panel();
        const QPoint start = panel->pos();
        const int band_y = twips::to_px(100);
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(panel->width() / 2, band_y));
        QMouseEvent move(QEvent::MouseMove, QPointF(panel->width() / 2 - 30, band_y + 20),
                         panel->mapToGlobal(QPointF(panel->width() / 2 - 30, band_y + 20)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(panel->width() / 2 - 30, band_y + 20));
        QCOMPARE(panel->pos(), start + QPoint(-30, 20));
        // A press in the middle does not start a drag.
        const QPoint now = panel->pos();
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(4, panel->height() / 2));
        QMouseEvent move2(QEvent::MouseMove, QPointF(40, panel->height() / 2 + 30),
                          panel->mapToGlobal(QPointF(40, panel->height() / 2 + 30)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &move2);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(40, panel->height() / 2 + 30));
        QCOMPARE(panel->pos(), now);
    }

    void context_menu_from_grid_and_editor()
    {
        sheet->set_current_cell(3, 2);
        window->editor()->put_editor();
        sheet->set_selection_end(5, 4);
        window->inputs()->set_position_display(3, 2, true);
        watchdog->popup_choice = u"ｷｬﾝｾﾙ"_s;
        SheetGrid *grid = window->grid();
        // Inside the selection the press keeps it; choosing "ｷｬﾝｾﾙ" changes nothing.
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, grid->cell_rect(4, 3).center());
        QCOMPARE(watchdog->popups, QStringList{object_name::context_menu});
        QCOMPARE(sheet->row(), 3);
        QCOMPARE(sheet->sel_row(), 5);
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, grid->cell_rect(4, 3).center());
        // Outside it, the pressed cell becomes current first, editor and all,
        // so the menu acts where the teacher pointed.
        sheet->set_text(8, 6, u"64"_s);
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, grid->cell_rect(8, 6).center());
        QCOMPARE(sheet->row(), 8);
        QCOMPARE(sheet->col(), 6);
        QCOMPARE(editor->text(), u"64"_s);
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, grid->cell_rect(8, 6).center());
        QCOMPARE(sheet->row(), 8);

        // From the editor: afterwards the position display decides the cell,
        // which collapses the selection.
        sheet->set_current_cell(3, 2);
        sheet->set_selection_end(5, 4);
        window->inputs()->set_position_display(3, 2, true);
        QTest::mousePress(editor, Qt::RightButton, {}, QPoint(2, 2));
        QCOMPARE(watchdog->popups.size(), 3);
        QCOMPARE(sheet->row(), 3);
        QCOMPARE(sheet->col(), 2);
        QCOMPARE(sheet->sel_row(), 3);
        QCOMPARE(sheet->sel_col(), 2);
        QVERIFY(editor->isEnabled());
    }

    void nothing_typed_is_lost()
    {
        // Random moves and edits, checked against a plain model of the cells.
        QRandomGenerator random(20261207);
        QHash<QPair<int, int>, QString> model;
        set_fixed_length(0);
        for (int step = 0; step < 400; ++step) {
            const int action = int(random.bounded(8));
            const int row = sheet->row();
            const int col = sheet->col();
            switch (action) {
            case 0:
                key(Qt::Key_Down);
                break;
            case 1:
                key(Qt::Key_Up);
                break;
            case 2:
                key(Qt::Key_Tab);
                break;
            case 3:
                key(Qt::Key_Backtab, Qt::ShiftModifier);
                break;
            case 4:
                key(Qt::Key_Return);
                break;
            case 5: {
                const int r = 1 + int(random.bounded(30));
                const int c = 1 + int(random.bounded(8));
                click_cell(r, c);
                break;
            }
            default: {
                const QString text = QString::number(random.bounded(1000));
                editor->selectAll();
                type(text);
                model[{row, col}] = text;
                break;
            }
            }
            QCOMPARE(editor->text(), sheet->text(sheet->row(), sheet->col()));
        }
        for (auto it = model.cbegin(); it != model.cend(); ++it)
            QCOMPARE(sheet->text(it.key().first, it.key().second), it.value());
        for (int r = 1; r < sheet->rows(); ++r)
            for (int c = 1; c < sheet->cols(); ++c)
                if (!model.contains({r, c}))
                    QVERIFY2(sheet->text(r, c).isEmpty(), qPrintable(u"%1,%2"_s.arg(r).arg(c)));
    }

    void closing_questions_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("save_cancelled");
        QTest::addColumn<bool>("stays_open");
        QTest::newRow("no") << int(Prompter::Answer::No) << false << false;
        QTest::newRow("cancel") << int(Prompter::Answer::Cancel) << false << true;
        QTest::newRow("yes, save cancelled") << int(Prompter::Answer::Yes) << true << true;
        QTest::newRow("yes, saved") << int(Prompter::Answer::Yes) << false << false;
    }

    void closing_questions()
    {
        QFETCH(int, answer);
        QFETCH(bool, save_cancelled);
        QFETCH(bool, stays_open);
        SheetWindow *second = main->create_sheet();
        second->editor()->setText(u"85"_s);
        const int before = main->sheet_count();
        prompter->answers.enqueue(Prompter::Answer(answer));
        if (answer == int(Prompter::Answer::Yes))
            prompter->files.enqueue(save_cancelled ? std::nullopt
                                                   : std::optional<QString>(folder->file(u"a.csv"_s)));
        const bool closed = second->close_window();
        QCOMPARE(closed, !stays_open);
        QCOMPARE(prompter->asked.first().text,
                 u"評価計算( 2) を閉じます。\r\nワークシート[新規ｼｰﾄ]を保存しますか？"_s);
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::YesNoCancel);
        QVERIFY(prompter->asked.first().title.isEmpty());
        QCOMPARE(main->sheet_count(), stays_open ? before : before - 1);
        if (stays_open) {
            QCOMPARE(second->sheet()->sheet_name(), u"新規ｼｰﾄ"_s);
            QVERIFY(main->sheets().contains(second));
        }
    }

    void saved_from_file_menu_closes_without_question()
    {
        type(u"5"_s);
        prompter->files.enqueue(folder->file(u"s.csv"_s));
        window->menus()->action(Command::WriteSheet)->trigger();
        QVERIFY(sheet->is_saved());
        prompter->clear();
        QVERIFY(window->close_window());
        QVERIFY(prompter->asked.isEmpty());
    }

    // Every route of a successful save marks the sheet saved: closing then
    // asks nothing, by × or by the close command.
    void every_save_counts_as_saved_data()
    {
        QTest::addColumn<QString>("route");  // a toolbar button, or none: the file menu
        QTest::addColumn<bool>("by_close_command");
        QTest::newRow("file menu, ×") << QString() << false;
        QTest::newRow("toolbar, ×") << u"ｼｰﾄ保存"_s << false;
        QTest::newRow("toolbar, close command") << u"ｼｰﾄ保存"_s << true;
    }

    void every_save_counts_as_saved()
    {
        QFETCH(QString, route);
        QFETCH(bool, by_close_command);
        type(u"5"_s);
        prompter->files.enqueue(folder->file(u"t.csv"_s));
        if (route.isEmpty())
            window->menus()->action(Command::WriteSheet)->trigger();
        else
            main->toolbar_click(route);
        QVERIFY(sheet->is_saved());
        prompter->clear();
        if (by_close_command)
            window->menus()->action(Command::CloseSheet)->trigger();
        else
            QVERIFY(window->close_window());
        QCOMPARE(prompter->messages(), QStringList());
        QVERIFY(main->sheets().isEmpty());
    }

    // The close command asks one question, with キャンセル; after its save
    // nothing asks again.
    void close_command_asks_once_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("はい") << int(Prompter::Answer::Yes) << true;
        QTest::newRow("いいえ") << int(Prompter::Answer::No) << true;
        QTest::newRow("キャンセル") << int(Prompter::Answer::Cancel) << false;
    }

    void close_command_asks_once()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        type(u"5"_s);
        const QString path = folder->file(u"c.csv"_s);
        prompter->answers.enqueue(Prompter::Answer(answer));
        if (answer == int(Prompter::Answer::Yes))
            prompter->files.enqueue(path);
        window->menus()->action(Command::CloseSheet)->trigger();
        QCOMPARE(prompter->messages(),
                 QStringList{u"評価計算(1) を閉じます。\r\nワークシート[新規ｼｰﾄ]を保存しますか？"_s});
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(main->sheets().isEmpty(), closes);
        QCOMPARE(QFile::exists(path), answer == int(Prompter::Answer::Yes));
    }

    // Enter in each question answers what loses nothing.
    void questions_default_to_the_safe_answer_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("default_answer");
        QTest::newRow("empty sheet saved") << 0 << u"なにも入力していませんが、保存しますか？"_s
                                           << int(Prompter::Answer::No);
        QTest::newRow("overwrite") << 1 << u"はすでに存在します。上書きしますか？"_s
                                   << int(Prompter::Answer::No);
        QTest::newRow("closing") << 2 << u"を閉じます。"_s << int(Prompter::Answer::Yes);
        QTest::newRow("file open twice") << 3 << u"もう一つのシートとして開きますか？"_s
                                         << int(Prompter::Answer::No);
        QTest::newRow("unsavable character") << 4 << u"はファイルに保存できません。"_s
                                             << int(Prompter::Answer::No);
    }

    void questions_default_to_the_safe_answer()
    {
        QFETCH(int, situation);
        QFETCH(QString, question);
        QFETCH(int, default_answer);
        const QString path = folder->file(u"q.csv"_s);
        if (situation == 4)
            sheet->set_text(3, 4, u"山田😀"_s);
        if (situation != 0)
            type(u"5"_s);
        if (situation == 1 || situation == 3) {
            prompter->files.enqueue(path);
            window->run(Command::SaveSheet);
        }
        prompter->clear();
        prompter->answers.enqueue(Prompter::Answer::No);
        prompter->answers.enqueue(Prompter::Answer::No);
        prompter->files.enqueue(path);
        prompter->files.enqueue(std::nullopt);
        if (situation == 2) {
            window->close_window();
        } else if (situation == 3) {
            SheetWindow *other = main->create_sheet();
            other->run(Command::ReadSheet);
        } else {
            window->menus()->action(Command::WriteSheet)->trigger();
        }
        QVERIFY(!prompter->asked.isEmpty());
        QVERIFY2(prompter->asked.first().text.contains(question),
                 qPrintable(prompter->asked.first().text));
        QCOMPARE(int(prompter->asked.first().default_answer), default_answer);
    }

    void cancelled_exit_keeps_everything_open()
    {
        SheetWindow *second = main->create_sheet();
        SheetWindow *third = main->create_sheet();
        second->editor()->setText(u"85"_s);
        third->editor()->setText(u"90"_s);
        // The last loaded closes first; its Cancel stops the exit.
        prompter->answers.enqueue(Prompter::Answer::Cancel);
        QVERIFY(!main->end_program());
        QCOMPARE(main->sheets().size(), 3);
        QVERIFY(main->isVisible());
        // A save dialog cancelled during the exit stops it as well.
        prompter->answers.enqueue(Prompter::Answer::Yes);
        prompter->files.enqueue(std::nullopt);
        QVERIFY(!main->end_program());
        QCOMPARE(main->sheets().size(), 3);
        // No for both: every sheet closes and the program ends.
        prompter->answers.enqueue(Prompter::Answer::No);
        prompter->answers.enqueue(Prompter::Answer::No);
        QVERIFY(main->end_program());
        QVERIFY(main->sheets().isEmpty());
        QVERIFY(!main->isVisible());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestEditing)
#include "test_editing.moc"
