// Columns, rows and the clipboard from the sheet window, as the teacher
// reaches them: menus, toolbar, the count dialog and keys.
#include "guitest.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetmenus.h"
#include "structure/countdialog.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

class TestReshaping : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;
    Sheet *sheet = nullptr;

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { press_key(k, modifiers); }
    void type(const QString &text) { type_keys(text); }

    void menu(Command id) { win->menus()->action(id)->trigger(); }

    void go_to(int row, int col)
    {
        sheet->set_current_cell(row, col);
        win->editor()->reload();
    }

    CountDialog *dialog() const { return main->findChild<CountDialog *>(object_name::count_dialog); }

    void answer_dialog(const QString &count)
    {
        QVERIFY(dialog() && dialog()->isVisible());
        auto *box = named<QLineEdit>(dialog(), object_name::count_box);
        box->setText(count);
        QTest::mouseClick(named<QAbstractButton>(dialog(), object_name::count_ok_button), Qt::LeftButton);
    }

private slots:
    void init()
    {
        win = start_maximized_session();
        sheet = win->sheet();
        for (int r = 1; r <= 30; ++r)
            sheet->set_text(r, 4, u"s"_s + QString::number(r));
    }

    void cleanup() { end_session(); }

    // The count dialog: a count from 1 to 9 acts, anything else is said and
    // the dialog stays open to be corrected.
    void count_dialog_data()
    {
        QTest::addColumn<Command>("menu_item");
        QTest::addColumn<QStringList>("typed");  // the counts typed, last one accepted
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<QString>("at_20");
        QTest::newRow("rows inserted after wrong counts")
            << Command::InsertRows << QStringList{u"12"_s, u"0"_s, u"-3"_s, u"abc"_s, u"0.5"_s, u"3"_s}
            << 104 << 9 << QString();
        QTest::newRow("2.9 inserts two") << Command::InsertRows << QStringList{u"2.9"_s} << 103 << 9 << QString();
        QTest::newRow("9 is accepted") << Command::InsertRows << QStringList{u"9"_s} << 110 << 9 << QString();
        QTest::newRow("rows deleted from the current row")
            << Command::DeleteRows << QStringList{u"10"_s, u"3"_s} << 98 << 9 << u"s23"_s;
        QTest::newRow("score columns inserted") << Command::InsertColumns << QStringList{u"2"_s} << 101 << 11
            << u"s20"_s;
    }

    void count_dialog()
    {
        QFETCH(Command, menu_item);
        QFETCH(QStringList, typed);
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(QString, at_20);
        go_to(20, 5);
        menu(menu_item);
        for (const QString &count : typed)
            answer_dialog(count);
        QCOMPARE(prompter->messages(),
                 QStringList(int(typed.size()) - 1, u"1 から 9 までの数を入力してください。"_s));
        QVERIFY(!dialog()->isVisible());
        QCOMPARE(sheet->rows(), rows);
        QCOMPARE(sheet->cols(), cols);
        QCOMPARE(sheet->text(20, 4), at_20);
        QCOMPARE(sheet->text(rows - 1, 0), u" "_s + QString::number(rows - 1));
    }

    // The dialog acts on the sheet that opened it, whichever is active.
    void count_dialog_acts_on_its_sheet()
    {
        go_to(5, 5);
        menu(Command::InsertRows);
        SheetWindow *other = main->create_sheet();
        QCOMPARE(main->active_sheet(), other);
        answer_dialog(u"2"_s);
        QCOMPARE(sheet->rows(), 103);
        QCOMPARE(other->sheet()->rows(), 101);
    }

    // After a change of columns or rows, the cut, the clear or select all,
    // the editor holds the current cell's own text: Enter writes nothing
    // stale anywhere.
    void editor_follows_structure_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("delete columns") << Command::DeleteColumns;
        QTest::newRow("insert rows") << Command::InsertRows;
        QTest::newRow("delete rows") << Command::DeleteRows;
        QTest::newRow("cut") << Command::Cut;
        QTest::newRow("select all") << Command::SelectAll;
        QTest::newRow("文字消去") << Command::DeleteContents;
    }

    void editor_follows_structure()
    {
        QFETCH(Command, command);
        for (int r = 1; r <= 30; ++r)
            sheet->set_text(r, 5, QString::number(r + 20));
        go_to(3, 5);
        sheet->set_selection_end(4, 6);
        QStringList before;
        for (int r = 0; r <= 40; ++r)
            for (int c = 0; c < sheet->cols(); ++c)
                before.append(sheet->text(r, c));
        if (command == Command::DeleteContents)
            main->toolbar_click(u"文字消去"_s);
        else
            menu(command);
        QCOMPARE(win->editor()->text(), sheet->text(sheet->row(), sheet->col()));
        const QString title = sheet->text(0, 1);
        const int row = sheet->row(), col = sheet->col();
        const QString cell = sheet->text(row, col);
        key(Qt::Key_Return);
        QCOMPARE(sheet->text(row, col), cell);
        QCOMPARE(sheet->text(0, 1), title);
        QVERIFY(sheet->row() < sheet->rows() && sheet->col() < sheet->cols());
    }

    // A spreadsheet's block pasted with Ctrl+V lands in the cells; one value
    // lands in the editor. Fixed-length entry does not move the cursor on.
    void ctrl_v_in_the_editor_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("block") << u"81\t82\n83\t84\n"_s
                               << QStringList{u"81"_s, u"82"_s, u"83"_s, u"84"_s};
        QTest::newRow("one value") << u"81"_s << QStringList{u"81"_s, QString(), QString(), QString()};
    }

    void ctrl_v_in_the_editor()
    {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, cells);
        named<QScrollBar>(win, object_name::fixed_length_scroll)->setValue(5 - 2);  // fixed length 2
        go_to(6, 5);
        win->editor()->setFocus();
        QApplication::clipboard()->setText(clipboard);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE((QStringList{sheet->text(6, 5), sheet->text(6, 6), sheet->text(7, 5), sheet->text(7, 6)}),
                 cells);
        if (clipboard.contains(u'\t')) {
            QCOMPARE(sheet->row(), 6);
            QCOMPARE(win->editor()->text(), u"81"_s);
        }
    }

    // A long paste shows its running count in the caption and gives the
    // caption back at the end.
    void paste_caption_comes_back()
    {
        const QString caption = win->windowTitle();
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines.append(QString::number(i));
        QApplication::clipboard()->setText(lines.join(u"\r\n"_s));
        go_to(1, 5);
        QStringList seen;
        connect(win, &QWidget::windowTitleChanged, this, [&seen](const QString &t) { seen.append(t); });
        main->toolbar_click(u"ペースト"_s);
        QCOMPARE(win->windowTitle(), caption);
        QVERIFY(seen.contains(caption + u"      (1件追加)"_s));
        QCOMPARE(sheet->text(300, 5), u"299"_s);
        QCOMPARE(sheet->rows(), 302);
    }

    // Grades kept for いいえ stay with their students when one leaves.
    void grades_restored_to_their_students()
    {
        for (int r = 1; r <= 5; ++r) {
            sheet->set_text(r, 5, QString::number(20 * r));
            sheet->set_text(r, 8, QString::number(r + 2));
        }
        sheet->set_full_marks(1, 100);
        named<QAbstractButton>(win, object_name::evaluate_button)->click();
        auto *list = named<QListWidget>(win, object_name::candidate_list);
        list->setCurrentRow(20);
        go_to(2, 4);
        sheet->set_selection_end(2, 5);  // student 2's row
        menu(Command::DeleteRows);
        QCOMPARE(sheet->text(2, 4), u"s3"_s);
        prompter->answers.enqueue(Prompter::Answer::No);
        named<QAbstractButton>(win, object_name::close_button)->click();
        QCOMPARE((QStringList{sheet->text(1, 8), sheet->text(2, 8), sheet->text(3, 8), sheet->text(4, 8)}),
                 (QStringList{u"3"_s, u"5"_s, u"6"_s, u"7"_s}));
        prompter->clear();
    }
};

PONSAITEN_GUI_TEST_MAIN(TestReshaping)
#include "test_reshaping.moc"
