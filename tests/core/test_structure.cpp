#include "cliptext.h"
#include "grading.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "structure.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A sheet of the evaluation layout with the given score titles, or a plain
// one headed "A", "B", ... with that many data columns.
Sheet *evaluation_sheet(const QStringList &scores)
{
    auto *sheet = new Sheet;
    sheet->build_new(120);
    sheet->set_cols(int(scores.size()) + 7);
    sheet->apply_standard_widths(120);
    for (int k = 0; k < scores.size(); ++k)
        sheet->set_text(0, 5 + int(k), scores[k]);
    sheet->set_text(0, sheet->total_col(), u"総合点"_s);
    sheet->set_text(0, sheet->grade_col(), u"評価･評定"_s);
    return sheet;
}

Sheet *plain_sheet(int data_cols)
{
    auto *sheet = new Sheet;
    sheet->build_new(120);
    sheet->set_cols(data_cols + 1);
    structure::set_headings(*sheet, 1);
    for (int c = 1; c <= data_cols; ++c)
        sheet->set_text(1, c, sheet->text(0, c).toLower());
    return sheet;
}

QStringList row_texts(const Sheet &sheet, int row)
{
    QStringList texts;
    for (int c = 1; c < sheet.cols(); ++c)
        texts.append(sheet.text(row, c));
    return texts;
}

QStringList headings(int from, int to)
{
    QStringList list;
    for (int c = from; c <= to; ++c)
        list.append(c <= 26 ? QString(QChar(u'A' + c - 1))
                            : u"A"_s + QChar(u'A' + (c - 27) % 26));
    return list;
}

}  // namespace

class TestStructure : public QObject
{
    Q_OBJECT

private slots:
    void insert_columns_evaluation()
    {
        std::unique_ptr<Sheet> sheet(evaluation_sheet({u"点1"_s, u"点2"_s}));
        sheet->set_column_width(5, 700);
        sheet->set_text(3, 7, u" 88"_s);
        sheet->set_current_cell(2, 2);
        const structure::Result done = structure::insert_columns(*sheet, 2, 3, 120);
        QVERIFY(done.refusal.isEmpty());
        QCOMPARE(done.first, 7);
        QCOMPARE(sheet->cols(), 12);
        QCOMPARE(row_texts(*sheet, 0).mid(4), (QStringList{u"点1"_s, u"点2"_s, u"点3"_s, u"点4"_s,
                                                            u"点5"_s, u"総合点"_s, u"評価･評定"_s}));
        for (int c = 5; c <= 9; ++c)
            QCOMPARE(sheet->column_width(c), 700);
        QCOMPARE(sheet->text(3, 10), u" 88"_s);
        QCOMPARE(sheet->column_width(10), 840);
        QCOMPARE(sheet->column_width(11), 1200);
        QCOMPARE(sheet->col(), 7);
    }

    // Titles the teacher gave stay; only the program's own are renumbered.
    void insert_keeps_teacher_titles()
    {
        std::unique_ptr<Sheet> sheet(evaluation_sheet({u"小テ1"_s, u"中間"_s, u"点3"_s, u" "_s}));
        structure::insert_columns(*sheet, 5, 1, 120);
        QCOMPARE(row_texts(*sheet, 0).mid(4, 5),
                 (QStringList{u"小テ1"_s, u"中間"_s, u"点3"_s, u"点4"_s, u"点5"_s}));
    }

    void insert_columns_plain()
    {
        std::unique_ptr<Sheet> sheet(plain_sheet(10));
        structure::insert_columns(*sheet, 3, 2, 120);
        QCOMPARE(row_texts(*sheet, 0), headings(1, 12));
        QCOMPARE(sheet->text(1, 3), QString());
        QCOMPARE(sheet->text(1, 4), QString());
        QCOMPARE(sheet->text(1, 5), u"c"_s);
        QCOMPARE(sheet->column_width(3), 480);
    }

    void letters_data()
    {
        QTest::addColumn<int>("data_cols");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("30") << 30 << (QStringList{u"Z"_s, u"AA"_s, u"AB"_s, u"AC"_s, u"AD"_s});
        QTest::newRow("60") << 60 << (QStringList{u"AZ"_s, u"AA"_s, u"AB"_s, u"AC"_s, u"AD"_s,
                                                  u"AE"_s, u"AF"_s, u"AG"_s, u"AH"_s});
    }

    void letters()
    {
        QFETCH(int, data_cols);
        QFETCH(QStringList, tail);
        std::unique_ptr<Sheet> sheet(plain_sheet(data_cols));
        QCOMPARE(row_texts(*sheet, 0).mid(data_cols - int(tail.size())), tail);
    }

    void delete_columns_data()
    {
        QTest::addColumn<bool>("evaluation");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("refusal");
        const QStringList three = {u"年"_s, u"組"_s, u"NO"_s, u"氏名"_s, u"点1"_s, u"点2"_s,
                                   u"点3"_s, u"総合点"_s, u"評価･評定"_s};
        QTest::newRow("plain middle: a gap") << false << 3 << 2 << 2
            << (headings(1, 2) + headings(5, 10)) << QString();
        QTest::newRow("plain end: relabelled") << false << 9 << 2 << 2 << headings(1, 8) << QString();
        QTest::newRow("plain, every column by count") << false << 1 << 10 << 1 << headings(1, 10)
            << u"全列の削除は出来ません。"_s;
        QTest::newRow("plain, selection of all") << false << 1 << 10 << 10 << headings(1, 10)
            << u"全列の削除は出来ません。"_s;
        QTest::newRow("total and grade only") << true << 8 << 2 << 2 << three
            << u"必要な列の削除は出来ません。"_s;
        QTest::newRow("columns 4-7: the score columns inside") << true << 4 << 4 << 4
            << (three.mid(0, 4) + three.mid(7)) << QString();
        QTest::newRow("columns 1-8: all three scores") << true << 1 << 8 << 8
            << (three.mid(0, 4) + three.mid(7)) << QString();
        QTest::newRow("score 2: headings kept") << true << 6 << 1 << 1
            << (three.mid(0, 5) + three.mid(6)) << QString();
    }

    void delete_columns()
    {
        QFETCH(bool, evaluation);
        QFETCH(int, col);
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(QStringList, titles);
        QFETCH(QString, refusal);
        std::unique_ptr<Sheet> sheet(evaluation ? evaluation_sheet({u"点1"_s, u"点2"_s, u"点3"_s})
                                                : plain_sheet(10));
        const structure::Result done = structure::delete_columns(*sheet, col, count, selected);
        QCOMPARE(done.refusal, refusal);
        QCOMPARE(row_texts(*sheet, 0), titles);
        QVERIFY(sheet->col() < sheet->cols());
    }

    // Full marks and weights belong to their columns: a deleted column's
    // settings go with it, a new column starts fresh, and the totals follow.
    void settings_move_with_columns()
    {
        std::unique_ptr<Sheet> sheet(evaluation_sheet({u"点1"_s, u"点2"_s, u"点3"_s}));
        const double full_marks[] = {10, 50, 100}, weight[] = {10, 10, 30};
        for (int k = 1; k <= 3; ++k) {
            sheet->set_full_marks(k, full_marks[k - 1]);
            sheet->set_weight(k, weight[k - 1]);
        }
        const QStringList marks[] = {{u"9"_s, u"45"_s, u"90"_s}, {u"6"_s, u"30"_s, u"60"_s},
                                     {u"5"_s, u"20"_s, u"40"_s}};
        for (int r = 1; r <= 3; ++r)
            for (int k = 1; k <= 3; ++k)
                sheet->set_text(r, k + 4, marks[r - 1][k - 1]);
        structure::delete_columns(*sheet, 6, 1, 1);
        QCOMPARE(sheet->settings(2).full_marks, 100.0);
        QCOMPARE(sheet->settings(2).weight, 30.0);
        scoring::compute_totals(*sheet);
        QCOMPARE((QStringList{sheet->text(1, 7), sheet->text(2, 7), sheet->text(3, 7)}),
                 (QStringList{u" 90"_s, u" 60"_s, u" 40"_s}));
        structure::insert_columns(*sheet, 5, 1, 120);
        QCOMPARE(sheet->settings(3), ScoreSettings{});
        QCOMPARE(sheet->settings(2).full_marks, 100.0);
    }

    void insert_rows()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(10, 4, u"old ten"_s);
        sheet.set_current_cell(5, 5);
        structure::insert_rows(sheet, 10, 3);
        QCOMPARE(sheet.rows(), 104);
        QCOMPARE(sheet.text(13, 4), u"old ten"_s);
        QVERIFY(sheet.text(10, 4).isEmpty());
        for (int r = 1; r <= 103; ++r)
            QCOMPARE(sheet.text(r, 0), numbers::row_number_signed(r));
        QCOMPARE(sheet.row(), 10);
        QCOMPARE(sheet.col(), 1);
        // The title row is never pushed down.
        structure::insert_rows(sheet, 0, 1);
        QCOMPARE(sheet.text(0, 1), u"年"_s);
        QCOMPARE(sheet.row(), 1);
    }

    // 450 columns or rows, the fixed ones counted, are allowed; 451 are
    // refused with the message and nothing changes. Result columns after
    // the grade column are not counted.
    void limits_data()
    {
        QTest::addColumn<bool>("columns");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<int>("results");
        QTest::newRow("exactly 450 columns") << true << 441 << true << 0;
        QTest::newRow("451 columns") << true << 442 << false << 0;
        QTest::newRow("450 beside four result columns") << true << 441 << true << 4;
        QTest::newRow("451 beside four result columns") << true << 442 << false << 4;
        QTest::newRow("exactly 450 rows") << false << 349 << true << 0;
        QTest::newRow("451 rows") << false << 350 << false << 0;
    }

    void limits()
    {
        QFETCH(bool, columns);
        QFETCH(int, count);
        QFETCH(bool, allowed);
        QFETCH(int, results);
        std::unique_ptr<Sheet> sheet(evaluation_sheet({u"点1"_s, u"点2"_s}));
        sheet->set_result_count(results);
        const structure::Result done = columns ? structure::insert_columns(*sheet, 5, count, 120)
                                               : structure::insert_rows(*sheet, 5, count);
        QCOMPARE(columns ? sheet->cols() - results : sheet->rows(), allowed ? 450 : (columns ? 9 : 101));
        QCOMPARE(done.refusal, allowed ? QString()
                               : columns ? u"これ以上列を増やすことは出来ません。"_s
                                         : u"これ以上行を増やすことはできません。"_s);
    }

    void delete_rows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("now_at_5");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("rows 5-8") << 5 << 4 << 97 << u"n9"_s << QString();
        QTest::newRow("rows 95-100") << 95 << 6 << 95 << u"n5"_s << QString();
        QTest::newRow("past the end is cut") << 99 << 10 << 99 << u"n5"_s << QString();
        QTest::newRow("from the title row: from row 1") << 0 << 4 << 97 << u"n9"_s << QString();
        QTest::newRow("every data row") << 1 << 100 << 101 << u"n5"_s << u"全行の削除は出来ません。"_s;
    }

    void delete_rows()
    {
        QFETCH(int, row);
        QFETCH(int, count);
        QFETCH(int, rows);
        QFETCH(QString, now_at_5);
        QFETCH(QString, refusal);
        Sheet sheet;
        sheet.build_new(120);
        for (int r = 1; r <= 100; ++r)
            sheet.set_text(r, 4, u"n"_s + QString::number(r));
        sheet.set_current_cell(100, 3);
        const structure::Result done = structure::delete_rows(sheet, row, count);
        QCOMPARE(done.refusal, refusal);
        QCOMPARE(sheet.rows(), rows);
        QCOMPARE(sheet.text(5, 4), now_at_5);
        QCOMPARE(sheet.text(0, 1), u"年"_s);
        QCOMPARE(sheet.text(rows - 1, 0), numbers::row_number_signed(rows - 1));
        QVERIFY(sheet.row() < sheet.rows());
    }

    // The grades kept for 中止 stay with their students when rows come and go.
    void grade_backup_follows_rows()
    {
        Sheet sheet;
        sheet.build_new(120);
        for (int r = 1; r <= 5; ++r)
            sheet.set_text(r, 8, QString::number(r + 3));
        grading::GradeBackup backup;
        backup.save(sheet);
        structure::delete_rows(sheet, 2, 1);
        backup.remove_rows(2, 1);
        structure::insert_rows(sheet, 1, 1);
        backup.insert_rows(1, 1);
        for (int r = 1; r <= 5; ++r)
            sheet.set_text(r, 8, u"x"_s);
        backup.restore(sheet);
        QCOMPARE(row_texts(sheet, 1).last(), QString());
        QCOMPARE((QStringList{sheet.text(2, 8), sheet.text(3, 8), sheet.text(4, 8), sheet.text(5, 8)}),
                 (QStringList{u"4"_s, u"6"_s, u"7"_s, u"8"_s}));
    }
};

QTEST_GUILESS_MAIN(TestStructure)
#include "test_structure.moc"
