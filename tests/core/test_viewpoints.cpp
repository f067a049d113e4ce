#include "history.h"
#include "sheet.h"
#include "structure.h"
#include "viewpoints.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kTens = u"10 10 10 10"_s;

// A sheet of four score columns (grid columns 5-8) with the given
// viewpoints, full marks and weights (space-separated; full marks 0 are not
// given) and one student row per entry of marks ("8|欠|5|").
void build(Sheet &sheet, const QString &viewpoints, const QStringList &marks, const QString &full = kTens,
           const QString &weights = kTens)
{
    sheet.build_new(120);
    sheet.insert_columns(7, 2);
    const QStringList f = full.split(u' '), w = weights.split(u' ');
    for (int k = 1; k <= 4; ++k) {
        sheet.set_full_marks(k, f[k - 1].toDouble());
        sheet.set_weight(k, w[k - 1].toDouble());
    }
    QVERIFY(viewpoints::set_column_viewpoints(sheet, viewpoints).isEmpty());
    for (int r = 1; r <= marks.size(); ++r)
        sheet.set_row_texts(r, 4, QStringList{u"生徒"_s + QString::number(r)} + marks[r - 1].split(u'|'));
}

ViewpointSettings with_count(int count)
{
    ViewpointSettings settings{.viewpoints = ViewpointSettings::default_viewpoints()
                                             << Viewpoint{u"話すこと・聞くこと"_s, u"話"_s}};
    settings.viewpoints.resize(count);
    settings.points_table = ViewpointSettings::default_points_table(count);
    return settings;
}

// What the teacher does in row 1, one step a word: "t1=A" types A into the
// second result column, "h0" / "u0" sets / takes away the first one's
// hand-set mark, "m7=2" types 2 into grid column 7, "v4" makes four
// viewpoints, "p3=5" is a correction in the panel, not yet written.
QList<viewpoints::Correction> act(Sheet &sheet, const QString &script)
{
    QList<viewpoints::Correction> pending;
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        const int n = step.mid(1).section(u'=', 0, 0).toInt();
        const QString value = step.section(u'=', 1);
        const int col = sheet.first_result_col() + n;
        switch (step[0].unicode()) {
        case u't': sheet.set_text(1, col, value); break;
        case u'h': sheet.set_hand_set(1, col, true); break;
        case u'u': sheet.set_hand_set(1, col, false); break;
        case u'm': sheet.set_text(1, n, value); break;
        case u'v': sheet.set_viewpoint_settings(with_count(n)); break;
        case u'p': pending.append({1, n, value}); break;
        default: qFatal("unknown step");
        }
    }
    return pending;
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
    // "viewpoints;full marks;weights;marks;threshold A;rate letter|…|評定[;rates]"
    void rates_and_letters_data()
    {
        QTest::addColumn<QString>("row");
        const char *rows[][2] = {
            {"exactly at the thresholds", "知,知,思,態;;;8|8|5|9;80;80 A|50 B|90 A|4"},
            {"just below A", "知,知,思,態;100 100 10 10;;80|79|4|10;80;79.5 B|40 C|100 A|3"},
            {"other threshold A", "知,知,思,態;100 100 10 10;;80|79|4|10;79.5;79.5 A|40 C|100 A|4"},
            {"absence leaves the item out", "知,知,思,態;;;欠|8|0|見学;80;80 A|0 C|－|"},
            {"empty cell out, zero in", "知,知,思,態;;;|8|5|0;80;80 A|50 B|0 C|3"},
            {"no mark at all", "知,知,思,態;;;|欠||;80;|||"},
            {"weights", "知,知,思,態;;10 30 10 10;10|5|5|5;80;62.5 B|50 B|50 B|3"},
            {"full marks not given follow the highest", "知,知,思,態;0 10 20 10;;6|4|15|10;80;62.5 B|75 B|100 A|4"},
            {"given full marks below a mark rise", "知,知,思,態;5 10 10 10;;6|4|10|10;80;62.5 B|100 A|100 A|4"},
            {"a column without viewpoint, short names", "思,-,態,知;;;8|0|10|10;80;100 A|80 A|100 A|5"},
            {"rate cut, not rounded", "知,知,知,-;3 3 3 10;;2|2|2|;80;66.6 B|－|－|"},
            {"評定 by points", "知,思,態,-;;;8|8|2|;80;80 A|80 A|20 C|4"},
            {"評定 by rates, not by the table", "知,思,態,-;;;8|8|2|;80;80 A|80 A|20 C|3;rates"}};
        for (const auto &[name, row] : rows)
            QTest::newRow(name) << QString::fromUtf8(row);
    }

    void rates_and_letters()
    {
        QFETCH(QString, row);
        const QStringList f = row.split(u';');
        Sheet sheet;
        build(sheet, f[0], {f[3]}, f[1].isEmpty() ? kTens : f[1], f[2].isEmpty() ? kTens : f[2]);
        const viewpoints::Result result = viewpoints::compute(
            sheet, {.threshold_a = f[4].toDouble(), .method = ViewpointSettings::Method(f.size() > 6)});
        const viewpoints::Student &s = result.students[0];
        QStringList shown;  // "rate letter|rate letter|…|評定"
        for (qsizetype i = 0; i < s.rates.size(); ++i)
            shown << QString(viewpoints::rate_text(s.rates[i]) + u' ' + s.letters[i].value).trimmed();
        QCOMPARE((shown << s.grade.value).join(u'|'), f[5]);
        QCOMPARE(s.has_mark, f[5] != u"|||"_s);
        QCOMPARE(result.students.size(), sheet.rows() - 1);
    }

    // "letters=grade" by the points table for that many viewpoints, or
    // "rates=grade" by the rate bounds.
    void grades_data()
    {
        QTest::addColumn<QString>("input");
        for (const char *row : {"A A A=5", "A A B=4", "A B B=4", "B B B=3", "B B C=3", "B C C=2", "C C C=1",
                                "A － A=0", "Ａ a A=5", "B=3", "C=1", "A B=4", "B C=2", "A A A B=4",
                                "B B B C=3", "C C C C=1", "A A A A A=5", "B B B B B=3", "90 90 90=5",
                                "89.9 90 90=4", "29 30 31=2", "10 20 29=1", "90 -1 90=0"})
            QTest::newRow(row) << QString::fromUtf8(row);
    }

    void grades()
    {
        QFETCH(QString, input);
        const QStringList parts = input.section(u'=', 0, 0).split(u' ');
        const int grade = input.section(u'=', 1).toInt();
        const ViewpointSettings settings = with_count(int(parts.size()));
        bool by_rates = false;
        QList<double> rates;
        for (const QString &p : parts)
            rates << p.toDouble(&by_rates);
        QCOMPARE(by_rates ? viewpoints::grade_of_rates(rates, settings) : viewpoints::grade_of_letters(parts, settings),
                 grade);
    }

    // Row 1's result cells after the teacher's steps and a recomputation,
    // "; " what a recomputation would give, "; " the checks.
    void after_the_teacher_data()
    {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const char *rows[][4] = {
            {"computed", "8|5|9", "", "A|B|A|4; ; "},
            {"a typed letter survives, 評定 follows it", "8|5|9", "t1=A", "A|A*|A|5; 思: 手入力 A（再計算では B）; "},
            {"a typed 評定 survives, checked", "8|5|9", "t3=3",
             "A|B|A|3*; 評定: 手入力 3（再計算では 4）; 評定 3 は観点の評価からは 4 です"},
            {"typing the value already there changes nothing", "8|5|9", "t0=A", "A|B|A|4; ; "},
            {"a hand-set mark on the computed value", "8|5|9", "h0", "A*|B|A|4; ; "},
            {"clearing the cell gives it back", "8|5|9", "t0=C t0=", "A|B|A|4; ; "},
            {"clearing the mark gives it back", "8|5|9", "t0=C u0", "A|B|A|4; ; "},
            // 評定 is always the last result column, however many come before.
            {"a viewpoint more", "8|5|9", "t3=3 v4", "A|B|A|－|3*; 評定: 手入力 3（再計算では 空欄）; "},
            {"a viewpoint fewer", "8|5|9", "v2", "A|B|4; ; "},
            {"corrections in the panel", "8|5|9", "t0=C p0= p3=5 p2=B",
             "A|B|B*|5*; 態: 手入力 B（再計算では A） 評定: 手入力 5（再計算では 4）; 評定 5 は観点の評価からは 4 です"},
            {"marks change under a hand-set letter", "8|5|9", "t2=B m7=2", "A|B|B*|4; 態: 手入力 B（再計算では C）; "},
            {"態 A, the others C", "1|1|9", "", "C|C|A|3; ; 主体的に学習に取り組む態度が A で、ほかの観点がすべて C です"},
            {"態 C, the others A", "9|9|1", "", "A|A|C|4; ; 主体的に学習に取り組む態度が C で、ほかの観点がすべて A です"},
            {"態 A with B and C", "5|1|9", "", "B|C|A|3; ; "},
            {"a typed letter takes it away", "1|1|9", "t0=B", "B*|C|A|3; 知: 手入力 B（再計算では C）; "},
            {"no letter, no 評定", "8|5|9", "t0=X t2=Ｄ t3=6",
             "X*|B|Ｄ*|6*; 知: 手入力 X（再計算では A） 態: 手入力 Ｄ（再計算では A） 評定: 手入力 6（再計算では 空欄）; "
             "知の「X」は A・B・C のどれでもありません 態の「Ｄ」は A・B・C のどれでもありません 評定「6」は 1～5 のどれでもありません"}};
        for (const auto &[name, marks, script, expected] : rows)
            QTest::newRow(name) << QString::fromUtf8(marks) << QString::fromUtf8(script) << QString::fromUtf8(expected);
    }

    void after_the_teacher()
    {
        QFETCH(QString, marks);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, {marks, u"8|5|9|"_s});
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        const QList<viewpoints::Correction> pending = act(sheet, script);
        // Recomputed and written again, as every later run of the command.
        const viewpoints::Result result = viewpoints::compute(sheet, sheet.viewpoint_settings(), pending);
        viewpoints::write_results(sheet, result);
        const viewpoints::Student &s = result.students[0];
        QCOMPARE(cells_of(sheet, 1) + u"; "_s + viewpoints::recomputation_notes(result, s).join(u' ') + u"; "_s +
                     s.checks.join(u' '),
                 expected);
        QCOMPARE(result.checked_count(), s.checks.size() > 0 ? 1 : 0);
    }

    // 決定 as one step: undone, the sheet is as before, result columns gone.
    void writing_undone_and_redone()
    {
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, {u"8|5|9|"_s});
        SheetHistory history(sheet);
        sheet.set_recorder(&history);
        auto shape = [&sheet] {
            return QList<int>{sheet.cols(), sheet.result_count(), sheet.total_col(), sheet.grade_col(),
                              sheet.score_count(), sheet.settings(1).viewpoint};
        };
        viewpoints::write_results(sheet, viewpoints::compute(sheet));
        history.close_step();
        sheet.set_text(1, 12, u"C"_s);  // 思
        history.close_step();
        QCOMPARE(shape(), (QList<int>{15, 4, 9, 10, 4, 1}));
        QCOMPARE(sheet.text(0, 11) + sheet.text(0, 14), u"知識・技能評定"_s);
        history.undo();
        QCOMPARE(cells_of(sheet, 1), u"A|B|A|4"_s);
        history.undo();
        QCOMPARE(shape(), (QList<int>{11, 0, 9, 10, 4, 1}));
        history.redo();
        history.redo();
        QCOMPARE(cells_of(sheet, 1), u"A|C*|A|4"_s);
        // Deleting a score column leaves the results where they are.
        structure::delete_columns(sheet, 5, 1, 5);
        QCOMPARE(shape(), (QList<int>{14, 4, 8, 9, 3, 2}));
        history.close_step();
        history.undo();
        QCOMPARE(shape(), (QList<int>{15, 4, 9, 10, 4, 1}));
    }

    void distribution_and_clipboard()
    {
        Sheet sheet;
        build(sheet, u"知,思,態,-"_s, {u"8|5|9"_s, u"1|1|1"_s, u"9|9|9"_s, u"欠||"_s});
        sheet.set_row_texts(1, 1, {u"2"_s, u"3"_s, u"1"_s});
        QCOMPARE(viewpoints::clipboard_text(sheet), QString());
        const viewpoints::Result result = viewpoints::compute(sheet);
        viewpoints::write_results(sheet, result);
        sheet.set_text(2, sheet.first_result_col() + 3, u"2"_s);
        for (const viewpoints::Distribution &d : {viewpoints::distribution(result), viewpoints::distribution(sheet)}) {
            QCOMPARE(d.letters, (QList<std::array<int, 3>>{{2, 0, 1}, {1, 1, 1}, {2, 0, 1}}));
            QCOMPARE(d.graded, 3);
        }
        QCOMPARE(viewpoints::distribution(result).grades, (std::array<int, 5>{1, 0, 0, 1, 1}));
        QCOMPARE(viewpoints::distribution(sheet).grades, (std::array<int, 5>{0, 1, 0, 1, 1}));
        QCOMPARE(viewpoints::distribution(sheet).grade_average, 11.0 / 3);
        QCOMPARE(viewpoints::clipboard_text(sheet), u"2\t3\t1\t生徒1\tA\tB\tA\t4\r\n\t\t\t生徒2\tC\tC\tC\t2\r\n"
                                                    u"\t\t\t生徒3\tA\tA\tA\t5\r\n\t\t\t生徒4\t\t\t\t\r\n"_s);
    }

};

QTEST_GUILESS_MAIN(TestViewpoints)
#include "test_viewpoints.moc"
