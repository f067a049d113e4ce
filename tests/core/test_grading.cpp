#include "grading.h"
#include "numbers.h"
#include "sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A sheet with two score columns whose total column holds the given texts.
void set_totals(Sheet &sheet, const QStringList &totals)
{
    sheet.set_cols(9);
    sheet.set_rows(int(totals.size()) + 1);
    for (int r = 1; r <= totals.size(); ++r)
        sheet.set_text(r, sheet.total_col(), totals[r - 1]);
}

QStringList repeated(const QString &text, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list.append(text);
    return list;
}

const QStringList kFiveTotals{u" 30"_s, u" 45"_s, u" 60"_s, u" 75"_s, u" 90"_s};

}  // namespace

class TestGrading : public QObject
{
    Q_OBJECT

private slots:
    void exponent_ladder()
    {
        QCOMPARE(grading::exponent(1), 0.7);
        QVERIFY(qAbs(grading::exponent(0) - 0.66774) < 1e-5);
        QVERIFY(qAbs(grading::exponent(16) - 1.18387) < 1e-5);
        QVERIFY(qAbs(grading::exponent(31) - 1.66774) < 1e-5);
    }

    void curve_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<int>("grade");

        // Grades for k = 0, 1, 16 and 31 with L = 25 and U = 95.
        struct Row {
            int t;
            int grades[4];
        };
        const Row table[] = {
            {0, {2, 2, 2, 2}},   {25, {2, 2, 2, 2}},  {26, {3, 3, 3, 3}},
            {40, {5, 5, 4, 3}},  {60, {7, 7, 6, 5}},  {80, {8, 8, 8, 7}},
            {94, {9, 9, 9, 9}},  {95, {10, 10, 10, 10}}, {100, {10, 10, 10, 10}},
        };
        const int ks[4] = {0, 1, 16, 31};
        for (const Row &row : table)
            for (int i = 0; i < 4; ++i)
                QTest::addRow("L25 U95 t=%d k=%d", row.t, ks[i])
                    << ks[i] << double(row.t) << 25.0 << 95.0 << row.grades[i];

        for (int k : {0, 15, 31}) {
            QTest::addRow("L50 U51 t=0 k=%d", k) << k << 0.0 << 50.0 << 51.0 << 2;
            QTest::addRow("L50 U51 t=50 k=%d", k) << k << 50.0 << 50.0 << 51.0 << 2;
            QTest::addRow("L50 U51 t=51 k=%d", k) << k << 51.0 << 50.0 << 51.0 << 10;
            QTest::addRow("L50 U51 t=100 k=%d", k) << k << 100.0 << 50.0 << 51.0 << 10;
        }
        QTest::newRow("negative total") << 5 << -10.0 << 25.0 << 95.0 << 2;
        QTest::newRow("bounds crossed, low side") << 5 << 50.0 << 60.0 << 40.0 << 2;
        QTest::newRow("bounds crossed, high side") << 5 << 70.0 << 60.0 << 40.0 << 10;
        // Fractional bounds from a criterion typed as "25.5": the total just
        // above L starts the curve instead of taking a power of a negative number.
        QTest::newRow("total between L and L+1") << 0 << 26.0 << 25.5 << 95.0 << 3;
        QTest::newRow("U equal to L+1, total between") << 0 << 50.0 << 49.5 << 50.5 << 3;
        QTest::newRow("U within L+1, total between") << 0 << 50.0 << 49.5 << 50.3 << 10;
    }

    void curve()
    {
        QFETCH(int, k);
        QFETCH(double, t);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(int, grade);
        QCOMPARE(grading::grade_of(k, t, lower, upper), grade);
    }

    void curve_bounds_for_every_candidate()
    {
        for (int k = 0; k < grading::kCandidates; ++k) {
            QCOMPARE(grading::grade_of(k, 25, 25, 95), 2);
            QCOMPARE(grading::grade_of(k, 26, 25, 95), 3);
            QCOMPARE(grading::grade_of(k, 94, 25, 95), 9);
            QCOMPARE(grading::grade_of(k, 95, 25, 95), 10);
            // Lower candidates never grade a total higher than later ones do.
            for (int t = 0; t <= 100; ++t)
                if (k > 0)
                    QVERIFY(grading::grade_of(k, t, 25, 95)
                            <= grading::grade_of(k - 1, t, 25, 95));
        }
    }

    void candidates_data()
    {
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QStringList>("list");

        QTest::newRow("five totals")
            << kFiveTotals << u"25"_s << u"95"_s
            << (QStringList{u"6.60"_s} + repeated(u"6.40"_s, 3) + repeated(u"6.20"_s, 6)
                + repeated(u"5.80"_s, 7) + repeated(u"5.60"_s, 10) + repeated(u"5.40"_s, 3)
                + repeated(u"5.20"_s, 2));
        QTest::newRow("criteria read from the sheet texts")
            << kFiveTotals << u" 50"_s << u"51点"_s
            // 2, 2, 10, 10, 10: (2 + 2 + 30) / 5
            << repeated(u"6.80"_s, 32);
        QTest::newRow("all totals zero") << repeated(u" 0"_s, 4) << u"25"_s << u"95"_s
                                         << repeated(u"0.00"_s, 32);
        QTest::newRow("no total") << QStringList{u""_s, u"abc"_s} << u"25"_s << u"95"_s
                                  << QStringList{};
        QTest::newRow("no rows") << QStringList{} << u"25"_s << u"95"_s << QStringList{};
        QTest::newRow("criteria the wrong way round") << kFiveTotals << u"95"_s << u"90"_s << QStringList{};
        QTest::newRow("criteria equal") << kFiveTotals << u" 60"_s << u"60"_s << QStringList{};
        QTest::newRow("ten") << QStringList{u" 100"_s} << u"25"_s << u"95"_s
                             << repeated(u"10.00"_s, 32);
        // Zero and negative totals count in N but add nothing.
        QTest::newRow("zero and negative in N")
            << QStringList{u" 0"_s, u"-5"_s, u" 100"_s, u""_s} << u"25"_s << u"95"_s
            << repeated(u"3.33"_s, 32);
        // 11 x 10 + 1 x 3 + 4 x 2 = 121 over 20 students.
        QTest::newRow("single-digit cents")
            << (repeated(u" 95"_s, 11) + QStringList{u" 26"_s} + repeated(u" 10"_s, 4)
                + repeated(u" 0"_s, 4))
            << u"25"_s << u"95"_s << repeated(u"6.05"_s, 32);
        // 12 x 10 + 1 x 3 + 2 x 2 = 127 over 20 students.
        QTest::newRow("two-digit cents")
            << (repeated(u" 95"_s, 12) + QStringList{u" 26"_s} + repeated(u" 10"_s, 2)
                + repeated(u" 0"_s, 5))
            << u"25"_s << u"95"_s << repeated(u"6.35"_s, 32);
        // 17 / 8 = 2.125 exactly, yet 2.13 - 2 is 0.12999... in binary, so the
        // cents are cut to 12: the entry follows the arithmetic, not the half-up idea.
        QTest::newRow("exact half cut by the binary fraction")
            << (QStringList{u" 95"_s, u" 26"_s, u" 10"_s, u" 10"_s} + repeated(u" 0"_s, 4))
            << u"25"_s << u"95"_s << repeated(u"2.12"_s, 32);
        // Only the whole-number part of a total is graded: 25.9 is still 25.
        QTest::newRow("fractional total cut down")
            << QStringList{u"25.9"_s, u"94.9"_s} << u"25"_s << u"95"_s
            << repeated(u"5.50"_s, 32);
    }

    void candidates()
    {
        QFETCH(QStringList, totals);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(QStringList, list);
        Sheet sheet;
        set_totals(sheet, totals);
        sheet.set_lower_text(lower);
        sheet.set_upper_text(upper);
        QCOMPARE(grading::make_candidates(sheet), list);
    }

    void assign_grades_data()
    {
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QStringList>("old_grades");
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("grades");
        QTest::addColumn<QString>("graded");

        const QStringList old = repeated(u"x"_s, 5);
        QTest::newRow("entry 1") << kFiveTotals << old << 1
                                 << QStringList{u"3"_s, u"5"_s, u"7"_s, u"8"_s, u"9"_s}
                                 << u"5人"_s;
        QTest::newRow("entry 31") << kFiveTotals << old << 31
                                  << QStringList{u"3"_s, u"3"_s, u"5"_s, u"6"_s, u"9"_s}
                                  << u"5人"_s;
        QTest::newRow("rows without a total keep their grade")
            << QStringList{u""_s, u"abc"_s, u" 0"_s, u"-5"_s, u" 100"_s}
            << QStringList{u"7"_s, u"keep"_s, u""_s, u""_s, u""_s} << 0
            << QStringList{u"7"_s, u"keep"_s, u"2"_s, u"2"_s, u"10"_s} << u"4人"_s;
    }

    void assign_grades()
    {
        QFETCH(QStringList, totals);
        QFETCH(QStringList, old_grades);
        QFETCH(int, k);
        QFETCH(QStringList, grades);
        QFETCH(QString, graded);

        Sheet sheet;
        set_totals(sheet, totals);
        for (int r = 1; r <= old_grades.size(); ++r)
            sheet.set_text(r, sheet.grade_col(), old_grades[r - 1]);
        grading::write_grades(sheet, k);
        for (int r = 1; r <= grades.size(); ++r)
            QCOMPARE(sheet.text(r, sheet.grade_col()), grades[r - 1]);
        QCOMPARE(grading::count_grades(sheet).graded_text(), graded);
    }

    void choosing_again_restores_the_first_proposal()
    {
        Sheet sheet;
        set_totals(sheet, kFiveTotals);
        grading::write_grades(sheet, 1);
        QStringList first;
        for (int r = 1; r < sheet.rows(); ++r)
            first.append(sheet.text(r, sheet.grade_col()));
        grading::write_grades(sheet, 31);
        grading::write_grades(sheet, 1);
        for (int r = 1; r < sheet.rows(); ++r)
            QCOMPARE(sheet.text(r, sheet.grade_col()), first[r - 1]);
    }

    void criteria_read_at_every_call()
    {
        Sheet sheet;
        set_totals(sheet, kFiveTotals);
        grading::write_grades(sheet, 1);
        QCOMPARE(sheet.text(2, sheet.grade_col()), u"5"_s);
        sheet.set_lower_text(u" 50"_s);
        grading::write_grades(sheet, 1);
        QCOMPARE(sheet.text(2, sheet.grade_col()), u"2"_s);
    }

    void grade_counts_data()
    {
        QTest::addColumn<QStringList>("grades");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QString>("graded");

        QTest::newRow("rounding half to even")
            << QStringList{u"2"_s, u"2.5"_s, u"3.5"_s, u""_s, u"abc"_s}
            << QList<int>{2, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0} << u"3人"_s;
        QTest::newRow("one of each")
            << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s,
                           u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s}
            << QList<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << u"10人"_s;
        QTest::newRow("spaces and units")
            << QStringList{u" 9 "_s, u"9点"_s, u"0"_s}
            << QList<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0} << u"2人"_s;
        // Values that round outside 0..10 have no row and are not graded.
        QTest::newRow("outside the table")
            << QStringList{u"10.5"_s, u"10.6"_s, u"11"_s, u"-1"_s, u"-0.4"_s, u"1e300"_s,
                           u"-1e300"_s}
            << QList<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1} << u"1人"_s;
        QTest::newRow("no rows") << QStringList{} << QList<int>(11, 0) << u"0人"_s;
    }

    void grade_counts()
    {
        QFETCH(QStringList, grades);
        QFETCH(QList<int>, counts);
        QFETCH(QString, graded);
        Sheet sheet;
        sheet.set_cols(9);
        sheet.set_rows(int(grades.size()) + 1);
        for (int r = 1; r <= grades.size(); ++r)
            sheet.set_text(r, sheet.grade_col(), grades[r - 1]);
        sheet.set_text(0, sheet.grade_col(), u"10"_s);  // the title row is not a student
        const grading::GradeCounts result = grading::count_grades(sheet);
        for (int g = 0; g <= 10; ++g)
            QCOMPARE(result.counts[g], counts[g]);
        QCOMPARE(result.graded_text(), graded);
    }

    void backup_slots_data()
    {
        QTest::addColumn<int>("first_rows");
        QTest::addColumn<int>("second_rows");
        QTest::addColumn<int>("restore_rows");

        QTest::newRow("2000 rows saved and restored") << 2000 << 2000 << 2000;
        QTest::newRow("shrunk in between: older slots kept") << 2000 << 10 << 2000;
        QTest::newRow("grown beyond every save") << 10 << 2000 << 2500;
        QTest::newRow("beyond the old 500 slots") << 450 << 600 << 700;
        QTest::newRow("no student rows") << 1 << 1 << 5;
        QTest::newRow("restore onto fewer rows") << 2000 << 2000 << 3;
    }

    // Two evaluations with different row counts, then a restore: each row gets
    // the newest save that covered it, or empty text when none did.
    void backup_slots()
    {
        QFETCH(int, first_rows);
        QFETCH(int, second_rows);
        QFETCH(int, restore_rows);

        Sheet sheet;
        sheet.set_cols(9);
        const int g = sheet.grade_col();
        grading::GradeBackup backup;

        sheet.set_rows(first_rows);
        for (int r = 1; r < first_rows; ++r)
            sheet.set_text(r, g, u"A"_s + QString::number(r));
        backup.save(sheet);

        sheet.set_rows(second_rows);
        for (int r = 1; r < second_rows; ++r)
            sheet.set_text(r, g, u"B"_s + QString::number(r));
        backup.save(sheet);

        sheet.set_rows(restore_rows);
        for (int r = 1; r < restore_rows; ++r)
            sheet.set_text(r, g, u"proposed"_s);
        backup.restore(sheet);

        for (int r = 1; r < restore_rows; ++r) {
            QString expected;
            if (r < second_rows)
                expected = u"B"_s + QString::number(r);
            else if (r < first_rows)
                expected = u"A"_s + QString::number(r);
            QCOMPARE(sheet.text(r, g), expected);
            QCOMPARE(backup.slot(r), expected);
        }
        QCOMPARE(backup.slot(-1), QString());
        QCOMPARE(backup.slot(qMax(first_rows, second_rows)), QString());
    }

    void backup_follows_row_positions()
    {
        Sheet sheet;
        sheet.set_cols(9);
        sheet.set_rows(4);
        const int g = sheet.grade_col();
        for (int r = 1; r < 4; ++r)
            sheet.set_text(r, g, QString::number(r));
        grading::GradeBackup backup;
        backup.save(sheet);
        sheet.insert_rows(1, 1);  // a row inserted while the panel was open
        backup.restore(sheet);
        const QStringList expected{u"1"_s, u"2"_s, u"3"_s, u""_s};
        for (int r = 1; r < sheet.rows(); ++r)
            QCOMPARE(sheet.text(r, g), expected[r - 1]);
    }
};

QTEST_GUILESS_MAIN(TestGrading)
#include "test_grading.moc"
