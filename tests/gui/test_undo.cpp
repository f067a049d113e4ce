// Undo and redo as the teacher uses them: real keys in the editor, the 編集
// menu, and a decided grading taken back with the closing question as before.
#include "guitest.h"
#include "evaluation/evaluationpanel.h"
#include "history.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetmenus.h"
#include "sheet/undocommands.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

using namespace Qt::StringLiterals;

class TestUndo : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;
    Sheet *sheet = nullptr;

    QStringList marks() const
    {
        QStringList list;
        for (int r = 1; r <= 5; ++r)
            list.append(sheet->text(r, 5));
        return list;
    }

    void five_marks_saved()
    {
        const int marks[] = {30, 45, 60, 75, 90};
        for (int r = 1; r <= 5; ++r) {
            sheet->set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet->set_text(r, 5, QString::number(marks[r - 1]));
        }
        sheet->set_has_content();
        win->undo_commands()->clear();
        sheet->mark_saved();
        sheet->set_current_cell(1, 5);
        win->editor()->reload();
        win->editor()->setFocus();
    }

    // Back in the event loop, as between two things the teacher does.
    static void settle() { QCoreApplication::processEvents(); }

    // A key at a time, each in an event loop pass of its own, as typed.
    static void type_slowly(const QString &text)
    {
        for (const QChar c : text) {
            type_keys(QString(c));
            settle();
        }
    }

    QAction *item(Command id) const { return win->menus()->action(id); }

private slots:
    void init()
    {
        win = start_maximized_session();
        sheet = win->sheet();
        five_marks_saved();
    }

    void cleanup() { end_session(); }

    void paste_over_marks_undone_with_ctrl_z()
    {
        QApplication::clipboard()->setText(u"99\r\n98\r\n97\r\n"_s);
        press_key(Qt::Key_V, Qt::ControlModifier);
        settle();
        QCOMPARE(marks(), (QStringList{u"99"_s, u"98"_s, u"97"_s, u"75"_s, u"90"_s}));
        QCOMPARE(item(Command::Undo)->text(), u"元に戻す(&U): 貼り付け"_s);
        press_key(Qt::Key_Z, Qt::ControlModifier);
        settle();
        QCOMPARE(marks(), (QStringList{u"30"_s, u"45"_s, u"60"_s, u"75"_s, u"90"_s}));
        QCOMPARE(win->editor()->text(), u"30"_s);
        QVERIFY(sheet->is_saved());  // back at what was saved
        QCOMPARE(item(Command::Redo)->text(), u"やり直し(&R): 貼り付け"_s);
        press_key(Qt::Key_Y, Qt::ControlModifier);
        settle();
        QCOMPARE(marks().first(), u"99"_s);
        QVERIFY(!sheet->is_saved());
    }

    // Typing a mark is one step per cell, and Ctrl+Z in the editor is the
    // sheet's undo, not the line edit's.
    void typing_undone_cell_by_cell()
    {
        sheet->set_current_cell(6, 5);
        win->editor()->reload();
        settle();
        type_slowly(u"88"_s);
        press_key(Qt::Key_Return);
        settle();
        type_slowly(u"77"_s);
        QCOMPARE(sheet->text(6, 5) + u'|' + sheet->text(7, 5), u"88|77"_s);
        press_key(Qt::Key_Z, Qt::ControlModifier);
        settle();
        QCOMPARE(sheet->text(6, 5) + u'|' + sheet->text(7, 5), u"88|"_s);
        QCOMPARE(sheet->row(), 7);
        press_key(Qt::Key_Z, Qt::ControlModifier);
        settle();
        QCOMPARE(sheet->text(6, 5) + u'|' + sheet->text(7, 5), u"|"_s);
        QCOMPARE(sheet->row(), 6);
        QVERIFY(sheet->is_saved());
    }

    // With fixed-length entry on, a mark is one step: the move to the next
    // row that ends it does not split it.
    void fixed_length_mark_undone_in_one_step_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("typed");  // rows row, row + 1, row + 2
        QTest::addColumn<QStringList>("undone");
        QTest::newRow("one mark") << 6 << u"26"_s << QStringList{u"26"_s, u""_s, u""_s}
                                  << QStringList{u""_s, u""_s, u""_s};
        QTest::newRow("++ for 100") << 6 << u"++"_s << QStringList{u"100"_s, u""_s, u""_s}
                                    << QStringList{u""_s, u""_s, u""_s};
        QTest::newRow("three marks, the last undone") << 6 << u"263041"_s
            << QStringList{u"26"_s, u"30"_s, u"41"_s} << QStringList{u"26"_s, u"30"_s, u""_s};
        QTest::newRow("on the last row") << 100 << u"26"_s << QStringList{u"26"_s, u""_s, u""_s}
                                         << QStringList{u""_s, u""_s, u""_s};
    }

    void fixed_length_mark_undone_in_one_step()
    {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, undone);
        const auto column = [this, row] {
            QStringList texts;
            for (int r = row; r < row + 3; ++r)
                texts.append(r < sheet->rows() ? sheet->text(r, 5) : QString());
            return texts;
        };
        named<QScrollBar>(win, object_name::fixed_length_scroll)->setValue(5 - 2);
        sheet->set_current_cell(row, 5);
        win->editor()->reload();
        settle();  // a far row scrolls the grid, which hides the editor
        win->editor()->show_editor();
        win->editor()->setFocus();
        const int rows = sheet->rows();
        type_slowly(keys);
        QCOMPARE(column(), typed);
        press_key(Qt::Key_Z, Qt::ControlModifier);
        settle();
        QCOMPARE(column(), undone);
        QCOMPARE(sheet->rows(), rows);
        QCOMPARE(sheet->row(), row + int(keys.size()) / 2 - 1);
    }

    void deleted_column_undone_from_the_menu()
    {
        sheet->set_full_marks(1, 100);
        sheet->set_weight(1, 3);
        settle();
        sheet->set_current_cell(1, 5);
        sheet->set_selection_end(5, 5);
        const int cols = sheet->cols();
        item(Command::DeleteColumns)->trigger();
        settle();
        QCOMPARE(sheet->cols(), cols - 1);
        QCOMPARE(item(Command::Undo)->text(), u"元に戻す(&U): 列の削除"_s);
        item(Command::Undo)->trigger();
        settle();
        QCOMPARE(sheet->cols(), cols);
        QCOMPARE(marks(), (QStringList{u"30"_s, u"45"_s, u"60"_s, u"75"_s, u"90"_s}));
        QCOMPARE(sheet->settings(1).full_marks, 100.0);
        QCOMPARE(sheet->settings(1).weight, 3.0);
        QCOMPARE(sheet->col(), 5);
    }

    // 列の幅を見出しに合わせる: the selected column, or all of them for one
    // cell, widens to its title on one line, never narrower; Ctrl+Z undoes it.
    void titles_fit_their_columns_in_one_step()
    {
        sheet->set_text(0, 5, u"小テスト1の記述"_s);
        sheet->set_text(0, 6, u"小テスト2の記述"_s);
        settle();
        const auto widths = [this] {
            QList<int> all;
            for (int c = 0; c < sheet->cols(); ++c)
                all.append(sheet->column_width(c));
            return all;
        };
        const QList<int> before = widths();
        for (const bool one_cell : {false, true}) {
            sheet->set_current_cell(1, 5);
            if (!one_cell)
                sheet->set_selection_end(5, 5);
            item(Command::FitTitles)->trigger();
            settle();
            QList<int> fitted = before;
            for (int c = 5; c <= (one_cell ? 6 : 5); ++c)
                fitted[c] = win->grid()->title_width_twips(c);
            QCOMPARE(widths(), fitted);
            QVERIFY(fitted[5] > before[5]);
            QCOMPARE(item(Command::Undo)->text(), u"元に戻す(&U): 列の幅を見出しに合わせる"_s);
            item(Command::Undo)->trigger();
            settle();
            QCOMPARE(widths(), before);
        }
    }

    // Marks typed with the input method still on are counted in both panels,
    // folded in one step, and Ctrl+Z brings them back.
    void look_alike_marks_counted_folded_and_undone()
    {
        sheet->set_text(2, 5, u"４５"_s);
        sheet->set_text(4, 5, u"　75"_s);
        settle();
        sheet->set_current_cell(1, 5);
        win->editor()->reload();
        settle();
        auto *score_note = named<QLabel>(win, object_name::look_alike_label);
        QCOMPARE(score_note->text(), u"要確認 2 件"_s);
        QVERIFY(named<QLabel>(win, object_name::statistics_label)->text().startsWith(u"人数　　 3"_s));
        auto *average = named<QLabel>(win, object_name::column_average_label);
        QCOMPARE(average->text(), u"60"_s);  // of the three that count
        win->run(Command::Evaluate);
        settle();
        auto *go = named<QAbstractButton>(win, object_name::look_alike_button);
        QVERIFY(go->isVisible());
        QCOMPARE(go->text(), u"要確認 2 件"_s);
        QTest::mouseClick(go, Qt::LeftButton);
        QCOMPARE(QPoint(sheet->col(), sheet->row()), QPoint(5, 2));
        QTest::mouseClick(named<QAbstractButton>(win, object_name::abort_button), Qt::LeftButton);  // 中止
        settle();

        item(Command::FoldMarks)->trigger();
        settle();
        QCOMPARE(marks(), (QStringList{u"30"_s, u"45"_s, u"60"_s, u"75"_s, u"90"_s}));
        QCOMPARE(score_note->text(), QString());
        QCOMPARE(average->text(), u"60"_s);
        QCOMPARE(item(Command::Undo)->text(), u"元に戻す(&U): 全角数字を半角に"_s);
        press_key(Qt::Key_Z, Qt::ControlModifier);
        settle();
        QCOMPARE(marks(), (QStringList{u"30"_s, u"４５"_s, u"60"_s, u"　75"_s, u"90"_s}));
    }

    // A student's row deleted and brought back while the evaluation panel is
    // open: いいえ at the cross puts back that student's grade of before too.
    void row_deletion_undone_keeps_the_grade_to_put_back_data()
    {
        QTest::addColumn<QList<int>>("deleted");  // rows, one deletion each
        QTest::addColumn<int>("undos");
        QTest::addColumn<bool>("redo");
        QTest::addColumn<QStringList>("grades");  // rows 1..5 after いいえ
        QTest::newRow("one deletion undone") << QList<int>{3} << 1 << false
            << QStringList{u"g1"_s, u"g2"_s, u"g3"_s, u"g4"_s, u"g5"_s};
        QTest::newRow("two deletions undone") << QList<int>{3, 1} << 2 << false
            << QStringList{u"g1"_s, u"g2"_s, u"g3"_s, u"g4"_s, u"g5"_s};
        QTest::newRow("undone and redone") << QList<int>{3} << 1 << true
            << QStringList{u"g1"_s, u"g2"_s, u"g4"_s, u"g5"_s, u""_s};
    }

    void row_deletion_undone_keeps_the_grade_to_put_back()
    {
        QFETCH(QList<int>, deleted);
        QFETCH(int, undos);
        QFETCH(bool, redo);
        QFETCH(QStringList, grades);
        const int g = sheet->grade_col();
        for (int r = 1; r <= 5; ++r)
            sheet->set_text(r, g, u"g"_s + QString::number(r));
        QTest::mouseClick(named<QAbstractButton>(win, object_name::evaluate_button), Qt::LeftButton);  // 評価計算
        settle();
        named<QListWidget>(win, object_name::candidate_list)->setCurrentRow(1);
        settle();
        QVERIFY(!sheet->text(1, g).startsWith(u'g'));
        for (const int row : deleted) {
            sheet->set_current_cell(row, 4);
            sheet->set_selection_end(row, 5);
            item(Command::DeleteRows)->trigger();
            settle();
        }
        win->editor()->setFocus();
        for (int i = 0; i < undos; ++i) {
            press_key(Qt::Key_Z, Qt::ControlModifier);
            settle();
        }
        if (redo) {
            press_key(Qt::Key_Y, Qt::ControlModifier);
            settle();
        }
        QVERIFY(win->evaluation_panel()->isVisible());
        prompter->answers.enqueue(Prompter::Answer::No);
        QTest::mouseClick(named<QAbstractButton>(win, object_name::close_button), Qt::LeftButton);  // ×
        settle();
        QCOMPARE(prompter->asked.size(), 1);
        QStringList now;
        for (int r = 1; r <= 5; ++r)
            now.append(sheet->text(r, g));
        QCOMPARE(now, grades);
    }

    // A grading decided on the wrong candidate: undone, the grade column is
    // as it was and closing asks nothing, since that is what was saved.
    void decided_grading_undone()
    {
        win->run(Command::Evaluate);
        settle();
        auto *list = named<QListWidget>(win, object_name::candidate_list);
        list->setCurrentRow(1);
        settle();
        QTest::mouseClick(named<QAbstractButton>(win, object_name::decide_button), Qt::LeftButton);
        settle();
        QVERIFY(!win->evaluation_panel()->isVisible());
        QVERIFY(!sheet->text(1, sheet->grade_col()).isEmpty());
        QVERIFY(!sheet->is_saved());
        while (win->undo_commands()->history()->can_undo()) {
            item(Command::Undo)->trigger();
            settle();
        }
        for (int r = 1; r <= 5; ++r) {
            QCOMPARE(sheet->text(r, sheet->grade_col()), QString());
            QCOMPARE(sheet->text(r, sheet->total_col()), QString());
        }
        QCOMPARE(sheet->candidate_index(), -1);
        QVERIFY(sheet->is_saved());
        QVERIFY(win->close_window());
        QVERIFY(prompter->asked.isEmpty());
    }
};

PONSAITEN_GUI_TEST_MAIN(TestUndo)
#include "test_undo.moc"
