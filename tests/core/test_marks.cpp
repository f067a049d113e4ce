// Look-alike marks and the column statistics, against values worked by hand.
#include "marks.h"
#include "sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestMarks : public QObject
{
    Q_OBJECT

private slots:
    void look_alike_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");  // empty: not flagged
        QTest::addColumn<QString>("folded");
        const QString digits = u"全角の数字は点数として数えられません。"_s;
        const QString space = u"全角の空白があるため、点数として数えられません。"_s;
        const QString sign = u"全角の符号や小数点は点数として数えられません。"_s;
        QTest::newRow("full-width digits") << u"８５"_s << digits << u"85"_s;
        QTest::newRow("full-width nine") << u"９"_s << digits << u"9"_s;
        QTest::newRow("mixed digits") << u"1２"_s << digits << u"12"_s;
        QTest::newRow("leading full-width space") << u"　85"_s << space << u"85"_s;
        QTest::newRow("trailing full-width space counts as 85") << u"85　"_s << QString() << u"85"_s;
        QTest::newRow("full-width point") << u"８.５"_s << digits << u"8.5"_s;
        QTest::newRow("full-width minus") << u"－３"_s << digits << u"-3"_s;
        QTest::newRow("full-width minus, half-width digit") << u"－3"_s << sign << u"-3"_s;
        QTest::newRow("exponent counts as 10") << u"1E1"_s << QString() << u"1E1"_s;
        QTest::newRow("unit counts as 85") << u"85点"_s << QString() << u"85点"_s;
        QTest::newRow("absence note") << u"欠"_s << QString() << u"欠"_s;
        QTest::newRow("empty") << u""_s << QString() << u""_s;
        QTest::newRow("space") << u" "_s << QString() << u""_s;
        QTest::newRow("letters") << u"abc"_s << QString() << u"abc"_s;
        QTest::newRow("two numbers") << u"8 5"_s << QString() << u"8 5"_s;
        QTest::newRow("plain") << u"85"_s << QString() << u"85"_s;
    }

    void look_alike()
    {
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QFETCH(QString, folded);
        QCOMPARE(marks::look_alike(text), reason);
        QCOMPARE(marks::folded(text), folded);
    }

    void needs_look_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("full_marks");  // typed by the teacher; 0 for none, < 0 inferred
        QTest::addColumn<QString>("reason");     // empty: not flagged
        const QString text = u"点数でも欠席などの印でもないため、総合点に数えられません。"_s;
        const QString above = u"満点（100）を超えています。"_s;
        QTest::newRow("mark") << u"85"_s << 100.0 << QString();
        QTest::newRow("mark at the full marks") << u"100"_s << 100.0 << QString();
        QTest::newRow("mark above the full marks") << u"150"_s << 100.0 << above;
        QTest::newRow("leading zeros above") << u"007"_s << 5.0 << u"満点（5）を超えています。"_s;
        QTest::newRow("above, with spaces") << u" 100.5 "_s << 100.0 << u"満点（100）を超えています。"_s;
        QTest::newRow("above no full marks is no typo") << u"150"_s << 0.0 << QString();
        QTest::newRow("above inferred full marks is no typo") << u"150"_s << -100.0 << QString();
        // Every absence mark the help lists and the half-width forms, each
        // alone; full-width spaces, spaced out as on printed forms, do not count.
        for (const QString &mark :
             {u"欠"_s, u"欠席"_s, u"公欠"_s, u"病欠"_s, u"忌引"_s, u"出停"_s, u"免除"_s, u"見学"_s, u"未提出"_s, u"／"_s,
              u"/"_s, u"－"_s, u"-"_s, u"ー"_s, u"―"_s, u"・"_s, u"＊"_s, u"*"_s, u"欠　席"_s, u"　公欠"_s})
            QTest::addRow("absence mark %s", qPrintable(mark)) << mark << 100.0 << QString();
        QTest::newRow("a name") << u"山田"_s << 100.0 << text;
        QTest::newRow("an absence with more words") << u"欠席届"_s << 100.0 << text;
        QTest::newRow("full-width digit") << u"９"_s << 100.0 << u"全角の数字は点数として数えられません。"_s;
        QTest::newRow("mixed digits") << u"1２"_s << 100.0 << u"全角の数字は点数として数えられません。"_s;
        QTest::newRow("empty") << u""_s << 100.0 << QString();
        QTest::newRow("spaces") << u"  "_s << 100.0 << QString();
    }

    void needs_look()
    {
        QFETCH(QString, text);
        QFETCH(double, full_marks);
        QFETCH(QString, reason);
        Sheet sheet;
        sheet.build_new(120);
        if (full_marks < 0) {
            ScoreSettings inferred;
            inferred.full_marks = -full_marks;
            sheet.set_settings(2, inferred);
        } else {
            sheet.set_full_marks(2, full_marks);
        }
        sheet.set_text(3, 6, text);
        QCOMPARE(marks::needs_look(sheet, 3, 6), reason);
        // Counted and found like every other cell that needs a look.
        QCOMPARE(marks::count_look_alikes(sheet), reason.isEmpty() ? 0 : 1);
        QCOMPARE(marks::first_look_alike(sheet).has_value(), !reason.isEmpty());
        // The same text in a column without full marks is judged apart.
        sheet.set_text(3, 5, text);
        const int elsewhere = reason.isEmpty() || reason.startsWith(u"満点"_s) ? 0 : 1;
        QCOMPARE(marks::count_look_alikes(sheet), (reason.isEmpty() ? 0 : 1) + elsewhere);
    }

    void column_statistics_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QList<double>>("expected");  // count, average, median, deviation, highest, lowest
        QTest::newRow("empty column") << QStringList{u""_s, u"欠"_s} << QList<double>{0, 0, 0, 0, 0, 0};
        QTest::newRow("one score") << QStringList{u"70"_s} << QList<double>{1, 70, 70, 0, 70, 70};
        // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, deviation 2 (the textbook case).
        QTest::newRow("eight scores")
            << QStringList{u"2"_s, u"4"_s, u"4"_s, u"4"_s, u"5"_s, u"5"_s, u"7"_s, u"9"_s}
            << QList<double>{8, 5, 4.5, 2, 9, 2};
        QTest::newRow("decimals, text left out")
            << QStringList{u"1.5"_s, u"欠"_s, u"2.5"_s, u"3.5"_s, u"８"_s}
            << QList<double>{3, 2.5, 2.5, std::sqrt(2.0 / 3.0), 3.5, 1.5};
    }

    void column_statistics()
    {
        QFETCH(QStringList, cells);
        QFETCH(QList<double>, expected);
        Sheet sheet;
        sheet.build_new(120);
        for (int r = 0; r < cells.size(); ++r)
            sheet.set_text(r + 1, 5, cells[r]);
        const marks::Statistics s = marks::column_statistics(sheet, 5);
        const QList<double> got{double(s.count), s.average, s.median, s.deviation, s.highest, s.lowest};
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 1e-12, qPrintable(QString::number(i)));
    }

    // Selections are inclusive at both ends; rows and columns beyond them,
    // and columns that hold no scores, are left alone.
    void fold_look_alikes_data()
    {
        QTest::addColumn<QList<int>>("range");  // top, left, bottom, right
        QTest::addColumn<QString>("after");     // (1,5) (1,6) (2,5) (3,4) (3,5)
        QTest::newRow("whole sheet") << QList<int>{0, 1, 100, 8} << u"85 70 9 ８ 欠"_s;
        QTest::newRow("one cell") << QList<int>{1, 5, 1, 5} << u"85 　70 ９ ８ 欠"_s;
        QTest::newRow("one row") << QList<int>{1, 5, 1, 6} << u"85 70 ９ ８ 欠"_s;
        QTest::newRow("one column") << QList<int>{1, 5, 2, 5} << u"85 　70 9 ８ 欠"_s;
    }

    void fold_look_alikes()
    {
        QFETCH(QList<int>, range);
        QFETCH(QString, after);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 5, u"８５"_s);
        sheet.set_text(1, 6, u"　70"_s);
        sheet.set_text(2, 5, u"９"_s);
        sheet.set_text(3, 4, u"８"_s);  // a name column is never touched
        sheet.set_text(3, 5, u"欠"_s);
        const QString before = u"８５ 　70 ９ ８ 欠"_s;
        const QList<std::pair<int, int>> cells{{1, 5}, {1, 6}, {2, 5}, {3, 4}, {3, 5}};
        const auto texts = [&] {
            QStringList out;
            for (const auto &[r, c] : cells)
                out << sheet.text(r, c);
            return out;
        };
        QCOMPARE(marks::first_look_alike(sheet), (std::pair{1, 5}));  // row by row
        const int changed = marks::fold_look_alikes(sheet, range[0], range[1], range[2], range[3]);
        QCOMPARE(texts().join(u' '), after);
        int expected = 0;
        for (qsizetype i = 0; i < cells.size(); ++i)
            expected += before.split(u' ')[i] != after.split(u' ')[i];
        QCOMPARE(changed, expected);
    }
};

QTEST_GUILESS_MAIN(TestMarks)
#include "test_marks.moc"
