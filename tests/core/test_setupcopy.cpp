// A new class's sheet from another's set-up: what comes along and what stays.
#include "setupcopy.h"
#include "sheet.h"
#include "sheetfile.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ScoreSettings settings(double full_marks, double weight, bool given)
{
    ScoreSettings s;
    s.full_marks = full_marks;
    s.weight = weight;
    s.full_marks_text = full_marks == 0 ? s.full_marks_text : QString::number(full_marks);
    s.full_marks_given = given;
    return s;
}

// A graded class of three with three score columns; the third column's full
// marks were inferred from its marks.
void fill_graded_class(Sheet &sheet)
{
    sheet.build_new(120);
    sheet.set_cols(10);
    const QStringList titles = {u"年"_s,     u"組"_s,     u"NO"_s,     u"氏名"_s,     u"国語"_s,
                                u"漢字"_s,   u"小テスト"_s, u"総合点"_s, u"評価･評定"_s};
    for (int c = 1; c <= 9; ++c)
        sheet.set_text(0, c, titles[c - 1]);
    sheet.set_settings(1, settings(100, 10, true));
    sheet.set_settings(2, settings(50, 20, true));
    sheet.set_settings(3, settings(37, 5, false));
    sheet.set_lower_text(u"30"_s);
    sheet.set_upper_text(u"90"_s);
    for (int r = 1; r <= 3; ++r) {
        const QStringList row = {u"2"_s, u"3"_s, QString::number(r), u"生徒"_s + QString::number(r),
                                 u"80"_s, u"欠"_s, u"37"_s, u"75"_s, u"7"_s};
        for (int c = 1; c <= 9; ++c)
            sheet.set_text(r, c, row[c - 1]);
    }
    sheet.set_column_width(6, 2000);
    sheet.set_candidate_index(5);
    sheet.set_has_content();
    sheet.set_current_cell(3, 6);
}

}  // namespace

class TestSetupCopy : public QObject
{
    Q_OBJECT

private slots:
    void file_of_the_copy_holds_the_setup_alone()
    {
        Sheet from;
        fill_graded_class(from);
        const QByteArray from_before = sheetfile::encode(from);
        Sheet to;
        to.build_new(120);

        setupcopy::copy_setup(from, to);

        QString text = u"評価計算ｼｰﾄ(K_saiten), 100 , 10 , 50 , 20 , 0 , 5 ,\r\n"
                       u"30,90,-1 \r\n"
                       u"年,組,NO,氏名,国語,漢字,小テスト,総合点,評価･評定\r\n"_s;
        for (int r = 1; r < Sheet::kNewRows; ++r)
            text += u",,,,,,,,\r\n"_s;
        QStringEncoder encoder("Windows-31J");
        const QByteArray expected = encoder(text);
        QCOMPARE(sheetfile::encode(to), expected);
        QCOMPARE(sheetfile::encode(from), from_before);
    }

    // What the file does not hold: widths, the rows' numbers, the inferred
    // full marks' text, and the untouched state that lets it close unasked.
    void the_rest_of_a_new_sheet()
    {
        Sheet from;
        fill_graded_class(from);
        Sheet to;
        to.build_new(120);
        Sheet fresh;
        fresh.build_new(120);

        setupcopy::copy_setup(from, to);

        for (int c = 0; c < from.cols(); ++c)
            QCOMPARE(to.column_width(c), from.column_width(c));
        QCOMPARE(to.rows(), fresh.rows());
        for (int r = 0; r < to.rows(); ++r)
            QCOMPARE(to.text(r, 0), fresh.text(r, 0));
        QCOMPARE(to.settings(1), from.settings(1));
        QCOMPARE(to.settings(3).full_marks_text, ScoreSettings().full_marks_text);
        QCOMPARE(to.settings(3).weight, 5.0);
        QVERIFY(!to.has_content());
        QCOMPARE(to.sheet_name(), Sheet::untitled_name());
        QCOMPARE(std::pair(to.row(), to.col()), std::pair(1, 1));
    }

    // Fewer score columns than a new sheet: the extra one goes.
    void one_score_column()
    {
        Sheet from;
        from.build_new(120);
        structure_free_shrink(from);
        Sheet to;
        to.build_new(120);
        setupcopy::copy_setup(from, to);
        QCOMPARE(to.cols(), 8);
        QCOMPARE(to.text(0, 6), u"総合点"_s);
        QCOMPARE(to.text(0, 7), u"評価･評定"_s);
    }

private:
    static void structure_free_shrink(Sheet &sheet)
    {
        sheet.set_text(0, 6, u"総合点"_s);
        sheet.set_text(0, 7, u"評価･評定"_s);
        sheet.set_cols(8);
    }
};

QTEST_GUILESS_MAIN(TestSetupCopy)
#include "test_setupcopy.moc"
