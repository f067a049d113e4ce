#include "guitest.h"
#include "app/mainwindow.h"
#include "common/objectnames.h"
#include "evaluation/evaluationpanel.h"
#include "sheet.h"
#include "sheet/sheetgrid.h"
#include "sheet/sheetmenus.h"
#include "sheet/undocommands.h"
#include "sheet/sheetwindow.h"
#include "structure/countdialog.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QToolBar>
#include <QToolTip>
#include <QHelpEvent>
#include <memory>

using namespace Qt::StringLiterals;

class TestMainWindow : public GuiTestBase
{
    Q_OBJECT


    QStringList captions() const
    {
        QStringList list;
        for (SheetWindow *sheet : main->sheets())
            list.append(sheet->windowTitle());
        return list;
    }

    // What the teacher sees of the program, as far as a command may change
    // it: every sheet's cells and caption, which panels show, where the
    // sheet windows stand, the main caption, and every question and dialog.
    QStringList what_shows() const
    {
        QStringList seen{main->windowTitle(), QApplication::clipboard()->text()};
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible())
                seen.append(top->objectName() + top->windowTitle());
        for (SheetWindow *sheet : main->sheets()) {
            seen.append(sheet->windowTitle());
            const QRect at = sheet->parentWidget()->geometry();
            seen.append(u"%1,%2 %3x%4"_s.arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height()));
            for (QLatin1StringView panel : {object_name::score_panel, object_name::evaluation_panel})
                seen.append(panel + (sheet->findChild<QWidget *>(panel)->isVisible() ? u" shown"_s
                                                                                     : u" hidden"_s));
            const Sheet *cells = sheet->sheet();
            seen.append(QString::number(cells->row()) + u',' + QString::number(cells->col()) +
                        u'-' + QString::number(cells->sel_row()) + u',' +
                        QString::number(cells->sel_col()));
            for (int r = 0; r < cells->rows(); ++r)
                for (int c = 0; c < cells->cols(); ++c)
                    seen.append(cells->text(r, c));
            for (int c = 0; c < cells->cols(); ++c)
                seen.append(QString::number(cells->column_width(c)));
        }
        for (const Asked &asked : prompter->asked)
            seen.append(asked.text);
        for (const FileDialogCall &dialog : prompter->dialogs)
            seen.append(dialog.save ? u"save dialog"_s : u"open dialog"_s);
        return seen;
    }

    static void leaf_actions(const QMenu *menu, QList<QAction *> &into)
    {
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            if (action->menu())
                leaf_actions(action->menu(), into);
            else
                into.append(action);
        }
    }

    void click(const QString &caption)
    {
        for (QAction *action : main->toolbar()->actions())
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        QFAIL("no such toolbar button");
    }

private slots:
    void init()
    {
        start_session();
    }

    void cleanup() { end_session(); }

    void start_up()
    {
        QCOMPARE(main->objectName(), object_name::main_window);
        QCOMPARE(main->windowTitle(), u"1枚のｼｰﾄがあります。"_s);
        QCOMPARE(captions(), QStringList{u"評価計算(1)"_s});
        QVERIFY(!main->toolbar()->isEnabled());
        QTRY_VERIFY(main->toolbar()->isEnabled());
        SheetWindow *sheet = main->sheets().first();
        QCOMPARE(sheet->objectName(), object_name::sheet_window);
        QVERIFY(!sheet->parentWidget()->isMinimized());
        QVERIFY(!sheet->parentWidget()->isMaximized());
        QCOMPARE(main->active_sheet(), sheet);
        QCOMPARE(sheet->sheet()->rows(), 101);
        QCOMPARE(sheet->findChild<QLabel *>(object_name::row_label)->text(), u"1"_s);
        QCOMPARE(sheet->findChild<QLabel *>(object_name::column_label)->text(), u"1"_s);
        QCOMPARE(sheet->findChild<QLabel *>(object_name::character_size_label)->text(), u"12"_s);
        QVERIFY(sheet->findChild<QWidget *>(object_name::score_panel)->isVisible());
        QVERIFY(!sheet->findChild<QWidget *>(object_name::evaluation_panel)->isVisible());
        QVERIFY(sheet->editor()->isVisible());
    }

    // A desktop's icon theme (GNOME's) changes none of the toolbar's pictures.
    void toolbar_keeps_its_own_icons()
    {
        // A theme whose every picture is pure red, under the names a style asks for.
        QTemporaryDir themes;
        QVERIFY(themes.isValid());
        QDir theme(themes.filePath(u"red"_s));
        QVERIFY(theme.mkpath(u"24x24/actions"_s));
        QFile index(theme.filePath(u"index.theme"_s));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=red\nDirectories=24x24/actions\n\n"
                    "[24x24/actions]\nSize=24\nType=Scalable\nMinSize=8\nMaxSize=256\n");
        index.close();
        QImage red(24, 24, QImage::Format_RGB32);
        red.fill(Qt::red);
        for (const char *name : {"text-x-generic", "document-new", "document-open", "document-save",
                                 "view-list-details", "edit-delete", "edit-cut", "folder-new",
                                 "dialog-ok-apply", "go-next", "go-down", "go-previous", "go-up",
                                 "edit-clear", "edit-copy", "edit-paste", "process-stop"})
            QVERIFY(red.save(theme.filePath(u"24x24/actions/"_s + QLatin1StringView(name) + u".png"_s)));

        const QStringList paths = QIcon::themeSearchPaths();
        const QString name = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(u"red"_s);
        QVERIFY(!QIcon::fromTheme(u"edit-delete"_s).isNull());  // the theme works
        MainWindow frame(*prompter);
        for (QAction *action : frame.toolbar()->actions()) {
            const QImage shown = action->icon().pixmap(20, 20).toImage();
            bool red_only = true;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    red_only = red_only && shown.pixelColor(x, y) == QColor(Qt::red);
            QVERIFY2(!red_only, qPrintable(action->text()));
        }
        QIcon::setThemeName(name);
        QIcon::setThemeSearchPaths(paths);
    }

    void toolbar_buttons()
    {
        struct Expected {
            QString caption, key, tip, shortcut = {};  // the key of a button no menu has
        };
        using namespace object_name;
        const QList<Expected> expected = {
            {u"新規作成"_s, new_sheet_button, u"新しい計算シートを表示します。"_s, u"Ctrl+N"_s},
            {u"ｼｰﾄ呼出"_s, read_in_new_sheet_button, u"ファイルから読み込みます"_s, u"Ctrl+O"_s},
            {u"ｼｰﾄ保存"_s, save_button, u"シートをファイルに書き込みます。"_s},
            {u"ｼｰﾄ印刷"_s, print_button, u""_s},
            {u"カット"_s, cut_button, u"ﾃｷｼﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動します。"_s},
            {u"コピー"_s, copy_button, u"ﾃｷｽﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写します。"_s},
            {u"ペースト"_s, paste_button, u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞからﾃｷｽﾄを貼り付けます。"_s},
            {u"列挿入"_s, insert_columns_button, u"列を挿入します(評価計算ｼｰﾄは点数ﾌｨｰﾙﾄﾞのみ)"_s},
            {u"行挿入"_s, insert_rows_button, u"行を挿入します。"_s},
            {u"列削除"_s, delete_columns_button, u"列を削除します(評価計算ｼｰﾄは点数ﾌｨｰﾙﾄﾞのみ)"_s},
            {u"行削除"_s, delete_rows_button, u"行を削除します。"_s},
            {u"文字消去"_s, delete_contents_button, u""_s},
        };
        const QList<QAction *> actions = main->toolbar()->actions();
        QCOMPARE(actions.size(), expected.size());
        for (int i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->text(), expected[i].caption);
            QCOMPARE(actions[i]->objectName(), expected[i].key);
            QCOMPARE(actions[i]->shortcut().toString(), expected[i].shortcut);
            QWidget *button = main->toolbar()->widgetForAction(actions[i]);
            QTRY_VERIFY(!QToolTip::isVisible());
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(button, &help);
            if (expected[i].tip.isEmpty()) {
                QTest::qWait(20);
                QVERIFY(!QToolTip::isVisible());
            } else {
                QCOMPARE(actions[i]->toolTip(), expected[i].tip);
                QTRY_COMPARE(QToolTip::text(), expected[i].tip);
                QToolTip::hideText();
            }
            QVERIFY(!actions[i]->icon().isNull());
        }
    }

    void numbering_and_main_caption()
    {
        click(u"新規作成"_s);
        click(u"新規作成"_s);
        QCOMPARE(captions(), (QStringList{u"評価計算(1)"_s, u"評価計算( 2)"_s, u"評価計算( 3)"_s}));
        QCOMPARE(main->windowTitle(), u" 3枚のｼｰﾄがあります。"_s);
        QCOMPARE(main->active_sheet()->windowTitle(), u"評価計算( 3)"_s);
    }

    void closed_number_is_reused()
    {
        main->create_sheet();
        main->create_sheet();
        QVERIFY(main->sheets().at(1)->close_window());
        QCOMPARE(main->windowTitle(), u" 2枚のｼｰﾄがあります。"_s);
        QCOMPARE(captions(), (QStringList{u"評価計算(1)"_s, u"評価計算( 3)"_s}));
        main->create_sheet();
        QCOMPARE(main->sheets().last()->windowTitle(), u"評価計算( 2)"_s);
        QCOMPARE(main->windowTitle(), u" 3枚のｼｰﾄがあります。"_s);
    }

    void only_sheet_closed_then_new_is_one()
    {
        QVERIFY(main->sheets().first()->close_window());
        QCOMPARE(main->windowTitle(), u" 0枚のｼｰﾄがあります。"_s);
        QVERIFY(main->menuBar()->actions().isEmpty());
        QStringList usable;
        for (QAction *action : main->toolbar()->actions())
            if (action->isEnabled())
                usable.append(action->text());
        QCOMPARE(usable, (QStringList{u"新規作成"_s, u"ｼｰﾄ呼出"_s}));
        // Buttons other than the two that create sheets do nothing now.
        click(u"コピー"_s);
        click(u"ｼｰﾄ保存"_s);
        QVERIFY(prompter->asked.isEmpty());
        click(u"新規作成"_s);
        QCOMPARE(captions(), QStringList{u"評価計算(1)"_s});
        QCOMPARE(main->windowTitle(), u" 1枚のｼｰﾄがあります。"_s);
    }

    void twenty_first_is_refused()
    {
        for (int i = 2; i <= 20; ++i)
            QVERIFY(main->create_sheet());
        QCOMPARE(main->sheets().size(), 20);
        QVERIFY(prompter->asked.isEmpty());
        QVERIFY(!main->create_sheet());
        QCOMPARE(prompter->messages(), QStringList{u"これ以上新しいシートの作成はできません。"_s});
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::Ok);
        QVERIFY(prompter->asked.first().title.isEmpty());
        QCOMPARE(main->sheets().size(), 20);
        QCOMPARE(main->windowTitle(), u" 20枚のｼｰﾄがあります。"_s);
        QCOMPARE(main->sheets().last()->windowTitle(), u"評価計算( 20)"_s);
    }

    // The whole tree as the teacher's table has it: menu, name and caption of
    // every item in order, the context menu last but one as in the table.
    void menu_tree()
    {
        SheetWindow *sheet = main->active_sheet();
        QStringList tree;
        std::function<void(QMenu *, const QString &)> walk = [&](QMenu *menu, const QString &under) {
            tree.append(under + u' ' + menu->objectName() + u' ' + menu->title());
            for (QAction *action : menu->actions()) {
                if (action->menu())
                    walk(action->menu(), menu->objectName());
                else
                    tree.append(menu->objectName() + u' ' + action->objectName() + u' ' +
                                (action->isSeparator() ? u"-"_s : action->text()));
            }
        };
        QList<QMenu *> tops = sheet->menus()->bar_menus();
        tops.insert(tops.size() - 1, sheet->menus()->context_menu());
        for (QMenu *menu : tops)
            walk(menu, menu == sheet->menus()->context_menu() ? u"(context)"_s : u"(bar)"_s);
        using namespace object_name;
        const auto top = [](const QString &where, QLatin1StringView name,
                            const QString &caption) -> QString {
            return where + u' ' + name + u' ' + caption;
        };
        const auto line = [](QLatin1StringView under, QLatin1StringView name,
                             const QString &caption) -> QString {
            return under + u' ' + name + u' ' + caption;
        };
        const QStringList expected = {
            top(u"(bar)"_s, file_menu, u"ﾌｧｲﾙ(&F)"_s),
            line(file_menu, read_item, u"シート読込(&R)"_s),
            line(file_menu, same_setup_item, u"同じ設定で新規作成(&N)"_s),
            line(file_menu, write_item, u"シート保存(&W)\tCtrl+S"_s),
            line(file_menu, file_separator_before_close, u"-"_s),
            line(file_menu, close_item, u"シートを閉じる(&C)"_s),
            line(file_menu, file_separator_before_print, u"-"_s),
            line(file_menu, print_settings_item, u"印刷設定(&U)"_s),
            line(file_menu, preview_item, u"印刷ﾌﾟﾚﾋﾞｭｰ(&V)"_s),
            line(file_menu, print_item, u"指定範囲印刷(&p)"_s),
            line(file_menu, file_separator_before_end, u"-"_s),
            line(file_menu, end_program_item, u"ﾌﾟﾛｸﾞﾗﾑを終わらせる(&E)"_s),
            top(u"(bar)"_s, edit_menu, u"編集(&E)"_s),
            line(edit_menu, undo_item, u"元に戻す(&U)"_s),
            line(edit_menu, redo_item, u"やり直し(&R)"_s),
            line(edit_menu, edit_separator_after_redo, u"-"_s),
            line(edit_menu, cut_item, u"切り取り(&T)"_s),
            line(edit_menu, copy_item, u"コピー(&C)"_s),
            line(edit_menu, paste_item, u"貼り付け(&P)"_s),
            line(edit_menu, edit_separator_before_select_all, u"-"_s),
            line(edit_menu, select_all_item, u"全てを指定(&A)"_s),
            line(edit_menu, edit_separator_before_fold, u"-"_s),
            line(edit_menu, fold_marks_item, u"全角数字を半角に(&Z)"_s),
            top(u"(bar)"_s, view_menu, u"表示(&V)"_s),
            line(view_menu, fit_titles_item, u"列の幅を見出しに合わせる"_s),
            line(view_menu, columns_menu, u"列表示(&R)"_s),
            line(columns_menu, insert_columns_item, u"挿入(&I)"_s),
            line(columns_menu, delete_columns_item, u"削除(&D)"_s),
            line(columns_menu, columns_separator, u"-"_s),
            line(view_menu, rows_menu, u"行表示(&G)"_s),
            line(rows_menu, insert_rows_item, u"挿入(&I)"_s),
            line(rows_menu, delete_rows_item, u"削除(&D)"_s),
            top(u"(bar)"_s, evaluation_menu, u"評価計算(&H)"_s),
            line(evaluation_menu, evaluate_item, u"評価計算実行(&G)"_s),
            line(evaluation_menu, viewpoints_item, u"観点別評価(&K)…"_s),
            line(evaluation_menu, copy_viewpoints_item, u"観点別評価のコピー(&C)"_s),
            line(evaluation_menu, report_item, u"成績一覧表(&L)…"_s),
            top(u"(bar)"_s, window_menu, u"ウインドウ(&W)"_s),
            line(window_menu, tile_stacked_item, u"上下に並べて表示(&H)"_s),
            line(window_menu, tile_side_by_side_item, u"左右に並べて表示(&V)"_s),
            line(window_menu, cascade_item, u"重ねて表示(&C)"_s),
            top(u"(context)"_s, context_menu, u"編集２"_s),
            line(context_menu, context_copy_item, u"コピー"_s),
            line(context_menu, context_cut_item, u"切り取り"_s),
            line(context_menu, context_paste_item, u"貼り付け"_s),
            line(context_menu, context_separator, u"-"_s),
            line(context_menu, context_cancel_item, u"ｷｬﾝｾﾙ"_s),
            top(u"(bar)"_s, help_menu, u"ヘルプ(&H)"_s),
            line(help_menu, help_item, u"ヘルプの表示(&H)"_s),
            line(help_menu, about_item, u"「ぽん採点」について"_s)};
        QCOMPARE(tree, expected);
        QStringList bar;
        for (QAction *action : main->menuBar()->actions())
            bar.append(action->objectName());
        QCOMPARE(bar, (QStringList{file_menu, edit_menu, view_menu, evaluation_menu, window_menu,
                                   help_menu}));
        // Every item usable but undo and redo with nothing to do, none with a
        // shortcut other than its access key.
        for (QAction *action : sheet->findChildren<QAction *>()) {
            QVERIFY(action->shortcut().isEmpty());
            const bool history =
                action->objectName() == undo_item || action->objectName() == redo_item;
            QVERIFY2(action->isEnabled() != history, qPrintable(action->objectName()));
        }
    }

    // Each edit and view item does its operation to the sheet. A 2 × 2 block
    // is selected from (1, 5): column items act on its two columns and row
    // items on its two rows, whatever the selection looks like.
    void items_reach_their_operations_data()
    {
        QTest::addColumn<Command>("item");
        QTest::addColumn<bool>("in_context");
        QTest::addColumn<QString>("cell_1_5");
        QTest::addColumn<QString>("cell_1_4");
        QTest::addColumn<int>("cols_added");
        QTest::addColumn<int>("rows_added");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QRect>("selection");  // rows as y, columns as x
        const QRect block(5, 1, 2, 2);
        const QRect cell(5, 1, 1, 1);
        auto row = [](const char *name, Command item, bool in_context, const QString &c15,
                      const QString &c14, int cols, int rows, const QString &clip,
                      const QRect &selection) {
            QTest::newRow(name) << item << in_context << c15 << c14 << cols << rows << clip
                                << selection;
        };
        const QString copied = u"30\t\n60\t\n"_s;
        const QString cut = u"30\t\n60\t"_s;
        row("copy", Command::Copy, false, u"30"_s, u"生徒1"_s, 0, 0, copied, block);
        row("context copy", Command::Copy, true, u"30"_s, u"生徒1"_s, 0, 0, copied, block);
        row("cut", Command::Cut, false, u""_s, u"生徒1"_s, 0, 0, cut, cell);
        row("context cut", Command::Cut, true, u""_s, u"生徒1"_s, 0, 0, cut, cell);
        row("paste", Command::Paste, false, u"77"_s, u"生徒1"_s, 0, 0, u"77"_s, block);
        row("context paste", Command::Paste, true, u"77"_s, u"生徒1"_s, 0, 0, u"77"_s, block);
        row("context cancel", Command::CloseContextMenu, true, u"30"_s, u"生徒1"_s, 0, 0, u"77"_s, block);
        row("insert columns", Command::InsertColumns, false, u""_s, u"生徒1"_s, 2, 0, u"77"_s, cell);
        row("delete columns", Command::DeleteColumns, false, u""_s, u"生徒1"_s, -2, 0, u"77"_s, cell);
        row("insert rows", Command::InsertRows, false, u""_s, u""_s, 0, 2, u"77"_s, QRect(1, 1, 1, 1));
        row("delete rows", Command::DeleteRows, false, u"90"_s, u"生徒3"_s, 0, -2, u"77"_s, cell);
        // The whole grid from the title row, the row-number column excepted.
        row("select all", Command::SelectAll, false, u"30"_s, u"生徒1"_s, 0, 0, u"77"_s, QRect(QPoint(1, 0), QPoint(-1, -1)));
    }

    void items_reach_their_operations()
    {
        QFETCH(Command, item);
        QFETCH(bool, in_context);
        QFETCH(QString, cell_1_5);
        QFETCH(QString, cell_1_4);
        QFETCH(int, cols_added);
        QFETCH(int, rows_added);
        QFETCH(QString, clipboard);
        QFETCH(QRect, selection);
        SheetWindow *window = main->active_sheet();
        Sheet *sheet = window->sheet();
        sheet->set_cols(sheet->cols() + 2);
        for (int r = 1; r <= 3; ++r) {
            sheet->set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet->set_text(r, 5, QString::number(30 * r));
        }
        sheet->set_current_cell(1, 5);
        sheet->set_selection_end(2, 6);
        window->editor()->reload();
        QApplication::clipboard()->setText(u"77"_s);
        const int cols = sheet->cols();
        const int rows = sheet->rows();

        (in_context ? window->menus()->context_action(item) : window->menus()->action(item))
            ->trigger();
        QCOMPARE(prompter->messages(), QStringList{});
        QCOMPARE(sheet->text(1, 5), cell_1_5);
        QCOMPARE(sheet->text(1, 4), cell_1_4);
        QCOMPARE(sheet->cols() - cols, cols_added);
        QCOMPARE(sheet->rows() - rows, rows_added);
        QCOMPARE(QApplication::clipboard()->text().replace(u"\r"_s, u""_s), clipboard);
        if (selection.right() < 0)
            selection = QRect(QPoint(1, 0), QPoint(sheet->cols() - 1, sheet->rows() - 1));
        QCOMPARE(QRect(QPoint(sheet->left_selected_col(), sheet->top_selected_row()),
                       QPoint(sheet->right_selected_col(), sheet->bottom_selected_row())),
                 selection);
    }

    void menus_follow_active_sheet()
    {
        SheetWindow *first = main->active_sheet();
        SheetWindow *second = main->create_sheet();
        QCOMPARE(main->menuBar()->actions().first(), second->menus()->bar_menus().first()->menuAction());
        main->mdi_area()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
        QCOMPARE(main->active_sheet(), first);
        QCOMPARE(main->menuBar()->actions().first(), first->menus()->bar_menus().first()->menuAction());
    }

    // 評価計算(&H) and ヘルプ(&H) share their key: Alt+H opens 評価計算
    // every time, never the two in turn.
    void shared_access_key_opens_the_first_menu()
    {
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        SheetWindow *sheet = main->active_sheet();
        for (int time = 0; time < 3; ++time) {
            sheet->editor()->setFocus();
            QTest::keyClick(sheet->editor(), Qt::Key_H, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QCOMPARE(main->menuBar()->activeAction()->text(), u"評価計算(&H)"_s);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
    }

    void arrangement()
    {
        main->resize(1000, 800);
        main->create_sheet();
        main->create_sheet();
        SheetWindow *sheet = main->active_sheet();
        sheet->menus()->action(Command::TileStacked)->trigger();
        QList<QRect> rects;
        for (QMdiSubWindow *w : main->mdi_area()->subWindowList())
            rects.append(w->geometry());
        QCOMPARE(rects.size(), 3);
        for (const QRect &r : rects) {
            QCOMPARE(r.x(), 0);
            QCOMPARE(r.width(), main->mdi_area()->viewport()->width());
        }
        QVERIFY(rects[0].y() != rects[1].y());
        sheet->menus()->action(Command::TileSideBySide)->trigger();
        rects.clear();
        for (QMdiSubWindow *w : main->mdi_area()->subWindowList())
            rects.append(w->geometry());
        for (const QRect &r : rects) {
            QCOMPARE(r.y(), 0);
            QCOMPARE(r.height(), main->mdi_area()->viewport()->height());
        }
        QVERIFY(rects[0].x() != rects[1].x());
        sheet->menus()->action(Command::Cascade)->trigger();
        rects.clear();
        for (QMdiSubWindow *w : main->mdi_area()->subWindowList())
            rects.append(w->geometry());
        QVERIFY(rects[0].topLeft() != rects[1].topLeft());
    }

    // However they are arranged or resized, sheet windows keep their panels
    // whole: the evaluation panel and the 評価計算 button stay inside.
    void windows_keep_their_panels_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"stacked", "side by side", "cascaded", "shrunk", "restored"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    void windows_keep_their_panels()
    {
        QFETCH(QString, how);
        main->resize(1000, 760);
        for (int i = 0; i < 4; ++i)
            main->create_sheet();
        SheetWindow *sheet = main->active_sheet();
        auto *sub = qobject_cast<QMdiSubWindow *>(sheet->parentWidget());
        if (how == u"shrunk"_s) {
            sub->resize(120, 90);
        } else if (how == u"restored"_s) {
            sub->showMaximized();
            sub->showNormal();
        } else {
            const Command arrange = how == u"stacked"_s        ? Command::TileStacked
                                    : how == u"side by side"_s ? Command::TileSideBySide
                                                               : Command::Cascade;
            sheet->menus()->action(arrange)->trigger();
        }
        for (SheetWindow *each : main->sheets()) {
            QVERIFY(each->width() >= each->minimumWidth());
            QVERIFY(each->height() >= each->minimumHeight());
            each->run(Command::Evaluate);
            const QRect inside = each->rect();
            QVERIFY(inside.contains(each->evaluation_panel()->geometry()));
            const QWidget *button = each->findChild<QWidget *>(object_name::evaluate_button);
            QVERIFY(inside.contains(QRect(button->mapTo(each, QPoint(0, 0)), button->size())));
        }
        if (how == u"cascaded"_s) {
            // Cascaded at one size, the last inside the frame's area.
            const QList<QMdiSubWindow *> subs = main->mdi_area()->subWindowList();
            QCOMPARE(subs.first()->size(), subs.last()->size());
            QVERIFY(subs.last()->geometry().bottom() < main->mdi_area()->viewport()->height() + 1 ||
                    subs.last()->height() == subs.last()->minimumHeight());
            QVERIFY(subs.first()->width() > main->mdi_area()->viewport()->width() / 2);
        }
    }

    // Among maximized sheets a new one opens maximized, also one that reads
    // a file after a cancelled read; restored, it has its frame and full size.
    void new_sheet_among_maximized()
    {
        main->resize(1000, 760);
        QTRY_VERIFY(main->toolbar()->isEnabled());
        auto *first = qobject_cast<QMdiSubWindow *>(main->active_sheet()->parentWidget());
        first->showMaximized();
        prompter->files.enqueue(std::nullopt);
        click(u"ｼｰﾄ呼出"_s);
        QCOMPARE(main->sheets().size(), 1);
        QVERIFY(first->isMaximized());
        click(u"新規作成"_s);
        auto *second = qobject_cast<QMdiSubWindow *>(main->active_sheet()->parentWidget());
        QVERIFY(second != first);
        QVERIFY(second->isMaximized());
        QCOMPARE(second->geometry(), main->mdi_area()->viewport()->rect());
        second->showNormal();
        QVERIFY(second->width() >= second->minimumWidth() && second->width() > 400);
        QVERIFY(second->height() >= second->minimumHeight());
        prompter->clear();
    }

    // The frame comes back where the teacher left it; the first time it has
    // no place of its own.
    void frame_place_is_remembered()
    {
        QSettings settings(folder->file(u"place.ini"_s), QSettings::IniFormat);
        QVERIFY(!main->restore_place(&settings));
        main->resize(913, 767);
        main->move(31, 17);
        QVERIFY(main->end_program());
        main = std::make_unique<MainWindow>(*prompter);
        QVERIFY(main->restore_place(&settings));
        QCOMPARE(main->size(), QSize(913, 767));
    }

    void about_box()
    {
        main->active_sheet()->menus()->action(Command::About)->trigger();
        QCOMPARE(prompter->asked.size(), 1);
        const QString text = prompter->asked.first().text;
        QVERIFY(text.contains(u"Version 1.00"_s));
        QVERIFY(text.contains(u"\nご 注 意\n"_s));
        QVERIFY(text.endsWith(u"\n\n\n"_s));
        QCOMPARE(prompter->asked.first().buttons, Prompter::Buttons::Ok);
    }

    void untouched_sheet_closes_without_question()
    {
        main->create_sheet();
        main->active_sheet()->menus()->action(Command::CloseSheet)->trigger();
        QVERIFY(prompter->asked.isEmpty());
        QCOMPARE(main->sheets().size(), 1);
        QCOMPARE(main->windowTitle(), u" 1枚のｼｰﾄがあります。"_s);
    }

    // The next class's sheet: the set-up comes along, no student does, and
    // the sheet counts as changed only once something is typed into it.
    void same_setup_data()
    {
        QTest::addColumn<bool>("type");
        QTest::newRow("untouched closes unasked") << false;
        QTest::newRow("typed asks") << true;
    }

    void same_setup()
    {
        QFETCH(bool, type);
        SheetWindow *first = main->active_sheet();
        Sheet *from = first->sheet();
        from->set_cols(10);
        from->set_text(0, 7, u"小テスト"_s);
        from->set_text(1, 4, u"生徒1"_s);
        from->set_text(1, 5, u"80"_s);
        from->set_full_marks(1, 80);
        from->set_weight(2, 30);
        from->set_lower_text(u"40"_s);
        from->set_has_content();

        first->menus()->action(Command::SameSetup)->trigger();
        QCOMPARE(main->sheets().size(), 2);
        SheetWindow *next = main->active_sheet();
        QVERIFY(next != first);
        QCOMPARE(next->windowTitle(), u"評価計算( 2)"_s);
        Sheet *to = next->sheet();
        QCOMPARE(to->cols(), 10);
        QCOMPARE(to->text(0, 7), u"小テスト"_s);
        QCOMPARE(to->text(1, 4), QString());
        QCOMPARE(to->text(1, 5), QString());
        QCOMPARE(to->settings(1).full_marks, 80.0);
        QCOMPARE(to->settings(2).weight, 30.0);
        QCOMPARE(to->lower_text(), u"40"_s);
        // The set-up is where the sheet starts: nothing to undo.
        next->undo_commands()->undo();
        QCOMPARE(to->cols(), 10);
        QCOMPARE(to->lower_text(), u"40"_s);

        if (type) {
            QTest::keyClicks(next->editor(), u"2"_s);
            QTest::keyClick(next->editor(), Qt::Key_Return);
            prompter->answers.enqueue(Prompter::Answer::No);
        }
        QVERIFY(next->close_window());
        QCOMPARE(prompter->asked.size(), type ? 1 : 0);
        QCOMPARE(main->sheets(), QList<SheetWindow *>{first});
    }

    void closing_main_window_without_sheets_asks_nothing()
    {
        QVERIFY(main->sheets().first()->close_window());
        QVERIFY(main->close());
        QVERIFY(prompter->asked.isEmpty());
    }

    // No command looks usable and does nothing: each toolbar button and menu
    // item is disabled or changes what the teacher sees. Unscripted questions
    // are answered No or Cancel and dialogs cancelled, so nothing closes.
    void every_command_is_disabled_or_acts()
    {
        QTRY_VERIFY(main->toolbar()->isEnabled());
        SheetWindow *sheet = main->active_sheet();
        for (int r = 1; r <= 3; ++r) {
            sheet->sheet()->set_text(r, 4, u"生徒"_s + QString::number(r));
            sheet->sheet()->set_text(r, 5, QString::number(30 * r));
        }
        // A title too long for its column, for 列の幅を見出しに合わせる.
        sheet->sheet()->set_text(0, 5, u"小テスト1の記述"_s);
        sheet->sheet()->set_has_content();

        QList<QAction *> commands = main->toolbar()->actions();
        for (QMenu *menu : sheet->menus()->bar_menus())
            leaf_actions(menu, commands);
        leaf_actions(sheet->menus()->context_menu(), commands);
        QCOMPARE(commands.size(), 12 + 29 + 4);  // toolbar, menu bar, context menu

        QStringList idle;
        for (QAction *action : commands) {
            // Its only effect is to close the context menu it stands in; undo
            // and redo act on whatever the loop did before (tested on their own).
            if (action == sheet->menus()->context_action(Command::CloseContextMenu) ||
                action == sheet->menus()->action(Command::Undo) ||
                action == sheet->menus()->action(Command::Redo))
                continue;
            if (!action->isEnabled())
                continue;
            // A window out of place shows any arrangement, a mark in the
            // current cell and another on the clipboard show every edit, and
            // a hidden count dialog shows when a command opens it.
            for (SheetWindow *each : main->sheets())
                each->parentWidget()->setGeometry(37, 23, 411, 307);
            sheet->sheet()->set_current_cell(2, 5);
            sheet->sheet()->set_text(2, 5, u"60"_s);
            sheet->editor()->reload();
            QApplication::clipboard()->setText(u"77"_s);
            main->count_dialog().put_away();
            prompter->clear();
            const QStringList before = what_shows();
            action->trigger();
            if (what_shows() == before)
                idle.append(action->objectName() + u' ' + action->text());
        }
        prompter->clear();
        QVERIFY2(idle.isEmpty(), qPrintable(idle.join(u", "_s)));
        // Nothing was lost on the way: the first sheet is still there as it was.
        QVERIFY(main->sheets().contains(sheet));
        QCOMPARE(sheet->sheet()->text(3, 5), u"90"_s);
    }

    void panels_hug_the_right_edge()
    {
        SheetWindow *sheet = main->active_sheet();
        auto *sub = qobject_cast<QMdiSubWindow *>(sheet->parentWidget());
        for (int width : {700, 1100}) {
            sub->resize(width, 600);
            // The size and position panel stands inside the input panels:
            // compare in window terms.
            QWidget *size_position = sheet->findChild<QWidget *>(object_name::size_position_panel);
            const QRect panel(size_position->mapTo(sheet, QPoint(0, 0)), size_position->size());
            QWidget *score_panel = sheet->findChild<QWidget *>(object_name::score_panel);
            QCOMPARE(panel.right(), sheet->width() - 1);
            QCOMPARE(score_panel->x(), panel.x());
            QVERIFY(score_panel->y() > panel.y());
            QCOMPARE(sheet->grid()->geometry().right(), panel.x() - 1);
            QCOMPARE(sheet->grid()->height(), sheet->height());
        }
    }
};

PONSAITEN_GUI_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
