// Keys go where the teacher sends them: every typed mark lands in the cell
// it was typed for, whatever boxes and panels were clicked in between.
#include "guitest.h"
#include "sheet.h"
#include "sheetfile.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetmenus.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

class TestTyping : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;
    Sheet *sheet = nullptr;

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { press_key(k, modifiers); }
    void type(const QString &text) { type_keys(text); }

    // Words of a key script: T Tab, S Shift+Tab, E Enter, SE Shift+Enter, D ↓, K keypad Enter,
    // W / F / N a click into the weight, full-marks or title box; anything
    // else is typed.
    void play(const QString &script)
    {
        for (const QString &word : script.split(u' ', Qt::SkipEmptyParts)) {
            if (word == u"T"_s)
                key(Qt::Key_Tab);
            else if (word == u"S"_s)
                key(Qt::Key_Backtab, Qt::ShiftModifier);
            else if (word == u"E"_s)
                key(Qt::Key_Return);
            else if (word == u"D"_s)
                key(Qt::Key_Down);
            else if (word == u"SE"_s)
                key(Qt::Key_Return, Qt::ShiftModifier);
            else if (word == u"CT"_s)
                key(Qt::Key_Tab, Qt::ControlModifier);
            else if (word == u"CS"_s)
                key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            else if (word == u"K"_s)
                key(Qt::Key_Enter, Qt::KeypadModifier);
            else if (word == u"W"_s || word == u"F"_s || word == u"N"_s)
                QTest::mouseClick(named<QLineEdit>(win, word == u"W"_s   ? object_name::weight_box
                                                        : word == u"F"_s ? object_name::full_marks_box
                                                                         : object_name::title_box),
                                  Qt::LeftButton);
            else
                type(word);
        }
    }

    void set_fixed_length(int n)
    {
        named<QScrollBar>(win, object_name::fixed_length_scroll)->setValue(5 - n);
    }

    void click(const QString &name) { QTest::mouseClick(named<QAbstractButton>(win, name), Qt::LeftButton); }

private slots:
    void init()
    {
        win = start_maximized_session();
        sheet = win->sheet();
        QTRY_COMPARE(QApplication::focusWidget(), win->editor());
    }

    void cleanup() { end_session(); }

    void keys_land_in_their_cells_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("cells");  // "row,col=text"
        QTest::newRow("a row across, back, down") << u"2 T 1 T 2 T abc T 95 T 48 E S S S S S 3 E 4 E"_s
                                                  << QStringList{u"1,6=48"_s, u"2,1=3"_s, u"3,1=4"_s};
        QTest::newRow("Enter in the total column") << u"T T T T T T E S S S S S S 3 E 4 E"_s
                                                   << QStringList{u"2,1=3"_s, u"3,1=4"_s};
        QTest::newRow("Tab twice, Enter") << u"T T E S S 3 E 4 E"_s
                                          << QStringList{u"2,1=3"_s, u"3,1=4"_s};
        // Enter after a run of Tabs: the next row where the run began; a
        // Shift+Enter or a box ends the run, and a plain Enter moves down.
        QTest::newRow("Tab run, Enter") << u"T T T SE 60 T 70 E 61 E 62"_s
                                        << QStringList{u"1,4=70"_s, u"2,3=61"_s, u"3,3=62"_s};
        QTest::newRow("keypad Enter moves") << u"7 K 8 K"_s << QStringList{u"1,1=7"_s, u"2,1=8"_s};
        // The key table moves right on Tab with Ctrl, with or without Shift.
        QTest::newRow("Ctrl+Tab and Ctrl+Shift+Tab") << u"a CT b CS c"_s
                                                     << QStringList{u"1,1=a"_s, u"1,2=b"_s, u"1,3=c"_s};
        // Enter in a side box confirms the box only; the next one moves again.
        QTest::newRow("weight box holds one Enter")
            << u"T T T T 60 W 5 E 70 E 80 E"_s
            << QStringList{u"1,5=6070"_s, u"2,5=80"_s, u"3,5="_s};
        QTest::newRow("full-marks box, keypad Enter")
            << u"T T T T 60 F 100 K 70 K 80 K"_s
            << QStringList{u"1,5=6070"_s, u"2,5=80"_s, u"3,5="_s};
        QTest::newRow("title box, keypad Enter") << u"T T T T N Q K 9 E"_s
                                                 << QStringList{u"0,5=点1Q"_s, u"1,5=9"_s};
    }

    void keys_land_in_their_cells()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, cells);
        play(script);
        for (const QString &cell : cells) {
            const int comma = int(cell.indexOf(u',')), equals = int(cell.indexOf(u'='));
            const int row = cell.left(comma).toInt(), col = cell.mid(comma + 1, equals - comma - 1).toInt();
            QCOMPARE(sheet->text(row, col), cell.mid(equals + 1));
        }
    }

    // The sheets stay reachable from the keyboard: Ctrl+F6 switches.
    void ctrl_f6_switches_sheets()
    {
        SheetWindow *second = main->create_sheet();
        second->editor()->setFocus();
        QCOMPARE(main->active_sheet(), second);
        key(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(main->active_sheet(), win);
    }

    // A mark shows whole as it is typed: its column widens, the columns right
    // of it and the editor move along, and undoing the marks narrows it again.
    void typed_mark_widens_its_column()
    {
        SheetGrid *grid = win->grid();
        const QFontMetricsF metrics(grid->font());
        const int own = grid->cell_rect(1, 5).width();
        const int next = grid->cell_rect(1, 6).left();
        QVERIFY(metrics.horizontalAdvance(u"127.5"_s) + 4 > own);
        play(u"T T T T 12.25 D 152.75"_s);
        QCOMPARE(sheet->text(2, 5), u"152.75"_s);
        const int wide = grid->cell_rect(1, 5).width();
        QVERIFY(wide >= metrics.horizontalAdvance(u"152.75"_s) + 4);
        QCOMPARE(grid->shown_text(1, 5), u"12.25"_s);
        QCOMPARE(grid->cell_rect(1, 6).left(), next + wide - own);
        // The editor still on the mark grew with its cell.
        QVERIFY(qAbs(win->editor()->width() - wide) <= 1);
        key(Qt::Key_Return);
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(sheet->text(1, 5), QString());
        QCOMPARE(grid->cell_rect(1, 5).width(), own);
    }

    // With a one-character count each key is a mark of its own, also the
    // first one on a new sheet and right after a save.
    void fixed_length_one_data()
    {
        QTest::addColumn<bool>("saved_first");
        QTest::newRow("new sheet") << false;
        QTest::newRow("after a save") << true;
    }

    void fixed_length_one()
    {
        QFETCH(bool, saved_first);
        if (saved_first) {
            play(u"1 E"_s);
            prompter->files.enqueue(folder->file(u"s.csv"_s));
            win->menus()->action(Command::WriteSheet)->trigger();
            QCOMPARE(QApplication::focusWidget(), win->editor());
        }
        set_fixed_length(1);
        win->editor()->setFocus();
        // Fixed-length moves go down and end a run of Tabs.
        play(u"T 8 9 + E"_s);
        const int first = saved_first ? 2 : 1;
        QCOMPARE(sheet->text(first, 2), u"8"_s);
        QCOMPARE(sheet->text(first + 1, 2), u"9"_s);
        QCOMPARE(sheet->text(first + 2, 2), u"10"_s);
        QCOMPARE(sheet->row(), first + 4);
        QCOMPARE(sheet->col(), 2);
    }

    // After any button of the evaluation panel the keys go to the current
    // cell, never to a title box the teacher did not click.
    void keys_after_a_panel_button_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("評価計算 again") << QString(object_name::evaluate_button) << -1;
        QTest::newRow("再計算") << QString(object_name::recalculate_button) << -1;
        QTest::newRow("決定") << QString(object_name::decide_button) << -1;
        QTest::newRow("中止") << QString(object_name::abort_button) << -1;
        QTest::newRow("× はい") << QString(object_name::close_button) << int(Prompter::Answer::Yes);
        QTest::newRow("× いいえ") << QString(object_name::close_button) << int(Prompter::Answer::No);
        QTest::newRow("× キャンセル") << QString(object_name::close_button) << int(Prompter::Answer::Cancel);
    }

    void keys_after_a_panel_button()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        play(u"T T T T 40 D 90"_s);  // marks in 点1, the cursor on the 90
        click(object_name::evaluate_button);
        auto *list = named<QListWidget>(win, object_name::candidate_list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(4)).center());
        if (answer >= 0)
            prompter->answers.enqueue(Prompter::Answer(answer));
        click(button);
        QCOMPARE(QApplication::focusWidget(), win->editor());
        play(u"7 E"_s);  // added to the mark, as typing left it
        QCOMPARE(sheet->text(2, 5), u"907"_s);
        QCOMPARE(sheet->text(0, 5), u"点1"_s);
        prompter->clear();
    }

    // F6 walks the panels' controls to the cell, Shift+F6 back; Esc returns.
    void f6_walks_the_panels_data()
    {
        QTest::addColumn<int>("presses");  // negative: Shift+F6
        QTest::addColumn<bool>("evaluated");
        QTest::addColumn<QString>("reached");  // empty: the cell
        using namespace object_name;
        QTest::newRow("the title box") << 3 << false << QString(title_box);
        QTest::newRow("the viewpoint choice") << 6 << false << QString(viewpoint_choice);
        QTest::newRow("past 観点別評価: the cell") << 9 << false << QString();
        QTest::newRow("on into the panel") << 9 << true << QString(lower_criterion_label);
        QTest::newRow("the candidates") << 13 << true << QString(candidate_list);
        QTest::newRow("back: the panel's ×") << -1 << true << QString(close_button);
        QTest::newRow("back without the panel") << -1 << false << QString(viewpoints_button);
    }

    void f6_walks_the_panels()
    {
        QFETCH(int, presses);
        QFETCH(QString, reached);
        play(u"T T T T 40 D 90"_s);
        if (QFETCH(bool, evaluated); evaluated)
            click(object_name::evaluate_button);
        for (int i = 0; i < qAbs(presses); ++i)
            key(Qt::Key_F6, presses > 0 ? Qt::NoModifier : Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(),
                 reached.isEmpty() ? win->editor() : named<QWidget>(win, reached));
        key(Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), win->editor());
    }

    // On a dark (high-contrast) desktop, white text stands out on all behind it.
    void dark_desktop_keeps_text_readable()
    {
        end_session();
        const QPalette light = QApplication::palette();
        // Window text, button, light, dark, mid, text, bright text, base, window.
        const QPalette dark(Qt::white, Qt::black, Qt::gray, Qt::darkGray, Qt::gray, Qt::white, Qt::white,
                            Qt::black, Qt::black);
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&light] { QApplication::setPalette(light); });
        win = start_maximized_session();
        sheet = win->sheet();
        play(u"T T T T 40 D 90 D 75"_s);
        click(object_name::evaluate_button);
        sheet->set_selection_end(1, 6);
        auto pixel = [](QWidget *w, QPoint at) { return w->grab().toImage().pixelColor(at); };
        auto *grid = named<SheetGrid>(win, object_name::sheet_grid);
        const QList<std::pair<QString, QColor>> backgrounds{
            {u"sheet window"_s, win->palette().color(QPalette::Window)},
            {u"score panel"_s, named<QWidget>(win, object_name::score_panel)->palette().color(QPalette::Window)},
            {u"highest"_s, named<QWidget>(win, object_name::highest_label)->palette().color(QPalette::Window)},
            {u"cell editor"_s, pixel(win->editor(), {1, 1})},
            {u"grid title"_s, pixel(grid->viewport(), grid->cell_rect(0, 5).topLeft() + QPoint(2, 2))},
            {u"grid selection"_s, pixel(grid->viewport(), grid->cell_rect(1, 6).topLeft() + QPoint(2, 2))},
            {u"count grid"_s, pixel(named<QWidget>(win, object_name::totals_grid), {3, 3})},
        };
        for (const auto &[what, background] : backgrounds)
            QVERIFY2(qGray(background.rgb()) < 118, qPrintable(what));  // 4.5 : 1 and more
    }

    // Screen readers hear every control by a name, and after a move the cell's
    // place (the editor's name) and why its mark needs a look.
    void screen_readers_hear_names_and_moves()
    {
        play(u"T T T T 40 D 90"_s);
        click(object_name::evaluate_button);
        using enum QAccessible::Role;
        const QList<QAccessible::Role> not_controls{StaticText, Grouping, Client, Pane, Separator,
                                                    Border, Window, PopupMenu};
        for (QWidget *w : win->findChildren<QWidget *>()) {
            QAccessibleInterface *control = QAccessible::queryAccessibleInterface(w);
            if (w->isVisible() && !w->objectName().isEmpty() && !not_controls.contains(control->role()))
                QVERIFY2(!control->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        sheet->set_text(1, 5, u"９"_s);
        key(Qt::Key_Up);
        QCOMPARE(win->editor()->accessibleName(), u"1 行 点1"_s);
        QVERIFY(!win->editor()->accessibleDescription().isEmpty());
        key(Qt::Key_Down);
        QCOMPARE(win->editor()->accessibleName(), u"2 行 点1"_s);
        QVERIFY(win->editor()->accessibleDescription().isEmpty());
    }

    // A cell copied from a spreadsheet comes with a line end; the editor
    // keeps one line, so the row stays whole in the file.
    // Ctrl+V of one value keeps one line; text dropped or committed into the
    // editor does too (Ctrl+V of several lines goes into the cells instead).
    void pasted_line_ends_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("by_key");
        QTest::addColumn<QString>("cell");
        QTest::newRow("trailing LF") << u"85\n"_s << true << u"85"_s;
        QTest::newRow("trailing CR LF") << u"85\r\n"_s << true << u"85"_s;
        QTest::newRow("inner CR LF dropped in") << u"山田\r\n太郎"_s << false << u"山田 太郎"_s;
        QTest::newRow("inner LF, trailing CR LF") << u"a\nb\r\n"_s << false << u"a b"_s;
        QTest::newRow("NUL by Ctrl+V") << u"8\u00005\r\n"_s << true << u"85"_s;
        QTest::newRow("control characters dropped in") << u"\u0007a\tb\u007f"_s << false << u"a b"_s;
    }

    void pasted_line_ends()
    {
        QFETCH(QString, clipboard);
        QFETCH(bool, by_key);
        QFETCH(QString, cell);
        QApplication::clipboard()->setText(clipboard);
        play(u"T T T"_s);
        if (by_key)
            key(Qt::Key_V, Qt::ControlModifier);
        else
            win->editor()->insert(clipboard);  // as a drop inserts it
        play(u"T 90 E"_s);
        QCOMPARE(sheet->text(1, 4), cell);
        QCOMPARE(sheet->text(1, 5), u"90"_s);

        // Saved and read back, every student keeps his row.
        const QString path = folder->file(u"p.csv"_s);
        prompter->files.enqueue(path);
        win->menus()->action(Command::WriteSheet)->trigger();
        Sheet back;
        QCOMPARE(int(sheetfile::read_file(path, back, 120).outcome), int(sheetfile::ReadOutcome::Complete));
        QCOMPARE(back.rows(), sheet->rows());
        QCOMPARE(back.text(1, 4), cell);
        QCOMPARE(back.text(1, 5), u"90"_s);
    }

    // A comma or a tab in a cell is saved quoted and read back in its cell; a
    // double quote is named by the save question and saved as "＂".
    void separators_survive_a_save()
    {
        play(u"T T T Yamada,Taro T 88 E"_s);
        sheet->set_text(2, 4, u"a\tb"_s);
        sheet->set_text(3, 4, u"say \"hi\""_s);
        const QString path = folder->file(u"q.csv"_s);
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::Yes);
        win->menus()->action(Command::WriteSheet)->trigger();
        QCOMPARE(prompter->messages(),
                 QStringList{u"3 行 4 列の文字「\"」はファイルに保存できません。\r\n"
                             u"保存できない文字を「＂」に置き換えて保存しますか？"_s});
        prompter->clear();
        prompter->files.enqueue(path);
        prompter->answers.enqueue(Prompter::Answer::Yes);  // open it a second time
        win->menus()->action(Command::ReadSheet)->trigger();
        SheetWindow *read = main->active_sheet();
        QVERIFY(read != win);
        QCOMPARE(read->sheet()->text(1, 4), u"Yamada,Taro"_s);
        QCOMPARE(read->sheet()->text(1, 5), u"88"_s);
        read->sheet()->set_current_cell(2, 4);  // visited, as the file holds it
        read->editor()->put_editor();
        QCOMPARE(read->sheet()->text(2, 4), u"a\tb"_s);
        QCOMPARE(read->sheet()->text(3, 4), u"say ＂hi＂"_s);
        QCOMPARE(read->sheet()->cols(), 9);
    }

    // A class of 40 typed row by row at full speed, with the keypad's Enter
    // and clicks into the side boxes mixed in, checked against a plain model
    // after every row.
    void class_of_forty()
    {
        QRandomGenerator random(20261207);
        QList<QStringList> model(42, QStringList(9));
        for (int r = 1; r <= 40; ++r) {
            const QStringList row = {u"2"_s, QString::number(1 + r % 3), QString::number(r),
                                     u"s"_s + QString::number(r), QString::number(random.bounded(101)),
                                     QString::number(random.bounded(101))};
            for (int c = 1; c <= 6; ++c) {
                if (c > 1)
                    play(u"T"_s);
                // Now and then the teacher checks a score column's weight or
                // full marks, confirms with Enter, and goes on typing.
                if (c >= 5 && random.bounded(4) == 0)
                    play(random.bounded(2) ? u"W E"_s : u"F K"_s);
                // Or steps back a column and forward again.
                if (c > 1 && random.bounded(6) == 0)
                    play(u"S T"_s);
                type(row[c - 1]);
                model[r][c] = row[c - 1];
            }
            play(random.bounded(2) ? u"E"_s : u"K"_s);
            play(u"S S S S S"_s);
            QCOMPARE(sheet->row(), r + 1);
            QCOMPARE(sheet->col(), 1);
            for (int rr = 1; rr <= r + 1; ++rr)
                for (int c = 1; c <= 6; ++c)
                    QCOMPARE(sheet->text(rr, c), model[rr][c]);
        }
    }
};

PONSAITEN_GUI_TEST_MAIN(TestTyping)
#include "test_typing.moc"
