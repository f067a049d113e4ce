#include "evaluation/countgrid.h"
#include "evaluation/evaluationpanel.h"
#include "report/reportwindow.h"
#include "numbers.h"
#include "guitest.h"
#include "app/mainwindow.h"
#include "sheet/inputpanels.h"
#include "sheet/scorepanel.h"
#include "sheet.h"
#include "sheetfile.h"
#include "sheet/sheetmenus.h"
#include "sheet/sheetwindow.h"
#include "sheet/structurecommands.h"
#include "common/fonts.h"
#include "common/twips.h"
#include "sheet/undocommands.h"
#include "history.h"
#include "viewpoint/viewpointpanel.h"
#include "viewpoint/viewpointsettingspage.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QProcess>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTableWidget>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kCloseQuestion =
    u"現在表示されているの評価の値を決定しますか。する場合は[はい]、破棄する場合は[いいえ]、評価計算を継続する場合は[キャンセル]をクリックしてください。"_s;

QStringList repeated(const QString &text, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list.append(text);
    return list;
}

// The candidate list of totals 30, 45, 60, 75, 90 with the criteria 25 and 95.
const QStringList kFiveCandidates = QStringList{u"6.60"_s} + repeated(u"6.40"_s, 3) +
                                    repeated(u"6.20"_s, 6) + repeated(u"5.80"_s, 7) +
                                    repeated(u"5.60"_s, 10) + repeated(u"5.40"_s, 3) +
                                    repeated(u"5.20"_s, 2);

// Counts of grades 1..10 as the grade grid shows them.
QStringList counts_of(const QList<int> &grades)
{
    QList<int> n(11, 0);
    for (int g : grades)
        n[g] += 1;
    QStringList list;
    for (int g = 1; g <= 10; ++g)
        list.append(QString::number(n[g]));
    return list;
}

}  // namespace

class TestEvaluation : public GuiTestBase
{
    Q_OBJECT

    SheetWindow *win = nullptr;
    Sheet *sheet = nullptr;

    template <class T>
    T *child(const QString &name) const
    {
        return named<T>(win, name);
    }
    QWidget *panel() const { return child<QWidget>(object_name::evaluation_panel); }
    QListWidget *list() const { return child<QListWidget>(object_name::candidate_list); }
    // 1: the totals' counts, 2: the grades' counts.
    CountGrid *grid(int n) const
    {
        return child<CountGrid>(n == 1 ? object_name::totals_grid : object_name::grades_grid);
    }
    QString label(const QString &name) const
    {
        if (auto *box = qobject_cast<QLineEdit *>(child<QWidget>(name)))
            return box->text();
        return child<QLabel>(name)->text();
    }

    // One score column of full marks 100 holding the given scores.
    void enter_scores(const QList<int> &scores)
    {
        sheet->set_full_marks(1, 100);
        for (int i = 0; i < scores.size(); ++i)
            sheet->set_text(i + 1, 5, QString::number(scores[i]));
    }

    static QString describe(const QWidget *w)
    {
        if (auto *l = qobject_cast<const QLabel *>(w))
            return w->objectName() + u'"' + l->text() + u'"';
        return w->objectName();
    }

    QStringList column(int col, int count) const
    {
        QStringList texts;
        for (int r = 1; r <= count; ++r)
            texts.append(sheet->text(r, col));
        return texts;
    }
    QStringList grades(int count = 5) const { return column(sheet->grade_col(), count); }

    QStringList list_texts() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts.append(list()->item(i)->text());
        return texts;
    }

    QStringList count_column(int n) const
    {
        QStringList texts;
        for (int i = 1; i <= 10; ++i)
            texts.append(grid(n)->text(i, 1));
        return texts;
    }

    void click(const QString &name)
    {
        auto *button = child<QAbstractButton>(name);
        QVERIFY(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Japanese text arrives from the input method as a committed string.
    static void commit(QWidget *box, const QString &text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(box, &event);
    }

    void evaluate() { click(object_name::evaluate_button); }

    // Chooses entry k with the mouse, as the teacher does.
    void pick(int k)
    {
        QListWidgetItem *item = list()->item(k);
        QVERIFY(item);
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
        QCOMPARE(win->sheet()->candidate_index(), k);
    }

    // Three students over three columns of full marks 10, one viewpoint
    // each: A A A, B B C and C C A (the last one a check).
    void three_viewpoint_columns()
    {
        const int marks[3][3] = {{9, 8, 10}, {5, 7, 4}, {2, 3, 9}};
        sheet->insert_columns(sheet->total_col(), 1);
        for (int k = 1; k <= 3; ++k) {
            sheet->set_full_marks(k, 10);
            ScoreSettings s = sheet->settings(k);
            s.viewpoint = k;
            sheet->set_settings(k, s);
            for (int r = 1; r <= 3; ++r)
                sheet->set_text(r, 4 + k, QString::number(marks[r - 1][k - 1]));
        }
    }
    // What the panel's results table shows for a student row and column.
    QString shown(int row, int col) const
    {
        QTableWidgetItem *item = win->viewpoint_panel()->results()->item(row, col);
        return item ? item->text() : QString();
    }

    void five_students_evaluated()
    {
        enter_scores({30, 45, 60, 75, 90});
        evaluate();
        QCOMPARE(list()->count(), 32);
    }

private slots:
    void init()
    {
        start_session();
        main->resize(1400, 900);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        win = main->active_sheet();
        QVERIFY(win);
        win->parentWidget()->showMaximized();
        sheet = win->sheet();
        QTRY_VERIFY(main->toolbar()->isEnabled());
    }

    void cleanup() { end_session(); }

    // The report's numbers for a sheet are the evaluation panel's: totals
    // with an absent student and a note in the total column, grades chosen.
    void report_matches_the_panel()
    {
        enter_scores({30, 45, 60, 75, 90, 52});
        sheet->set_text(7, 5, u"欠"_s);
        evaluate();
        pick(7);
        sheet->set_text(8, sheet->total_col(), u"見学"_s);
        QCOMPARE(sheet->text(8, sheet->total_col()), u"見学"_s);
        ReportWindow *report = main->show_report();
        const gradereport::Report r = report->report();
        QCOMPARE(r.classes.size(), 1);
        const gradereport::ClassResult &c = r.classes.first();
        QCOMPARE(c.totals.count, 6);
        QCOMPARE(numbers::two_decimals(c.totals.average), label(object_name::totals_average_label));
        QCOMPARE(numbers::two_decimals(c.totals.deviation), label(object_name::totals_deviation_label));
        QStringList counts;
        for (int g = 1; g <= 10; ++g)
            counts.append(QString::number(c.grades.counts[size_t(g)]));
        QCOMPARE(counts, count_column(2));
        QCOMPARE(c.grades.graded_text(), label(object_name::graded_label));
        QVERIFY(c.decided());
        report->close();
        prompter->answers.enqueue(Prompter::Answer::Yes);
        click(object_name::close_button);
    }

    // Files are added beside the open sheet, not its own file again; one that cannot be read (a FIFO
    // too) is listed at once with why and left out of the numbers; untick leaves a sheet out.
    void report_window_adds_files()
    {
        enter_scores({40, 60});
        evaluate();
        pick(0);
        prompter->answers.enqueue(Prompter::Answer::Yes);
        click(object_name::close_button);
        const QString other = folder->file(u"other.csv"_s);
        const QString broken = folder->file(u"memo.csv"_s);
        {
            QFile f(broken);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("memo\r\n");
        }
        QVERIFY(sheetfile::write_file(other, sheetfile::encode(*sheet)).ok);
        sheet->set_sheet_name(other);
        const QString fifo = folder->file(u"fifo.csv"_s);
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        alarm(60);  // opening a FIFO waits for a writer: a hang ends the test
        ReportWindow *report = main->show_report();
        for (const QString &file : {other, broken, fifo}) {
            prompter->files.enqueue(file);
            report->add_files();
        }
        alarm(0);
        QVERIFY(prompter->messages().contains(u"次のファイルはすでに一覧にあるので、加えませんでした。\r\n"_s + other));
        QCOMPARE(report->sources()->count(), 3);
        QVERIFY(report->sources()->item(1)->text().contains(u"読み込めません"_s));
        QVERIFY(report->sources()->item(2)->text().contains(sheetfile::not_a_file_to_read_message()));
        gradereport::Report r = report->report();
        QCOMPARE(r.readable_classes, 1);
        QCOMPARE(r.all.totals.count, 2);
        report->sources()->item(0)->setCheckState(Qt::Unchecked);
        r = report->report();
        QCOMPARE(r.classes.size(), 2);
        QCOMPARE(r.all.totals.count, 0);
        QVERIFY(!report->findChildren<QLabel *>(object_name::report_page).isEmpty());

        const QString pdf = folder->file(u"year.pdf"_s);
        prompter->files.enqueue(pdf);
        report->save_pdf();
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QString printed = folder->file(u"printed.pdf"_s);
        prompter->files.enqueue(printed);
        report->print();
        report->close();
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: run scripts/setup.sh");
        // Saved or printed, every page has the footer of a printed sheet.
        for (const QString &path : {pdf, printed}) {
            QProcess process;
            process.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
            QVERIFY(process.waitForFinished(30000));
            QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
            pages.removeAll(QString());
            QCOMPARE(pages.size(), 2);
            const QString date = QDate::currentDate().toString(u"yyyy年M月d日 印刷"_s);
            for (qsizetype i = 0; i < pages.size(); ++i) {
                const QString footer = pages[i].trimmed().split(u'\n').last().simplified();
                QCOMPARE(footer, u"成績一覧表 "_s + date + u" "_s + QString::number(i + 1) + u" / 2"_s);
            }
        }
    }

    // ---- the panel's controls ----

    void control_texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        const QString lower = object_name::lower_criterion_label;
        const QString upper = object_name::upper_criterion_label;
        const QString criterion_tip =
            u"数を入力して Enter。↑↓で 1 点、PageUp / PageDown で 5 点動きます。"_s;
        QTest::newRow("lower criterion") << lower << u"25"_s << criterion_tip;
        QTest::newRow("upper criterion") << upper << u"95"_s << criterion_tip;
        QTest::newRow("再計算") << QString(object_name::recalculate_button) << u"再計算"_s
                                  << u"素点などを変更したらこのボタンを押してください。"_s;
        QTest::newRow("決定") << QString(object_name::decide_button) << u"決　定"_s << u"表の評価を決定値とします。"_s;
        QTest::newRow("中止") << QString(object_name::abort_button) << u"中　止"_s << u"計算前に評価をもどします。"_s;
        QTest::newRow("candidates") << QString(object_name::candidate_list) << QString()
                               << u"平均点(候補）から日とる選びクリックしてください。"_s;
        QTest::newRow("panel") << QString(object_name::evaluation_panel) << QString()
                               << u"ここをドラッグすれば移動できます"_s;
    }

    void control_texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QWidget *w = child<QWidget>(name);
        if (auto *l = qobject_cast<QLabel *>(w))
            QCOMPARE(l->text(), text);
        if (auto *e = qobject_cast<QLineEdit *>(w))
            QCOMPARE(e->text(), text);
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            QCOMPARE(b->text(), text);
        QCOMPARE(w->toolTip(), tip);
    }

    void captions_and_grid_headings()
    {
        QStringList captions;
        for (QLabel *l : panel()->findChildren<QLabel *>())
            if (l->objectName().isEmpty())
                captions.append(l->text());
        for (const QString &expected :
             {u"評価選択パネル"_s, u"[ステップ1]"_s, u"総合点に対する評価基準"_s, u"２の上限点数"_s,
              u"10の下限点数"_s, u"[ステップ２]　評価平均を設定"_s, u"【総合点】"_s, u"【評価/評定】"_s,
              u"最高点："_s, u"最低点："_s, u"対象者："_s})
            QVERIFY2(captions.contains(expected), qPrintable(expected));
        QVERIFY(child<QToolButton>(object_name::close_button));

        QStringList classes, marks;
        for (int i = 0; i <= 10; ++i) {
            classes.append(grid(1)->text(i, 0));
            marks.append(grid(2)->text(i, 0));
        }
        QCOMPARE(classes, (QStringList{u"階級値"_s, u"0-9"_s, u"10-19"_s, u"20-29"_s, u"30-39"_s, u"40-49"_s,
                                       u"50-59"_s, u"60-69"_s, u"70-79"_s, u"80-89"_s, u"90-100"_s}));
        QCOMPARE(marks, (QStringList{u"評価"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s,
                                     u"8"_s, u"9"_s, u"10"_s}));
        QCOMPARE(grid(1)->text(0, 1), u"度数"_s);
        QCOMPARE(grid(2)->text(0, 1), u"度数"_s);

        // Sized by the window's font at creation, the program's 9-point font here.
        const double unit = twips::unit_width(QApplication::font());
        for (int n : {1, 2}) {
            QCOMPARE(grid(n)->column_width(0), std::round(7 * unit));
            QCOMPARE(grid(n)->column_width(1), std::round(6 * unit));
        }
        QVERIFY(!panel()->isVisible());
    }

    // Nothing clipped: every control inside the panel, none overlapping,
    // every text within its control.
    void layout_fits()
    {
        five_students_evaluated();
        grid(1)->set_text(1, 1, u"2000"_s);
        const QRect area = panel()->contentsRect();
        QList<QWidget *> controls;
        for (QObject *o : panel()->children())
            if (auto *w = qobject_cast<QWidget *>(o); w && !w->isWindow())
                controls.append(w);
        QVERIFY(controls.size() >= 25);
        for (int i = 0; i < controls.size(); ++i) {
            const QRect r = controls[i]->geometry();
            QVERIFY2(area.contains(r), qPrintable(controls[i]->objectName()));
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!r.intersects(controls[j]->geometry()),
                         qPrintable(describe(controls[i]) + u" / "_s + describe(controls[j])));
            if (auto *l = qobject_cast<QLabel *>(controls[i])) {
                const QFontMetrics m(l->font());
                QVERIFY2(m.horizontalAdvance(l->text()) <= l->contentsRect().width(), qPrintable(l->text()));
                QVERIFY2(m.height() <= l->contentsRect().height() + 2, qPrintable(l->text()));
            }
            if (auto *b = qobject_cast<QPushButton *>(controls[i]))
                QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->text()));
        }
        for (int n : {1, 2}) {
            const QFontMetrics m(grid(n)->font());
            for (int c = 0; c < 2; ++c) {
                const int width = twips::to_px(grid(n)->column_width(c));
                for (int r = 0; r <= 10; ++r)
                    // One pixel of the cell is its grid line.
                    QVERIFY2(m.horizontalAdvance(grid(n)->text(r, c)) < width,
                             qPrintable(grid(n)->text(r, c)));
            }
        }
    }

    // ---- the evaluation command ----

    void evaluation_fills_list_and_statistics()
    {
        // The toolbar is disabled while the list is built; the sheet window
        // is not, so the frame has no reason to bring another sheet forward.
        QList<bool> enabled_while_building;
        connect(list()->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            enabled_while_building << win->isEnabled() << main->toolbar()->isEnabled();
        });
        sheet->set_text(3, sheet->grade_col(), u"old"_s);
        enter_scores({30, 45, 60, 75, 90});
        main->setCursor(Qt::WaitCursor);
        sheet->set_current_cell(2, 2);
        evaluate();

        QCOMPARE(column(sheet->total_col(), 5), (QStringList{u" 30"_s, u" 45"_s, u" 60"_s, u" 75"_s, u" 90"_s}));
        QCOMPARE(list_texts(), kFiveCandidates);
        QVERIFY(list()->isEnabled());
        QCOMPARE(win->sheet()->candidate_index(), -1);
        QCOMPARE(label(object_name::highest_label), u"90"_s);
        QCOMPARE(label(object_name::lowest_label), u"30"_s);
        QCOMPARE(count_column(1), (QStringList{u"0"_s, u"0"_s, u"0"_s, u"1"_s, u"1"_s, u"0"_s, u"1"_s,
                                               u"1"_s, u"0"_s, u"1"_s}));
        QVERIFY(grid(1)->accessibleDescription().startsWith(u"0-9 0、10-19 0、20-29 0、30-39 1、40-49 1"_s));
        QCOMPARE(enabled_while_building.mid(0, 2), (QList<bool>{true, false}));
        QVERIFY(panel()->isVisible());
        QVERIFY(win->isEnabled());
        QVERIFY(main->toolbar()->isEnabled());
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        // Nothing chosen yet: the grade column is untouched.
        QCOMPARE(grades(), (QStringList{QString(), QString(), u"old"_s, QString(), QString()}));
        // The menu item runs the same command, and the editor keeps the focus.
        sheet->set_text(6, 5, u"100"_s);
        win->editor()->setFocus();
        QTRY_VERIFY(win->editor()->hasFocus());
        win->menus()->action(Command::Evaluate)->trigger();
        QVERIFY(win->editor()->hasFocus());
        QCOMPARE(label(object_name::highest_label), u"100"_s);
        QCOMPARE(grid(1)->text(10, 1), u"2"_s);
    }

    void no_totals_gives_empty_disabled_list()
    {
        evaluate();
        QCOMPARE(list()->count(), 0);
        QVERIFY(!list()->isEnabled());
        QCOMPARE(label(object_name::highest_label), u"-99999"_s);
        QCOMPARE(label(object_name::lowest_label), u"99999"_s);
        QCOMPARE(count_column(1), repeated(u"0"_s, 10));
        click(object_name::decide_button);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(list()->count(), 0);
    }

    void panel_comes_back_inside_data()
    {
        QTest::addColumn<QPoint>("moved_to");
        QTest::addColumn<bool>("reset");
        QTest::newRow("inside stays") << QPoint(40, 30) << false;
        QTest::newRow("above") << QPoint(40, -20) << true;
        QTest::newRow("left") << QPoint(-30, 50) << true;
        QTest::newRow("right") << QPoint(100000, 50) << true;
        QTest::newRow("below") << QPoint(40, 100000) << true;
    }

    void panel_comes_back_inside()
    {
        QFETCH(QPoint, moved_to);
        QFETCH(bool, reset);
        panel()->move(moved_to);
        evaluate();
        const QRect r = panel()->geometry();
        if (!reset) {
            QCOMPARE(r.topLeft(), moved_to);
            return;
        }
        QCOMPARE(r.top(), 0);
        QVERIFY(r.left() >= 0);
        QVERIFY(r.right() < win->width());
    }

    // ---- choosing a candidate ----

    void choosing_writes_grades_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("entry 1") << 1 << QList<int>{3, 5, 7, 8, 9};
        QTest::newRow("entry 0") << 0 << QList<int>{4, 5, 7, 8, 9};
    }

    void choosing_writes_grades()
    {
        QFETCH(int, entry);
        QFETCH(QList<int>, expected);
        five_students_evaluated();
        sheet->set_red(2, sheet->grade_col(), true);
        pick(entry);
        QStringList texts;
        for (int g : expected)
            texts.append(QString::number(g));
        QCOMPARE(grades(), texts);
        QCOMPARE(count_column(2), counts_of(expected));
        QCOMPARE(label(object_name::graded_label), u"5人"_s);
        QVERIFY(sheet->is_red(2, sheet->grade_col()));
        QVERIFY(panel()->isVisible());
    }

    void choosing_again_restores_first_proposal()
    {
        five_students_evaluated();
        pick(1);
        const QStringList first = grades();
        // By keyboard: End selects the last entry.
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_End);
        QCOMPARE(win->sheet()->candidate_index(), 31);
        QVERIFY(grades() != first);
        int sum = 0;
        for (const QString &g : grades())
            sum += g.toInt();
        QCOMPARE(sum, 26);  // the entry reads 5.20 for five students
        pick(1);
        QCOMPARE(grades(), first);
    }

    void total_without_score_keeps_grade_and_zero_gets_two()
    {
        sheet->set_full_marks(1, 100);
        sheet->set_text(1, 5, u"0"_s);
        sheet->set_text(2, 5, u"80"_s);
        sheet->set_text(3, sheet->grade_col(), u"欠席"_s);
        evaluate();
        pick(1);
        QCOMPARE(grades(3), (QStringList{u"2"_s, u"8"_s, u"欠席"_s}));
        QCOMPARE(label(object_name::graded_label), u"2人"_s);
    }

    void large_sheet_graded_and_restored()
    {
        const int rows = 2001;
        sheet->set_rows(rows);
        sheet->set_full_marks(1, 100);
        QStringList before;
        for (int r = 1; r < rows; ++r) {
            sheet->set_text(r, 5, QString::number(r % 101));
            const QString old = r % 7 == 0 ? QString() : u"旧"_s + QString::number(r);
            sheet->set_text(r, sheet->grade_col(), old);
            before.append(old);
        }
        evaluate();
        QCOMPARE(list()->count(), 32);
        pick(16);
        QCOMPARE(label(object_name::graded_label), u"2000人"_s);
        // Row r has the total r % 101; rows far beyond the first 500 are graded.
        const QList<std::pair<int, QString>> samples = {
            {1919, u"2"_s}, {1844, u"3"_s}, {2000, u"8"_s}, {1913, u"10"_s}};
        for (const auto &[row, grade] : samples)
            QCOMPARE(sheet->text(row, sheet->grade_col()), grade);
        prompter->answers.enqueue(Prompter::Answer::No);
        click(object_name::close_button);
        QCOMPARE(column(sheet->grade_col(), rows - 1), before);
        QVERIFY(!panel()->isVisible());
    }

    // ---- ending an evaluation ----

    void cross_button_data()
    {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<bool>("stays_open");
        QTest::newRow("yes keeps") << Prompter::Answer::Yes << false << false;
        QTest::newRow("no restores") << Prompter::Answer::No << true << false;
        QTest::newRow("cancel continues") << Prompter::Answer::Cancel << false << true;
    }

    void cross_button()
    {
        QFETCH(Prompter::Answer, answer);
        QFETCH(bool, restored);
        QFETCH(bool, stays_open);
        const QStringList old = {u"A"_s, QString(), u" 7 "_s, u"x"_s, u"10"_s};
        for (int r = 1; r <= 5; ++r)
            sheet->set_text(r, sheet->grade_col(), old[r - 1]);
        five_students_evaluated();
        pick(1);
        const QStringList proposed = grades();
        sheet->mark_saved();
        prompter->answers.enqueue(answer);
        click(object_name::close_button);
        QCOMPARE(prompter->asked.size(), 1);
        QCOMPARE(prompter->asked[0].text, kCloseQuestion);
        QCOMPARE(prompter->asked[0].buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(prompter->asked[0].title, u"確認"_s);
        QCOMPARE(prompter->asked[0].default_answer, Prompter::Answer::Cancel);  // Enter goes on
        QCOMPARE(grades(), restored ? old : proposed);
        QCOMPARE(panel()->isVisible(), stays_open);
        // Only grades put back are a change since the save; いいえ also puts
        // back the candidate the sheet had (none).
        QCOMPARE(sheet->is_saved(), !restored);
        QCOMPARE(win->sheet()->candidate_index(), restored ? -1 : 1);
    }

    // A second run while the panel is open keeps what the sheet held before
    // the first: いいえ brings back those grades, not the first proposal.
    void second_run_keeps_the_grades_before()
    {
        sheet->set_text(2, sheet->grade_col(), u"4"_s);
        five_students_evaluated();
        pick(1);
        evaluate();
        pick(31);
        prompter->answers.enqueue(Prompter::Answer::No);
        click(object_name::close_button);
        QCOMPARE(grades(), (QStringList{QString(), u"4"_s, QString(), QString(), QString()}));
    }

    void evaluated_sheet_stays_active_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("by_menu");
        QTest::newRow("normal, menu") << false << true;
        QTest::newRow("maximized, menu") << true << true;
        QTest::newRow("maximized, button") << true << false;
    }

    // The panel opens over the sheet being evaluated, every time.
    void evaluated_sheet_stays_active()
    {
        QFETCH(bool, maximized);
        QFETCH(bool, by_menu);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        SheetWindow *second = main->create_sheet();
        if (maximized)
            second->parentWidget()->showMaximized();
        else
            second->parentWidget()->showNormal();
        second->editor()->setFocus();
        QCOMPARE(main->active_sheet(), second);
        for (int run = 0; run < 5; ++run) {
            if (by_menu)
                second->menus()->action(Command::Evaluate)->trigger();
            else
                QTest::mouseClick(named<QAbstractButton>(second, object_name::evaluate_button), Qt::LeftButton);
            QCOMPARE(main->active_sheet(), second);
            QVERIFY(second->evaluation_panel()->isVisible());
            QCOMPARE(second->parentWidget()->isMaximized(), maximized);
            QTest::mouseClick(named<QAbstractButton>(second, object_name::decide_button), Qt::LeftButton);
            QVERIFY(!second->evaluation_panel()->isVisible());
        }
    }

    void decide_keeps_grades()
    {
        five_students_evaluated();
        pick(1);
        click(object_name::decide_button);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(grades(), (QStringList{u"3"_s, u"5"_s, u"7"_s, u"8"_s, u"9"_s}));
        QCOMPARE(list()->count(), 32);
        QVERIFY(prompter->asked.isEmpty());
    }

    // 中止 puts back the grades the sheet held before, also on a sheet that
    // was not read from a file.
    void abort_in_new_sheet_restores()
    {
        sheet->set_text(3, sheet->grade_col(), u"6"_s);
        five_students_evaluated();
        pick(1);
        click(object_name::abort_button);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(grades(), (QStringList{QString(), QString(), u"6"_s, QString(), QString()}));
        QCOMPARE(sheet->candidate_index(), -1);
    }

    // A typo above full marks the teacher typed never rescales the class
    // without a word: はい raises them, いいえ stops at the mark. Full marks
    // the first run inferred follow the highest mark again, unasked.
    void mark_above_typed_full_marks_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<double>("full_marks");
        QTest::addColumn<QString>("total_of_74");
        QTest::newRow("yes raises") << true << Prompter::Answer::Yes << 150.0 << u" 49"_s;
        QTest::newRow("no stops at the mark") << true << Prompter::Answer::No << 100.0 << u"old"_s;
        QTest::newRow("inferred, not asked") << false << Prompter::Answer::Yes << 150.0 << u" 49"_s;
    }

    void mark_above_typed_full_marks()
    {
        QFETCH(bool, typed);
        QFETCH(Prompter::Answer, answer);
        QFETCH(double, full_marks);
        QFETCH(QString, total_of_74);
        enter_scores({74, 80, 100});
        if (!typed)
            sheet->set_full_marks(1, 0);
        evaluate();
        click(object_name::decide_button);
        QCOMPARE(sheet->settings(1).full_marks, 100.0);
        sheet->set_text(3, 5, u"150"_s);
        sheet->set_text(1, sheet->total_col(), u"old"_s);
        sheet->set_current_cell(1, 4);
        if (typed)
            prompter->answers.enqueue(answer);
        evaluate();
        QCOMPARE(prompter->asked.size(), typed ? 1 : 0);
        if (typed) {
            QCOMPARE(prompter->asked[0].buttons, Prompter::Buttons::YesNo);
            QCOMPARE(prompter->asked[0].default_answer, Prompter::Answer::No);  // raising nothing
            QVERIFY(prompter->asked[0].text.contains(u"150"_s));
        }
        QCOMPARE(sheet->settings(1).full_marks, full_marks);
        QCOMPARE(sheet->text(1, sheet->total_col()), total_of_74);
        const bool stopped = answer == Prompter::Answer::No;
        QCOMPARE(panel()->isVisible(), !stopped);
        QCOMPARE(std::pair(sheet->row(), sheet->col()), stopped ? std::pair(3, 5) : std::pair(1, 4));
    }

    // 中止 and いいえ put back all the evaluation changed: a total never
    // stands beside a grade it did not give, also after rows came in between.
    void stopping_puts_back_everything_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("rows_inserted");
        QTest::newRow("中止") << QString(object_name::abort_button) << false;
        QTest::newRow("cross, いいえ") << QString(object_name::close_button) << false;
        QTest::newRow("中止 after rows inserted") << QString(object_name::abort_button) << true;
    }

    void stopping_puts_back_everything()
    {
        QFETCH(QString, button);
        QFETCH(bool, rows_inserted);
        enter_scores({30, 45, 60, 75, 150});
        for (int r = 1; r <= 5; ++r) {
            sheet->set_text(r, sheet->total_col(), u"t"_s + QString::number(r));
            sheet->set_text(r, sheet->grade_col(), u"g"_s + QString::number(r));
        }
        sheet->set_candidate_index(4);
        prompter->answers.enqueue(Prompter::Answer::Yes);  // raise the full marks to 150
        evaluate();
        QCOMPARE(sheet->settings(1).full_marks, 150.0);
        pick(1);
        QStringList totals{u"t1"_s, u"t2"_s, u"t3"_s, u"t4"_s, u"t5"_s};
        QStringList grades{u"g1"_s, u"g2"_s, u"g3"_s, u"g4"_s, u"g5"_s};
        if (rows_inserted) {
            win->structure_commands()->insert_rows(2, 2);
            totals.insert(1, 2, QString());
            grades.insert(1, 2, QString());
        }
        child<QScrollBar>(object_name::lower_criterion_scroll)->setValue(40);
        if (button == object_name::close_button)
            prompter->answers.enqueue(Prompter::Answer::No);
        click(button);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(column(sheet->total_col(), int(totals.size())), totals);
        QCOMPARE(column(sheet->grade_col(), int(grades.size())), grades);
        QCOMPARE(sheet->settings(1).full_marks, 100.0);
        QCOMPARE(sheet->candidate_index(), 4);
        QCOMPARE(sheet->lower_text(), u"25"_s);
        QCOMPARE(child<QScrollBar>(object_name::lower_criterion_scroll)->value(), 75);
    }

    // The grade counts describe the grades the column holds, whatever
    // happened before the panel opened.
    void grade_counts_follow_the_column()
    {
        enter_scores({30, 45, 60, 75, 90});
        for (int r = 1; r <= 3; ++r)
            sheet->set_text(r, sheet->grade_col(), u"7"_s);
        evaluate();
        QCOMPARE(label(object_name::graded_label), u"3人"_s);
        pick(1);
        click(object_name::abort_button);
        sheet->set_text(1, sheet->grade_col(), QString());
        evaluate();
        QCOMPARE(label(object_name::graded_label), u"2人"_s);
        QCOMPARE(count_column(2), counts_of({7, 7}));
        sheet->set_text(4, sheet->grade_col(), u"9"_s);
        QTRY_COMPARE(label(object_name::graded_label), u"3人"_s);
    }

    // 要確認 counts text in a score column and follows every edit.
    void check_button_follows_edits()
    {
        enter_scores({30, 45});
        sheet->set_text(3, 5, u"山田"_s);
        sheet->set_text(4, 5, u"欠"_s);
        evaluate();
        auto *check = child<QPushButton>(object_name::look_alike_button);
        QTRY_VERIFY(check->isVisible());
        QCOMPARE(check->text(), u"要確認 1 件"_s);
        sheet->set_text(5, 5, u"９"_s);
        QTRY_COMPARE(check->text(), u"要確認 2 件"_s);
        sheet->set_text(3, 5, QString());
        sheet->set_text(5, 5, u"9"_s);
        QTRY_VERIFY(!check->isVisible());
        // Evaluated again with the panel open, the count is right at once.
        sheet->set_text(3, 5, u"佐藤"_s);
        evaluate();
        QCOMPARE(check->text(), u"要確認 1 件"_s);
    }

    void abort_after_file_read()
    {
        // Save a sheet with entry 3 chosen and the grade-2 bound raised by one.
        enter_scores({30, 45, 60, 75, 90});
        evaluate();
        child<QScrollBar>(object_name::lower_criterion_scroll)
            ->triggerAction(QAbstractSlider::SliderSingleStepSub);
        pick(3);
        QCOMPARE(sheet->candidate_index(), 3);
        const QByteArray bytes = sheetfile::encode(*sheet);
        const QStringList saved_grades = grades();

        win = main->create_sheet();
        QVERIFY(win);
        sheet = win->sheet();
        const sheetfile::ReadResult read = sheetfile::read_bytes(bytes, *sheet, twips::unit_width(win->font()));
        QCOMPARE(read.outcome, sheetfile::ReadOutcome::Complete);
        QCOMPARE(label(object_name::lower_criterion_label), u"26"_s);
        QCOMPARE(label(object_name::upper_criterion_label), u"95"_s);
        QCOMPARE(sheet->candidate_index(), 3);
        QCOMPARE(grades(), saved_grades);

        sheet->set_text(1, sheet->grade_col(), u"済"_s);
        evaluate();
        pick(0);
        click(object_name::abort_button);
        QCOMPARE(win->sheet()->candidate_index(), 3);
        QCOMPARE(grades(), QStringList{u"済"_s} + saved_grades.mid(1));
        QVERIFY(!panel()->isVisible());
    }

    // Criteria turned the wrong way round are refused, naming both; a pair
    // read so lists nothing and is set right a step at a time.
    void criteria_the_wrong_way_round()
    {
        five_students_evaluated();
        auto *lower = child<QScrollBar>(object_name::lower_criterion_scroll);
        auto *upper = child<QScrollBar>(object_name::upper_criterion_scroll);
        upper->setValue(80);
        QCOMPARE(std::pair(sheet->upper_text(), upper->value()), std::pair(u"95"_s, 5));
        sheet->set_lower_text(u"95"_s);
        sheet->set_upper_text(u"90"_s);
        evaluate();
        lower->triggerAction(QAbstractSlider::SliderSingleStepSub);  // a step away
        QCOMPARE(std::pair(sheet->lower_text(), list()->count()), std::pair(u"95"_s, 0));
        const QStringList said = prompter->messages();
        QCOMPARE(said.size(), 3);
        QVERIFY(said[0].startsWith(u"「２の上限点数」（25）は「10の下限点数」（20）より小さくしてください。"_s));
        QVERIFY(said[1].startsWith(u"「２の上限点数」（95）は「10の下限点数」（90）"_s));
        upper->setValue(5);
        lower->setValue(75);
        QCOMPARE(list_texts(), kFiveCandidates);
        prompter->clear();
    }

    void recalculate_uses_totals_as_they_stand()
    {
        five_students_evaluated();
        pick(1);
        sheet->set_text(1, 5, u"100"_s);
        click(object_name::recalculate_button);
        QCOMPARE(list_texts(), kFiveCandidates);
        // The chosen candidate stays chosen, graded on the totals as they stand.
        QCOMPARE(win->sheet()->candidate_index(), 1);
        QCOMPARE(list()->currentRow(), 1);
        QCOMPARE(sheet->text(1, sheet->total_col()), u" 30"_s);
        QCOMPARE(grades(), (QStringList{u"3"_s, u"5"_s, u"7"_s, u"8"_s, u"9"_s}));
        QVERIFY(panel()->isVisible());
    }

    // ---- the criteria ----

    void criterion_change_regrades_data()
    {
        QTest::addColumn<QString>("scroll");
        QTest::addColumn<int>("position");  // -1: one arrow step up
        QTest::addColumn<QString>("label_name");
        QTest::addColumn<QString>("label_text");
        QTest::addColumn<QStringList>("expected");
        const QString lower_scroll = object_name::lower_criterion_scroll;
        const QString lower = object_name::lower_criterion_label;
        const QString upper_scroll = object_name::upper_criterion_scroll;
        const QString upper = object_name::upper_criterion_label;
        QTest::newRow("grade 2 bound up one") << lower_scroll << -1 << lower << u" 26"_s
                                              << QStringList{u"3"_s, u"5"_s, u"6"_s, u"8"_s, u"9"_s};
        QTest::newRow("grade 2 bound 60") << lower_scroll << 40 << lower << u" 60"_s
                                          << QStringList{u"2"_s, u"2"_s, u"2"_s, u"6"_s, u"9"_s};
        QTest::newRow("grade 10 bound 50") << upper_scroll << 50 << upper << u" 50"_s
                                           << QStringList{u"4"_s, u"8"_s, u"10"_s, u"10"_s, u"10"_s};
        QTest::newRow("grade 10 bound 100") << upper_scroll << 0 << upper << u" 100"_s
                                            << QStringList{u"3"_s, u"5"_s, u"6"_s, u"7"_s, u"9"_s};
    }

    void criterion_change_regrades()
    {
        QFETCH(QString, scroll);
        QFETCH(int, position);
        QFETCH(QString, label_name);
        QFETCH(QString, label_text);
        QFETCH(QStringList, expected);
        five_students_evaluated();
        pick(5);
        auto *bar = child<QScrollBar>(scroll);
        if (position < 0)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else
            bar->setValue(position);
        QCOMPARE(label(label_name), label_text);
        QCOMPARE(label_name == object_name::lower_criterion_label ? sheet->lower_text()
                                                                  : sheet->upper_text(),
                 label_text);
        QCOMPARE(list()->count(), 32);
        QCOMPARE(win->sheet()->candidate_index(), 5);
        QCOMPARE(grades(), expected);
        QCOMPARE(label(object_name::graded_label), u"5人"_s);
    }

    void criterion_change_with_nothing_chosen()
    {
        five_students_evaluated();
        child<QScrollBar>(object_name::lower_criterion_scroll)->setValue(40);
        QCOMPARE(win->sheet()->candidate_index(), -1);
        QCOMPARE(grades(), repeated(QString(), 5));
        QVERIFY(list_texts() != kFiveCandidates);
    }

    // A criterion takes a typed number (as the batch's --lower/--upper do),
    // the arrow keys move it one point and Page Up / Page Down five; no key
    // typed there reaches a mark.
    void criterion_typed_or_keyed_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");  // after Enter; 0: none
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("refused");
        const QString lower = object_name::lower_criterion_label;
        const QString upper = object_name::upper_criterion_label;
        QTest::newRow("lower typed") << lower << u"40"_s << 0 << u" 40"_s << 60 << false;
        QTest::newRow("upper typed") << upper << u"88"_s << 0 << u" 88"_s << 12 << false;
        QTest::newRow("full-width digits") << upper << u"８８"_s << 0 << u" 88"_s << 12 << false;
        QTest::newRow("a fraction") << lower << u" 30.5 "_s << 0 << u" 30.5"_s << 69 << false;
        QTest::newRow("no number") << lower << u"abc"_s << 0 << u"25"_s << 75 << true;
        QTest::newRow("a number and more") << upper << u"90点"_s << 0 << u"95"_s << 5 << true;
        QTest::newRow("infinity") << upper << u"inf"_s << 0 << u"95"_s << 5 << true;
        QTest::newRow("up one") << upper << QString() << int(Qt::Key_Up) << u" 96"_s << 4 << false;
        QTest::newRow("down one") << lower << QString() << int(Qt::Key_Down) << u" 24"_s << 76
                                  << false;
        QTest::newRow("page up five") << upper << QString() << int(Qt::Key_PageUp) << u" 100"_s
                                      << 0 << false;
        QTest::newRow("page down five") << upper << QString() << int(Qt::Key_PageDown)
                                        << u" 90"_s << 10 << false;
        QTest::newRow("typed, then page down") << lower << u"60"_s << int(Qt::Key_PageDown)
                                               << u" 55"_s << 45 << false;
    }

    void criterion_typed_or_keyed()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, criterion);
        QFETCH(int, position);
        QFETCH(bool, refused);
        five_students_evaluated();
        pick(5);
        const QString mark = sheet->text(sheet->row(), sheet->col());
        auto *edit = child<QLineEdit>(box);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        if (!typed.isEmpty()) {
            edit->selectAll();
            commit(edit, typed);
            prompter->clear();
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(prompter->asked.size(), refused ? 1 : 0);
            if (refused)
                QVERIFY2(prompter->asked.first().text.contains(u"数を入力してください"_s),
                         qPrintable(prompter->asked.first().text));
        }
        if (key != 0) {
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key(key));
        }
        const bool lower = box == object_name::lower_criterion_label;
        QCOMPARE(lower ? sheet->lower_text() : sheet->upper_text(), criterion);
        QCOMPARE(label(box), criterion);
        QCOMPARE(child<QScrollBar>(lower ? object_name::lower_criterion_scroll
                                         : object_name::upper_criterion_scroll)
                     ->value(),
                 position);
        // The chosen candidate stays chosen and grades follow the criterion.
        QCOMPARE(win->sheet()->candidate_index(), 5);
        QCOMPARE(sheet->text(sheet->row(), sheet->col()), mark);
    }

    // All 32 candidates in view at once, none behind a scroll bar, also when
    // they read 10.00.
    void every_candidate_in_view()
    {
        five_students_evaluated();
        for (const QString &reads : {u"6.60"_s, u"10.00"_s}) {
            QCOMPARE(list()->item(0)->text(), reads);
            const QRect view = list()->viewport()->rect();
            for (int k = 0; k < list()->count(); ++k)
                QVERIFY2(view.contains(list()->visualItemRect(list()->item(k))), qPrintable(QString::number(k)));
            enter_scores({100, 100, 100, 100, 100});
            evaluate();
        }
    }

    void criteria_start_positions()
    {
        QCOMPARE(child<QScrollBar>(object_name::lower_criterion_scroll)->value(), 75);
        QCOMPARE(child<QScrollBar>(object_name::upper_criterion_scroll)->value(), 5);
        QCOMPARE(child<QScrollBar>(object_name::lower_criterion_scroll)->minimum(), 0);
        QCOMPARE(child<QScrollBar>(object_name::lower_criterion_scroll)->maximum(), 100);
    }

    // ---- the bars behind the counts ----

    void count_bars_follow_counts()
    {
        enter_scores({30, 35, 38, 41, 75, 77});
        evaluate();
        CountGrid *totals = grid(1);
        QCOMPARE(count_column(1), (QStringList{u"0"_s, u"0"_s, u"0"_s, u"3"_s, u"1"_s, u"0"_s, u"0"_s,
                                               u"2"_s, u"0"_s, u"0"_s}));
        const QRectF three = totals->bar_rect(4);
        const QRectF one = totals->bar_rect(5);
        const QRectF two = totals->bar_rect(8);
        QVERIFY(totals->bar_rect(1).isEmpty());
        QVERIFY(!one.isEmpty());
        QCOMPARE(one.width() * 3, three.width());
        QCOMPARE(two.width() * 3, three.width() * 2);
        QVERIFY(one.top() > three.top());

        // The bar is painted behind the number; an empty count has none.
        const QImage image = totals->grab().toImage();
        const QPoint inside(2, 2);
        const QColor bar = image.pixelColor(three.topLeft().toPoint() + inside);
        // The same spot of row 1 (class 0-9, count 0), three rows above.
        const int row_step = int(one.top() - three.top());
        const QColor empty = image.pixelColor(three.topLeft().toPoint() + inside - QPoint(0, 3 * row_step));
        QVERIFY(bar != QColor(Qt::white));
        QCOMPARE(empty, QColor(Qt::white));
        QCOMPARE(image.pixelColor(one.topLeft().toPoint() + QPoint(2, 2)), bar);

        pick(1);
        QVERIFY(!grid(2)->bar_rect(3).isEmpty());
        QVERIFY(grid(2)->bar_rect(10).isEmpty());
    }

    // ---- the raw-score panel ----

    void score_panel_follows_column_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("full_marks");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("average");
        QTest::addColumn<QString>("viewpoint");
        QTest::newRow("score column 1") << 5 << true << u"点1"_s << u"50"_s << u"10"_s << u"62.5"_s << u"なし"_s;
        QTest::newRow("score column 2") << 6 << true << u"点2"_s << u"不明"_s << u"1.5"_s << u"0"_s << u"態"_s;
        QTest::newRow("total") << 7 << false << QString() << QString() << QString() << QString() << u"なし"_s;
        QTest::newRow("name") << 4 << false << QString() << QString() << QString() << QString() << u"なし"_s;
    }

    void score_panel_follows_column()
    {
        QFETCH(int, col);
        QFETCH(bool, enabled);
        QFETCH(QString, title);
        QFETCH(QString, full_marks);
        QFETCH(QString, weight);
        QFETCH(QString, average);
        QFETCH(QString, viewpoint);
        ScoreSettings first = sheet->settings(1);
        first.full_marks_text = u"50"_s;
        sheet->set_settings(1, first);
        sheet->set_weight(2, 1.5);
        ScoreSettings second = sheet->settings(2);
        second.viewpoint = 3;
        sheet->set_settings(2, second);
        sheet->set_text(1, 5, u"50"_s);
        sheet->set_text(2, 5, u"75"_s);
        sheet->set_current_cell(2, 5);
        sheet->set_current_cell(3, col);
        for (QLatin1StringView name :
             {object_name::title_box, object_name::full_marks_box, object_name::weight_box})
            QCOMPARE(child<QLineEdit>(name)->isEnabled(), enabled);
        QCOMPARE(child<QLineEdit>(object_name::title_box)->text(), title);
        QCOMPARE(child<QLineEdit>(object_name::full_marks_box)->text(), full_marks);
        QCOMPARE(child<QLineEdit>(object_name::weight_box)->text(), weight);
        QCOMPARE(label(object_name::column_average_label), average);
        auto *choice = child<QComboBox>(object_name::viewpoint_choice);
        QCOMPARE(choice->currentText(), viewpoint);
        QCOMPARE(choice->isEnabled(), enabled);
        // Showing is not an edit.
        QVERIFY(!sheet->settings(1).full_marks_given);
        QVERIFY(!sheet->settings(2).full_marks_given);
        QCOMPARE(sheet->settings(1).full_marks, 0.0);
        QCOMPARE(sheet->settings(3).weight, 10.0);
        QCOMPARE(sheet->settings(2).weight, 1.5);
        QCOMPARE(sheet->text(0, 6), u"点2"_s);
    }

    void score_panel_edits_are_stored()
    {
        sheet->set_current_cell(1, 6);
        auto *marks = child<QLineEdit>(object_name::full_marks_box);
        marks->selectAll();
        QTest::keyClick(marks, Qt::Key_Backspace);
        QCOMPARE(sheet->settings(2).full_marks_text, QString());
        QVERIFY(sheet->settings(2).full_marks_given);
        QTest::keyClicks(marks, u"4"_s);
        QCOMPARE(sheet->settings(2).full_marks, 4.0);
        QCOMPARE(sheet->settings(2).full_marks_text, u"4"_s);
        QTest::keyClicks(marks, u"0"_s);
        QCOMPARE(sheet->settings(2).full_marks, 40.0);
        QCOMPARE(sheet->settings(2).full_marks_text, u"40"_s);

        auto *weight = child<QLineEdit>(object_name::weight_box);
        weight->selectAll();
        QTest::keyClicks(weight, u"2.5"_s);
        commit(weight, u"点"_s);
        QCOMPARE(sheet->settings(2).weight, 2.5);

        auto *title = child<QLineEdit>(object_name::title_box);
        title->selectAll();
        commit(title, u"小テスト"_s);
        QCOMPARE(sheet->text(0, 6), u"小テスト"_s);

        // Slot 1 and the fixed columns were not touched.
        QCOMPARE(sheet->settings(1).full_marks_text, u"不明"_s);
        QCOMPARE(sheet->settings(1).weight, 10.0);
        QCOMPARE(sheet->text(0, 5), u"点1"_s);

        // Back on the column, the fields show what was stored.
        sheet->set_current_cell(1, 4);
        sheet->set_current_cell(1, 6);
        QCOMPARE(marks->text(), u"40"_s);
        QCOMPARE(weight->text(), u"2.5"_s);
        QCOMPARE(title->text(), u"小テスト"_s);
    }

    void evaluation_shows_raised_full_marks()
    {
        sheet->set_text(1, 5, u"45"_s);
        sheet->set_text(2, 5, u"30"_s);
        sheet->set_current_cell(1, 5);
        QCOMPARE(child<QLineEdit>(object_name::full_marks_box)->text(), u"不明"_s);
        evaluate();
        QCOMPARE(child<QLineEdit>(object_name::full_marks_box)->text(), u"45"_s);
        QCOMPARE(sheet->settings(1).full_marks, 45.0);
        QCOMPARE(sheet->text(1, sheet->total_col()), u" 100"_s);
        QCOMPARE(sheet->text(2, sheet->total_col()), u" 67"_s);
    }
    // ---- viewpoint grading ----

    // The panel shows the result of what the teacher changes at once and
    // writes nothing before 決定; 決定 is one undo step, 中止 leaves the
    // sheet as it was.
    void viewpoint_panel_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("first_letter");  // row 1's 知, in the panel
        QTest::addColumn<QString>("third_grade");   // row 3's 評定, in the panel
        QTest::addColumn<int>("hand_set_lines");
        QTest::addColumn<bool>("decide");
        QTest::addColumn<QString>("checked");  // 要確認 on the result columns
        const QString one = u"要確認 1 人"_s;
        QTest::newRow("中止") << 0 << u"A"_s << u"3"_s << 0 << false << QString();
        QTest::newRow("決定") << 0 << u"A"_s << u"3"_s << 0 << true << one;
        // 態 90 % is a B now: no longer A beside C C.
        QTest::newRow("A from 95 %") << 1 << u"B"_s << u"2"_s << 0 << true << QString();
        QTest::newRow("by the average rate") << 2 << u"A"_s << u"2"_s << 0 << true << one;
        QTest::newRow("full-width letter by hand") << 3 << u"C"_s << u"3"_s << 1 << true << one;
        QTest::newRow("hand entry emptied") << 4 << u"A"_s << u"3"_s << 0 << true << one;
        QTest::newRow("not a letter") << 5 << u"A"_s << u"3"_s << 0 << true << one;
        // No column counts for it yet: no letter there, so no 評定 either.
        QTest::newRow("a fourth viewpoint") << 6 << u"A"_s << QString() << 0 << true << QString();
        QTest::newRow("中止 after a hand letter") << 3 << u"C"_s << u"3"_s << 1 << false << QString();
    }

    void viewpoint_panel()
    {
        QFETCH(int, action);
        QFETCH(QString, first_letter);
        QFETCH(QString, third_grade);
        QFETCH(int, hand_set_lines);
        QFETCH(bool, decide);
        QFETCH(QString, checked);
        three_viewpoint_columns();
        sheet->set_current_cell(1, 5);
        SheetHistory *history = win->undo_commands()->history();
        history->close_step();
        const int steps = history->steps();
        click(object_name::viewpoints_button);
        ViewpointPanel *panel = win->viewpoint_panel();
        QVERIFY(panel->isVisible());
        // The marks' own recomputation is done before the teacher acts.
        QCoreApplication::processEvents();
        QCOMPARE(shown(0, 3), u"A"_s);
        QCOMPARE(shown(2, 8), u"3"_s);
        QCOMPARE(shown(2, 9).isEmpty(), false);  // C C A is looked at again
        switch (action) {
        case 1:
            panel->settings_page()->threshold_a()->setValue(95);
            break;
        case 2:
            panel->settings_page()->method_choice()->setCurrentIndex(1);
            break;
        case 3:
            panel->results()->item(0, 3)->setText(u"ｃ"_s);
            break;
        case 4:
            panel->results()->item(1, 3)->setText(u"C"_s);
            QTRY_COMPARE(panel->hand_set_list()->count(), 1);
            panel->results()->item(1, 3)->setText(QString());
            break;
        case 5:
            panel->results()->item(0, 3)->setText(u"D"_s);
            break;
        case 6:
            panel->settings_page()->names_table()->item(3, 0)->setText(u"言語についての知識"_s);
            break;
        }
        QTRY_COMPARE(panel->hand_set_list()->count(), hand_set_lines);
        QTRY_COMPARE(shown(0, 3), first_letter);
        QTRY_COMPARE(shown(2, 8), third_grade);
        QCOMPARE(sheet->result_count(), 0);
        QCOMPARE(history->steps(), steps);

        click(decide ? object_name::viewpoint_decide_button : object_name::viewpoint_abort_button);
        QVERIFY(!panel->isVisible());
        if (!decide) {
            QCOMPARE(sheet->result_count(), 0);
            QCOMPARE(history->steps(), steps);
            return;
        }
        const int count = action == 6 ? 4 : 3;
        QCOMPARE(sheet->result_count(), count + 1);
        const int first = sheet->first_result_col();
        QCOMPARE(sheet->text(1, first), shown(0, 3));
        QCOMPARE(sheet->is_hand_set(1, first), hand_set_lines == 1);
        QCOMPARE(sheet->text(3, first + count), third_grade);
        QCOMPARE(child<QComboBox>(object_name::viewpoint_choice)->count(), count + 1);
        // The check shows where marks that need a look are counted.
        sheet->set_current_cell(3, first + count);
        QTRY_COMPARE(label(object_name::look_alike_label), checked);
        history->close_step();
        QCOMPARE(history->steps(), steps + 1);
        history->undo();
        QCOMPARE(sheet->result_count(), 0);
    }

    // The panel is made only when first opened, by any of the ways to it,
    // and then stands as one made with the window would.
    void viewpoint_panel_made_when_first_opened_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("the button") << 0;
        QTest::newRow("the menu") << 1;
        QTest::newRow("F6 to the button, Space") << 2;
    }

    void viewpoint_panel_made_when_first_opened()
    {
        QFETCH(int, way);
        child<QScrollBar>(object_name::character_size_scroll)->setValue(16);  // 14 points
        three_viewpoint_columns();
        QVERIFY(!win->findChild<ViewpointPanel *>());
        QWidget *button = child<QWidget>(object_name::viewpoints_button);
        for (int i = 0; way == 2 && i < 20 && QApplication::focusWidget() != button; ++i)
            press_key(Qt::Key_F6);
        if (way == 1)
            win->menus()->action(Command::Viewpoints)->trigger();
        else
            way == 0 ? click(object_name::viewpoints_button) : press_key(Qt::Key_Space);
        auto *panel = win->findChild<ViewpointPanel *>();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(QApplication::focusWidget(), panel->results());
        // The sheet's font reaches none of its captions.
        for (const QLabel *caption : panel->findChildren<QLabel *>())
            QCOMPARE(caption->font().family(), fonts::panel_font().family());
        QCOMPARE(panel->geometry(),
                 QRect(4, 4, qMin(win->inputs()->x() - 8, 980), qMin(win->height() - 8, 640)));
        // Laid out again with the window from then on.
        win->parentWidget()->showNormal();
        win->parentWidget()->resize(900, 500);
        QTRY_COMPARE(panel->height(), qMin(win->height() - 8, 640));
    }

    // The copy for the school's system needs results in the sheet first.
    void viewpoint_copy_without_results()
    {
        QApplication::clipboard()->setText(u"before"_s);
        win->run(Command::CopyViewpoints);
        QCOMPARE(QApplication::clipboard()->text(), u"before"_s);
        QCOMPARE(prompter->messages().size(), 1);
        // Nor does the panel open on columns without a viewpoint.
        click(object_name::viewpoints_button);
        QVERIFY(!win->viewpoint_panel()->isVisible());
        QCOMPARE(prompter->messages().size(), 2);
    }
};


PONSAITEN_GUI_TEST_MAIN(TestEvaluation)
#include "test_evaluation.moc"
