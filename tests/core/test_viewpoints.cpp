#include "history.h"
#include "sheet.h"
#include "structure.h"
#include "viewpoints.h"

#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using Steps = std::function<void(Sheet &)>;
Q_DECLARE_METATYPE(Steps)

namespace {

// A sheet of four score columns (grid columns 5-8) with the given
// viewpoints, full marks and weights (space-separated; full marks 0 are not
// given) and one student row per entry of marks ("8|欠|5|").
void build(Sheet &sheet, const QString &viewpoints, const QString &full, const QString &weights,
           const QStringList &marks)
{
    sheet.build_new(120);
    sheet.insert_columns(7, 2);
    const QStringList f = full.split(u' '), w = weights.split(u' ');
    for (int k = 1; k <= 4; ++k) {
        sheet.set_full_marks(k, f[k - 1].toDouble());
        sheet.set_weight(k, w[k - 1].toDouble());
    }
    QVERIFY(viewpoints::set_column_viewpoints(sheet, viewpoints).isEmpty());
    for (int r = 0; r < marks.size(); ++r) {
        sheet.set_text(r + 1, 4, u"生徒"_s + QString::number(r + 1));
        const QStringList cells = marks[r].split(u'|');
        for (int i = 0; i < cells.size(); ++i)
            sheet.set_text(r + 1, 5 + i, cells[i]);
    }
}

// "rate letter|rate letter|…|評定" of one student.
QString shown(const viewpoints::Student &s)
{
    QStringList parts;
    for (qsizetype i = 0; i < s.rates.size(); ++i)
        parts << QString(viewpoints::rate_text(s.rates[i]) + u' ' + s.letters[i].value).trimmed();
    parts << s.grade.value;
    return parts.join(u'|');
}

// The result cells of a row as the sheet holds them, "*" after hand-set ones.
QString cells_of(const Sheet &sheet, int row)
{
    QStringList cells;
    for (int c = sheet.first_result_col(); c < sheet.cols(); ++c)
        cells << sheet.text(row, c) + (sheet.is_hand_set(row, c) ? u"*"_s : QString());
    return cells.join(u'|');
}

}  // namespace

class TestViewpoints : public QObject
{
    Q_OBJECT

private slots:
    void rates_and_letters_data()
    {
        QTest::addColumn<QString>("viewpoints");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("weights");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<double>("threshold_a");
        QTest::addColumn<QString>("expected");
        const QString all = u"知,知,思,態"_s, tens = u"10 10 10 10"_s;
        QTest::newRow("exactly at the thresholds") << all << tens << tens << u"8|8|5|9"_s << 80.0
                                                   << u"80 A|50 B|90 A|4"_s;
        QTest::newRow("just below A") << all << u"100 100 10 10"_s << tens << u"80|79|4|10"_s << 80.0
                                      << u"79.5 B|40 C|100 A|3"_s;
        QTest::newRow("other threshold A") << all << u"100 100 10 10"_s << tens << u"80|79|4|10"_s << 79.5
                                           << u"79.5 A|40 C|100 A|4"_s;
        QTest::newRow("absence leaves the item out") << all << tens << tens << u"欠|8|0|見学"_s << 80.0
                                                     << u"80 A|0 C|－|"_s;
        QTest::newRow("empty cell leaves it out, zero counts") << all << tens << tens << u"|8|5|0"_s
                                                               << 80.0 << u"80 A|50 B|0 C|3"_s;
        QTest::newRow("no mark at all") << all << tens << tens << u"|欠||"_s << 80.0 << u"|||"_s;
        QTest::newRow("weights") << all << tens << u"10 30 10 10"_s << u"10|5|5|5"_s << 80.0
                                 << u"62.5 B|50 B|50 B|3"_s;
        QTest::newRow("full marks not given follow the highest")
            << all << u"0 10 20 10"_s << tens << u"6|4|15|10"_s << 80.0 << u"62.5 B|75 B|100 A|4"_s;
        QTest::newRow("given full marks below a mark rise to it")
            << all << u"5 10 10 10"_s << tens << u"6|4|10|10"_s << 80.0 << u"62.5 B|100 A|100 A|4"_s;
        QTest::newRow("a column without viewpoint") << u"知,-,思,態"_s << tens << tens << u"8|0|10|10"_s
                                                    << 80.0 << u"80 A|100 A|100 A|5"_s;
        QTest::newRow("rate cut, not rounded") << u"知,知,知,-"_s << u"3 3 3 10"_s << tens
                                               << u"2|2|2|"_s << 80.0 << u"66.6 B|－|－|"_s;
    }

    void rates_and_letters()
    {
        QFETCH(QString, viewpoints);
        QFETCH(QString, full);
        QFETCH(QString, weights);
        QFETCH(QString, marks);
        QFETCH(double, threshold_a);
        QFETCH(QString, expected);
        Sheet sheet;
        build(sheet, viewpoints, full, weights, {marks});
        ViewpointSettings settings;
        settings.threshold_a = threshold_a;
        const viewpoints::Result result = viewpoints::compute(sheet, settings);
        QCOMPARE(result.students.size(), sheet.rows() - 1);
        QCOMPARE(shown(result.students[0]), expected);
        QCOMPARE(result.students[0].has_mark, expected != u"|||"_s);
    }

    void grades_data()
    {
        QTest::addColumn<bool>("by_rates");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("grade");
        QTest::newRow("AAA") << false << 3 << u"A A A"_s << 5;
        QTest::newRow("AAB") << false << 3 << u"A A B"_s << 4;
        QTest::newRow("ABB") << false << 3 << u"A B B"_s << 4;
        QTest::newRow("BBB") << false << 3 << u"B B B"_s << 3;
        QTest::newRow("BBC") << false << 3 << u"B B C"_s << 3;
        QTest::newRow("BCC") << false << 3 << u"B C C"_s << 2;
        QTest::newRow("CCC") << false << 3 << u"C C C"_s << 1;
        QTest::newRow("a letter missing") << false << 3 << u"A － A"_s << 0;
        QTest::newRow("full-width and small letters") << false << 3 << u"Ａ a A"_s << 5;
        QTest::newRow("one viewpoint B") << false << 1 << u"B"_s << 3;
        QTest::newRow("one viewpoint C") << false << 1 << u"C"_s << 1;
        QTest::newRow("two viewpoints AB") << false << 2 << u"A B"_s << 4;
        QTest::newRow("two viewpoints BC") << false << 2 << u"B C"_s << 2;
        QTest::newRow("four viewpoints AAAB") << false << 4 << u"A A A B"_s << 4;
        QTest::newRow("four viewpoints BBBC") << false << 4 << u"B B B C"_s << 3;
        QTest::newRow("four viewpoints CCCC") << false << 4 << u"C C C C"_s << 1;
        QTest::newRow("five viewpoints AAAAA") << false << 5 << u"A A A A A"_s << 5;
        QTest::newRow("five viewpoints BBBBB") << false << 5 << u"B B B B B"_s << 3;
        QTest::newRow("rates at the bound of 5") << true << 3 << u"90 90 90"_s << 5;
        QTest::newRow("rates just below it") << true << 3 << u"89.9 90 90"_s << 4;
        QTest::newRow("rates at the bound of 2") << true << 3 << u"29 30 31"_s << 2;
        QTest::newRow("rates below every bound") << true << 3 << u"10 20 29"_s << 1;
        QTest::newRow("rates, one missing") << true << 3 << u"90 -1 90"_s << 0;
    }

    void grades()
    {
        QFETCH(bool, by_rates);
        QFETCH(int, count);
        QFETCH(QString, input);
        QFETCH(int, grade);
        ViewpointSettings settings;
        settings.points_table = ViewpointSettings::default_points_table(count);
        const QStringList parts = input.split(u' ');
        QCOMPARE(parts.size(), count);
        if (!by_rates) {
            QCOMPARE(viewpoints::grade_of_letters(parts, settings), grade);
            return;
        }
        QList<double> rates;
        for (const QString &p : parts)
            rates << p.toDouble();
        QCOMPARE(viewpoints::grade_of_rates(rates, settings), grade);
    }

    // The default tables, and the method the settings name in compute.
    void conversion_tables()
    {
        QCOMPARE(ViewpointSettings().points_table, (QList<int>{1, 2, 3, 3, 4, 4, 5}));
        QCOMPARE(ViewpointSettings::default_points_table(2), (QList<int>{1, 2, 3, 4, 5}));
        QCOMPARE(ViewpointSettings::default_points_table(4), (QList<int>{1, 2, 2, 3, 3, 4, 4, 4, 5}));
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {u"8|8|2|"_s});
        ViewpointSettings settings;
        QCOMPARE(viewpoints::compute(sheet, settings).students[0].grade.value, u"4"_s);  // A A C
        settings.method = ViewpointSettings::Method::Rates;
        QCOMPARE(viewpoints::compute(sheet, settings).students[0].grade.value, u"3"_s);  // 60
        settings.points_table[4] = 1;  // the table is not what rates use
        QCOMPARE(viewpoints::compute(sheet, settings).students[0].grade.value, u"3"_s);
    }

    void hand_set_values_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("notes");
        // Row 1 computes A|B|A|4 (8, 5, 9 of 10).
        QTest::newRow("computed") << Steps([](Sheet &) {}) << u"A|B|A|4"_s << QString();
        QTest::newRow("a typed letter survives, 評定 follows it")
            << Steps([](Sheet &s) { s.set_text(1, s.first_result_col() + 1, u"A"_s); })
            << u"A|A*|A|5"_s << u"思: 手入力 A（再計算では B）"_s;
        QTest::newRow("a typed 評定 survives")
            << Steps([](Sheet &s) { s.set_text(1, s.first_result_col() + 3, u"3"_s); })
            << u"A|B|A|3*"_s << u"評定: 手入力 3（再計算では 4）"_s;
        QTest::newRow("typing the value already there changes nothing")
            << Steps([](Sheet &s) { s.set_text(1, s.first_result_col(), u"A"_s); }) << u"A|B|A|4"_s
            << QString();
        QTest::newRow("a hand-set mark on the computed value")
            << Steps([](Sheet &s) { s.set_hand_set(1, s.first_result_col(), true); }) << u"A*|B|A|4"_s
            << QString();
        QTest::newRow("clearing the cell gives it back")
            << Steps([](Sheet &s) {
                   s.set_text(1, s.first_result_col(), u"C"_s);
                   s.set_text(1, s.first_result_col(), QString());
               })
            << u"A|B|A|4"_s << QString();
        QTest::newRow("clearing the mark gives it back")
            << Steps([](Sheet &s) {
                   s.set_text(1, s.first_result_col(), u"C"_s);
                   s.set_hand_set(1, s.first_result_col(), false);
               })
            << u"A|B|A|4"_s << QString();
        QTest::newRow("marks change under a hand-set letter")
            << Steps([](Sheet &s) {
                   s.set_text(1, s.first_result_col() + 2, u"B"_s);
                   s.set_text(1, 7, u"2"_s);
               })
            << u"A|B|B*|4"_s << u"態: 手入力 B（再計算では C）"_s;
    }

    void hand_set_values()
    {
        QFETCH(Steps, steps);
        QFETCH(QString, cells);
        QFETCH(QString, notes);
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {u"8|5|9|"_s});
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        steps(sheet);
        // Recomputed and written again, as every later run of the command.
        const viewpoints::Result result = viewpoints::compute(sheet);
        viewpoints::write_results(sheet, result);
        QCOMPARE(cells_of(sheet, 1), cells);
        QCOMPARE(viewpoints::recomputation_notes(result, result.students[0]).join(u' '), notes);
    }

    void pending_corrections()
    {
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {u"8|5|9|"_s, u"1|1|1|"_s});
        sheet.set_text(2, 4, QString());  // rows are listed whether named or not
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        sheet.set_text(1, sheet.first_result_col(), u"C"_s);
        const ViewpointSettings &settings = sheet.viewpoint_settings();
        // Shown before they are written: one taken away, two set.
        const viewpoints::Result result = viewpoints::compute(
            sheet, settings, {{1, 0, QString()}, {1, 3, u"5"_s}, {2, 2, u"B"_s}});
        QCOMPARE(cells_of(sheet, 1), u"C*|B|A|4"_s);
        viewpoints::write_results(sheet, result);
        QCOMPARE(cells_of(sheet, 1), u"A|B|A|5*"_s);
        QCOMPARE(cells_of(sheet, 2), u"C|C|B*|2"_s);
        QCOMPARE(result.students[0].checks, QStringList{u"評定 5 は観点の評価からは 4 です"_s});
    }

    // 決定 as one step: undone, the sheet is as before, result columns gone.
    void writing_undone_and_redone()
    {
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {u"8|5|9|"_s});
        SheetHistory history(sheet);
        sheet.set_recorder(&history);
        const int cols = sheet.cols();
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        history.close_step();
        sheet.set_text(1, sheet.first_result_col() + 1, u"C"_s);
        history.close_step();
        QCOMPARE(sheet.result_count(), 4);
        QCOMPARE(sheet.cols(), cols + 4);
        QCOMPARE(sheet.total_col(), 9);
        QCOMPARE(sheet.grade_col(), 10);
        QCOMPARE(sheet.score_count(), 4);
        QCOMPARE(sheet.text(0, 11), u"知識・技能"_s);
        QCOMPARE(sheet.text(0, 14), u"評定"_s);
        history.undo();
        QCOMPARE(cells_of(sheet, 1), u"A|B|A|4"_s);
        history.undo();
        QCOMPARE(sheet.result_count(), 0);
        QCOMPARE(sheet.cols(), cols);
        QVERIFY(!sheet.is_result_col(cols - 1));
        history.redo();
        history.redo();
        QCOMPARE(cells_of(sheet, 1), u"A|C*|A|4"_s);
        // Deleting score columns leaves the results where they are.
        structure::delete_columns(sheet, 5, 1, 5);
        QCOMPARE(sheet.result_count(), 4);
        QCOMPARE(sheet.score_count(), 3);
        QCOMPARE(sheet.text(0, sheet.grade_col()), u"評価･評定"_s);
        history.close_step();
        history.undo();
        QCOMPARE(sheet.score_count(), 4);
        QCOMPARE(sheet.settings(1).viewpoint, 1);
    }

    void checks_data()
    {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("typed");  // result cells typed: letters, 評定
        QTest::addColumn<QStringList>("reasons");
        QTest::newRow("nothing to look at") << u"8|5|9"_s << u"|||"_s << QStringList();
        QTest::newRow("態 A, the others C") << u"1|1|9"_s << u"|||"_s
                                             << QStringList{u"主体的に学習に取り組む態度が A で、ほかの観点がすべて C です"_s};
        QTest::newRow("態 C, the others A") << u"9|9|1"_s << u"|||"_s
                                             << QStringList{u"主体的に学習に取り組む態度が C で、ほかの観点がすべて A です"_s};
        QTest::newRow("態 A with B and C") << u"5|1|9"_s << u"|||"_s << QStringList();
        QTest::newRow("a typed letter takes it away") << u"1|1|9"_s << u"B|||"_s << QStringList();
        QTest::newRow("評定 against the letters") << u"8|5|9"_s << u"|||2"_s
                                                     << QStringList{u"評定 2 は観点の評価からは 4 です"_s};
        QTest::newRow("no letter, no 評定") << u"8|5|9"_s << u"X||Ｄ|6"_s
                                              << QStringList{u"知の「X」は A・B・C のどれでもありません"_s,
                                                             u"態の「Ｄ」は A・B・C のどれでもありません"_s,
                                                             u"評定「6」は 1～5 のどれでもありません"_s};
    }

    void checks()
    {
        QFETCH(QString, marks);
        QFETCH(QString, typed);
        QFETCH(QStringList, reasons);
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {marks, u"8|5|9"_s});
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        const QStringList cells = typed.split(u'|');
        for (int i = 0; i < cells.size(); ++i)
            if (!cells[i].isEmpty())
                sheet.set_text(1, sheet.first_result_col() + i, cells[i]);
        const viewpoints::Result result = viewpoints::compute(sheet);
        QCOMPARE(result.students[0].checks, reasons);
        QCOMPARE(result.checked_count(), reasons.isEmpty() ? 0 : 1);
    }

    void distribution_and_clipboard()
    {
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, u"10 10 10 10"_s, u"10 10 10 10"_s,
              {u"8|5|9"_s, u"1|1|1"_s, u"9|9|9"_s, u"欠||"_s});
        sheet.set_text(1, 1, u"2"_s);
        sheet.set_text(1, 2, u"3"_s);
        sheet.set_text(1, 3, u"1"_s);
        QCOMPARE(viewpoints::clipboard_text(sheet), QString());
        const viewpoints::Result result = viewpoints::compute(sheet);
        viewpoints::write_results(sheet, result);
        sheet.set_text(2, sheet.first_result_col() + 3, u"2"_s);
        for (const viewpoints::Distribution &d : {viewpoints::distribution(result), viewpoints::distribution(sheet)}) {
            QCOMPARE(d.letters.size(), 3);
            QCOMPARE(d.letters[0], (std::array<int, 3>{2, 0, 1}));
            QCOMPARE(d.letters[1], (std::array<int, 3>{1, 1, 1}));
            QCOMPARE(d.graded, 3);
        }
        QCOMPARE(viewpoints::distribution(result).grades, (std::array<int, 5>{1, 0, 0, 1, 1}));
        QCOMPARE(viewpoints::distribution(sheet).grades, (std::array<int, 5>{0, 1, 0, 1, 1}));
        QCOMPARE(viewpoints::distribution(sheet).grade_average, 11.0 / 3);
        QCOMPARE(viewpoints::clipboard_text(sheet), u"2\t3\t1\t生徒1\tA\tB\tA\t4\r\n"
                                                    u"\t\t\t生徒2\tC\tC\tC\t2\r\n"
                                                    u"\t\t\t生徒3\tA\tA\tA\t5\r\n"
                                                    u"\t\t\t生徒4\t\t\t\t\r\n"_s);
    }

    void column_viewpoints_from_a_list_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("short names and none") << u"態,-,知,思"_s << QString() << QList<int>{3, 0, 1, 2};
        QTest::newRow("too few") << u"知,思"_s << u"観点の数 2 が素点の列の数 4 と合いません"_s
                                 << QList<int>{1, 1, 1, 1};
        QTest::newRow("unknown name") << u"知,思,主,-"_s << u"「主」という観点はありません"_s
                                      << QList<int>{1, 1, 1, 1};
    }

    void column_viewpoints_from_a_list()
    {
        QFETCH(QString, list);
        QFETCH(QString, error);
        QFETCH(QList<int>, columns);
        Sheet sheet;
        build(sheet, u"知,知,知,知"_s, u"10 10 10 10"_s, u"10 10 10 10"_s, {});
        QCOMPARE(viewpoints::set_column_viewpoints(sheet, list), error);
        QCOMPARE(viewpoints::column_viewpoints(sheet), columns);
    }
};

QTEST_GUILESS_MAIN(TestViewpoints)
#include "test_viewpoints.moc"
