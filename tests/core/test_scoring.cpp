#include "numbers.h"
#include "scoring.h"
#include "sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Student rows are written as "a,b,c": one cell per score column.
void fill(Sheet &sheet, const QList<double> &weights, const QList<double> &full_marks,
          const QStringList &rows)
{
    const int n = int(weights.size());
    sheet.set_cols(n + 7);
    sheet.set_rows(int(rows.size()) + 1);
    for (int k = 1; k <= n; ++k) {
        sheet.set_weight(k, weights[k - 1]);
        sheet.set_full_marks(k, full_marks[k - 1]);
    }
    for (int r = 1; r <= rows.size(); ++r) {
        const QStringList cells = rows[r - 1].split(u',');
        for (int k = 1; k <= cells.size(); ++k)
            sheet.set_text(r, k + 4, cells[k - 1]);
        sheet.set_text(r, sheet.total_col(), u"old"_s);
    }
}

}  // namespace

class TestScoring : public QObject
{
    Q_OBJECT

private slots:
    void totals_data()
    {
        QTest::addColumn<QList<double>>("weights");
        QTest::addColumn<QList<double>>("full_marks");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QList<double>>("raised");
        QTest::addColumn<QStringList>("texts");

        const QList<double> w10{10, 10};
        const QList<double> m10_50{10, 50};
        QTest::newRow("weighted percentage")
            << w10 << m10_50 << QStringList{u"8,45"_s} << QStringList{u" 88"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("empty cell leaves its full marks out")
            << w10 << m10_50 << QStringList{u"8,"_s} << QStringList{u" 80"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("absence mark leaves its full marks out")
            << w10 << m10_50 << QStringList{u"8,欠"_s} << QStringList{u" 80"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("full-width digits hold no score")
            << w10 << m10_50 << QStringList{u"８,45"_s} << QStringList{u" 90"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("zero counts with its full marks")
            << w10 << m10_50 << QStringList{u"8,0"_s} << QStringList{u" 13"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("zero with a unit counts too")
            << w10 << m10_50 << QStringList{u"8,0点"_s} << QStringList{u" 13"_s}
            << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("a half rounds up")
            << QList<double>{1} << QList<double>{200} << QStringList{u"149"_s}
            << QStringList{u" 75"_s} << QList<double>{200} << QStringList{u"200"_s};
        QTest::newRow("just below a half rounds down")
            << QList<double>{1} << QList<double>{200} << QStringList{u"148.9"_s}
            << QStringList{u" 74"_s} << QList<double>{200} << QStringList{u"200"_s};
        QTest::newRow("full marks raised to the highest score 45")
            << QList<double>{10} << QList<double>{0}
            << QStringList{u"30"_s, u"45"_s, u"40"_s}
            << QStringList{u" 67"_s, u" 100"_s, u" 89"_s} << QList<double>{45}
            << QStringList{u"45"_s};
        // The 60 sits in the last row: the first row's total must already use it.
        QTest::newRow("full marks raised to 60 before any total")
            << w10 << QList<double>{50, 100} << QStringList{u"30,100"_s, u"60,50"_s}
            << QStringList{u" 81"_s, u" 69"_s} << QList<double>{60, 100}
            << QStringList{u"60"_s, u"100"_s};
        QTest::newRow("full marks never lowered")
            << QList<double>{10} << QList<double>{100} << QStringList{u"30"_s}
            << QStringList{u" 30"_s} << QList<double>{100} << QStringList{u"100"_s};
        QTest::newRow("raised to a fraction")
            << QList<double>{10} << QList<double>{40} << QStringList{u"47.5"_s}
            << QStringList{u" 100"_s} << QList<double>{47.5} << QStringList{u"47.5"_s};
        QTest::newRow("only a weight-0 column gives 0")
            << QList<double>{0, 10} << QList<double>{10, 10} << QStringList{u"8,"_s}
            << QStringList{u" 0"_s} << QList<double>{10, 10}
            << QStringList{u"10"_s, u"10"_s};
        // The guard sets D to 1 after the weight-0 column, so 80 / 101.
        QTest::newRow("weight-0 column first gives 79")
            << QList<double>{0, 10} << QList<double>{10, 10} << QStringList{u"8,8"_s}
            << QStringList{u" 79"_s} << QList<double>{10, 10}
            << QStringList{u"10"_s, u"10"_s};
        QTest::newRow("weight-0 column last gives 80")
            << QList<double>{10, 0} << QList<double>{10, 10} << QStringList{u"8,8"_s}
            << QStringList{u" 80"_s} << QList<double>{10, 10}
            << QStringList{u"10"_s, u"10"_s};
        QTest::newRow("guard after every counted cell gives 50")
            << QList<double>{1, 1} << QList<double>{0, 1} << QStringList{u"0,1"_s}
            << QStringList{u" 50"_s} << QList<double>{0, 1}
            << QStringList{u"0"_s, u"1"_s};
        QTest::newRow("row without a score gets an empty total")
            << w10 << m10_50 << QStringList{u"8,45"_s, u","_s, u"欠,abc"_s}
            << QStringList{u" 88"_s, u""_s, u""_s} << m10_50
            << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("negative score")
            << QList<double>{10} << QList<double>{10} << QStringList{u"-3"_s}
            << QStringList{u"-30"_s} << QList<double>{10} << QStringList{u"10"_s};
        QTest::newRow("negative weight")
            << QList<double>{-10, 20} << QList<double>{10, 10} << QStringList{u"5,10"_s}
            << QStringList{u" 150"_s} << QList<double>{10, 10}
            << QStringList{u"10"_s, u"10"_s};
        // D goes -100 then back to 0 at the last cell, where the guard makes it 1.
        QTest::newRow("denominator back to 0 is guarded")
            << QList<double>{-10, 10} << QList<double>{10, 10} << QStringList{u"5,10"_s}
            << QStringList{u" 5000"_s} << QList<double>{10, 10}
            << QStringList{u"10"_s, u"10"_s};
        // The counter is not reset: columns before the first score keep their
        // text, columns after it are rewritten even without a score.
        QTest::newRow("full-marks text from the first scored column on")
            << QList<double>{10, 10, 10} << QList<double>{0, 0, 0}
            << QStringList{u",5,"_s, u",,"_s}
            << QStringList{u" 100"_s, u""_s} << QList<double>{0, 5, 0}
            << QStringList{u"不明"_s, u"5"_s, u"0"_s};
        // Nothing infinite reaches a total: the score that overflows counts as
        // none, and the other students keep their totals.
        QTest::newRow("score too large to weigh reads as none")
            << w10 << m10_50 << QStringList{u"1E308,45"_s, u"8,45"_s}
            << QStringList{u" 90"_s, u" 88"_s} << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("weight too large leaves its column out")
            << QList<double>{1e308, 10} << m10_50 << QStringList{u"8,45"_s}
            << QStringList{u" 90"_s} << m10_50 << QStringList{u"10"_s, u"50"_s};
        QTest::newRow("total overflowing a cancelled denominator is empty")
            << QList<double>{1, -1} << QList<double>{1, 1 - 0x1p-52} << QStringList{u"-1E300,0"_s}
            << QStringList{u""_s} << QList<double>{1, 1 - 0x1p-52} << QStringList{u"1"_s, u"1"_s};
        QTest::newRow("no score anywhere keeps every text")
            << w10 << QList<double>{0, 30} << QStringList{u","_s}
            << QStringList{u""_s} << QList<double>{0, 30}
            << QStringList{u"不明"_s, u"30"_s};
    }

    void totals()
    {
        QFETCH(QList<double>, weights);
        QFETCH(QList<double>, full_marks);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, totals);
        QFETCH(QList<double>, raised);
        QFETCH(QStringList, texts);

        Sheet sheet;
        fill(sheet, weights, full_marks, rows);
        scoring::compute_totals(sheet);

        for (int r = 1; r <= rows.size(); ++r)
            QCOMPARE(sheet.text(r, sheet.total_col()), totals[r - 1]);
        for (int k = 1; k <= weights.size(); ++k) {
            QCOMPARE(sheet.settings(k).full_marks, raised[k - 1]);
            QCOMPARE(sheet.settings(k).full_marks_text, texts[k - 1]);
            // The evaluation never makes full marks the teacher's own.
            QCOMPARE(sheet.settings(k).full_marks_given, full_marks[k - 1] != 0);
        }
    }

    void no_score_column_keeps_total_column()
    {
        Sheet sheet;
        sheet.set_cols(7);
        sheet.set_rows(3);
        sheet.set_text(1, sheet.total_col(), u" 55"_s);
        sheet.set_text(2, sheet.total_col(), u"note"_s);
        const scoring::TotalStatistics stats = scoring::compute_totals(sheet);
        QCOMPARE(sheet.text(1, 5), u" 55"_s);
        QCOMPARE(sheet.text(2, 5), u"note"_s);
        // The statistics still read the column as it stands.
        QCOMPARE(stats.highest, 55.0);
        QCOMPARE(stats.classes[5], 1);
    }

    void current_column_full_marks_data()
    {
        QTest::addColumn<int>("cursor_col");
        QTest::addColumn<QStringList>("texts");
        // Column 1 holds no score and comes first, so only the cursor rewrites it.
        QTest::newRow("name column") << 4 << QStringList{u"不明"_s, u"45"_s};
        QTest::newRow("first score column") << 5 << QStringList{u"0"_s, u"45"_s};
        QTest::newRow("second score column") << 6 << QStringList{u"不明"_s, u"45"_s};
        QTest::newRow("total column") << 7 << QStringList{u"不明"_s, u"45"_s};
    }

    void current_column_full_marks()
    {
        QFETCH(int, cursor_col);
        QFETCH(QStringList, texts);

        Sheet sheet;
        fill(sheet, {10, 10}, {0, 0}, {u",45"_s});
        sheet.set_current_cell(1, cursor_col);
        scoring::compute_totals(sheet);
        for (int k = 1; k <= 2; ++k) {
            QCOMPARE(sheet.settings(k).full_marks_text, texts[k - 1]);
            QVERIFY(!sheet.settings(k).full_marks_given);  // still the program's, not the teacher's
        }
    }

    // A typo corrected leaves no trace where the program inferred the full
    // marks; full marks the teacher typed are only ever raised.
    void full_marks_after_a_corrected_typo_data()
    {
        QTest::addColumn<double>("typed");
        QTest::addColumn<double>("after_typo");
        QTest::addColumn<double>("after_correction");
        QTest::addColumn<QString>("total_of_74");
        QTest::newRow("inferred") << 0.0 << 150.0 << 74.0 << u" 100"_s;
        QTest::newRow("typed 100") << 100.0 << 150.0 << 150.0 << u" 49"_s;
    }

    void full_marks_after_a_corrected_typo()
    {
        QFETCH(double, typed);
        QFETCH(double, after_typo);
        QFETCH(double, after_correction);
        QFETCH(QString, total_of_74);
        Sheet sheet;
        fill(sheet, {10}, {typed}, {u"74"_s, u"150"_s});
        scoring::compute_totals(sheet);
        QCOMPARE(sheet.settings(1).full_marks, after_typo);
        sheet.set_text(2, 5, u"66"_s);
        scoring::compute_totals(sheet);
        QCOMPARE(sheet.settings(1).full_marks, after_correction);
        QCOMPARE(sheet.text(1, sheet.total_col()), total_of_74);
    }

    void marks_above_full_marks()
    {
        Sheet sheet;
        fill(sheet, {10, 10, 10}, {100, 0, 50}, {u"150,150,50"_s, u"99,7,50.5"_s});
        const auto above = scoring::marks_above_full_marks(sheet);
        // Only typed full marks: the inferred column 2 is never above its own.
        QCOMPARE(above.size(), size_t(2));
        QCOMPARE((QList<double>{double(above[0].row), double(above[0].k), above[0].mark, above[0].full_marks}),
                 (QList<double>{1, 1, 150, 100}));
        QCOMPARE((QList<double>{double(above[1].row), double(above[1].k), above[1].mark, above[1].full_marks}),
                 (QList<double>{2, 3, 50.5, 50}));
    }

    // 中止 puts back the totals and full marks the evaluation wrote, each in
    // its row after rows went and came back; what the teacher changed since stays.
    void totals_backup_puts_back_what_the_evaluation_wrote()
    {
        Sheet sheet;
        fill(sheet, {10, 10, 10}, {0, 100, 0},
             {u"50,80,5"_s, u"40,90,6"_s, u"30,70,7"_s, u"20,60,8"_s});
        for (int r = 1; r <= 4; ++r)
            sheet.set_text(r, sheet.total_col(), u"t"_s + QString::number(r));
        scoring::TotalsBackup backup;
        backup.save(sheet);
        scoring::compute_totals(sheet);
        backup.note_result(sheet);
        sheet.set_text(2, sheet.total_col(), u"99"_s);
        sheet.set_full_marks(1, 60);
        backup.put_rows(3, 2, backup.take_rows(3, 2));
        backup.restore(sheet);
        QCOMPARE(sheet.column_texts(sheet.total_col()).mid(1),
                 (QStringList{u"t1"_s, u"99"_s, u"t3"_s, u"t4"_s}));
        QCOMPARE((QList<double>{sheet.settings(1).full_marks, sheet.settings(2).full_marks,
                                sheet.settings(3).full_marks}),
                 (QList<double>{60, 100, 0}));
    }

    void compute_totals_returns_statistics_of_new_totals()
    {
        Sheet sheet;
        fill(sheet, {10}, {100}, {u"9"_s, u"120"_s, u""_s});
        const scoring::TotalStatistics stats = scoring::compute_totals(sheet);
        QCOMPARE(stats.highest, 100.0);  // full marks were raised to 120
        QCOMPARE(stats.lowest, 8.0);
        QCOMPARE(stats.classes[0], 1);
        QCOMPARE(stats.classes[9], 1);
    }

    void total_statistics_data()
    {
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<double>("highest");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<QList<int>>("classes");

        QTest::newRow("class boundaries")
            << QStringList{u" 9"_s, u" 10"_s, u" 99"_s, u" 100"_s, u" 120"_s} << 120.0 << 9.0
            << QList<int>{1, 1, 0, 0, 0, 0, 0, 0, 0, 3};
        QTest::newRow("no total") << QStringList{u""_s, u"abc"_s, u"-0"_s} << -99999.0
                                  << 99999.0 << QList<int>(10, 0);
        QTest::newRow("no rows") << QStringList{} << -99999.0 << 99999.0 << QList<int>(10, 0);
        QTest::newRow("fractions stay in their class")
            << QStringList{u"89.5"_s, u"0"_s, u"19.99"_s} << 89.5 << 0.0
            << QList<int>{1, 1, 0, 0, 0, 0, 0, 0, 1, 0};
        QTest::newRow("spaces around a total")
            << QStringList{u"  70  "_s, u"text"_s} << 70.0 << 70.0
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
        // A negative total has no class but still counts as the lowest.
        QTest::newRow("negative total")
            << QStringList{u"-5"_s, u" 0"_s, u"-0.5"_s} << 0.0 << -5.0
            << QList<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        // The lowest starts at 99999, so a total above it never becomes the lowest.
        QTest::newRow("huge total falls into the top class")
            << QStringList{u"1e300"_s} << 1e300 << 99999.0
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    }

    void total_statistics()
    {
        QFETCH(QStringList, totals);
        QFETCH(double, highest);
        QFETCH(double, lowest);
        QFETCH(QList<int>, classes);

        Sheet sheet;
        sheet.set_cols(9);
        sheet.set_rows(int(totals.size()) + 1);
        for (int r = 1; r <= totals.size(); ++r)
            sheet.set_text(r, sheet.total_col(), totals[r - 1]);
        const scoring::TotalStatistics stats = scoring::total_statistics(sheet);
        QCOMPARE(stats.highest, highest);
        QCOMPARE(stats.lowest, lowest);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(stats.classes[i], classes[i]);
    }

    void column_average_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("average");
        QTest::newRow("two decimals") << QStringList{u"70"_s, u"74.7"_s} << u"72.35"_s;
        QTest::newRow("whole number") << QStringList{u"80"_s, u"80"_s, u""_s} << u"80"_s;
        QTest::newRow("empty column") << QStringList{u""_s, u""_s} << u"0"_s;
        QTest::newRow("spaces only are empty") << QStringList{u"   "_s, u"10"_s} << u"10"_s;
        // Absences and text are no score: the average is of those who sat it.
        QTest::newRow("absence left out") << QStringList{u"欠"_s, u"80"_s, u"70"_s} << u"75"_s;
        QTest::newRow("a name left out") << QStringList{u"山田"_s, u"80"_s} << u"80"_s;
        QTest::newRow("zero counts") << QStringList{u"0"_s, u"80"_s} << u"40"_s;
        QTest::newRow("rounded to two decimals")
            << QStringList{u"1"_s, u"2"_s, u"2"_s} << u"1.67"_s;
        QTest::newRow("a half rounds up") << QStringList{u"0.125"_s} << u"0.13"_s;
        // The mark that would overflow the sum is left out like text.
        QTest::newRow("overflow never shows") << QStringList{u"1E308"_s, u"1E308"_s} << u"1E+308"_s;
        QTest::newRow("negative half rounds up")
            << QStringList{u"-0.125"_s} << u"-0.12"_s;
    }

    void column_average()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, average);
        Sheet sheet;
        sheet.set_cols(9);
        sheet.set_rows(int(cells.size()) + 1);
        for (int r = 1; r <= cells.size(); ++r)
            sheet.set_text(r, 6, cells[r - 1]);
        sheet.set_text(1, 5, u"999"_s);  // a neighbouring column does not count
        QCOMPARE(scoring::column_average(sheet, 2), average);
    }
};

QTEST_GUILESS_MAIN(TestScoring)
#include "test_scoring.moc"
