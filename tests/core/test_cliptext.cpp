#include "cliptext.h"
#include "history.h"
#include "numbers.h"
#include "sheet.h"
#include "structure.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList row_texts(const Sheet &sheet, int row)
{
    QStringList texts;
    for (int c = 1; c < sheet.cols(); ++c)
        texts.append(sheet.text(row, c));
    return texts;
}

// Everything that shows: every cell's text, row by row.
QStringList grid_of(const Sheet &sheet)
{
    QStringList rows;
    for (int r = 0; r < sheet.rows(); ++r)
        rows.append(row_texts(sheet, r).join(u'|'));
    return rows;
}

void fill_block(Sheet &sheet)
{
    sheet.set_text(4, 3, u"85"_s);
    sheet.set_text(4, 4, u"90"_s);
    sheet.set_text(5, 3, u"70"_s);
    sheet.set_current_cell(5, 4);
    sheet.set_selection_end(4, 3);
}

}  // namespace

class TestClipText : public QObject
{
    Q_OBJECT

private slots:
    void copy_and_cut()
    {
        Sheet sheet;
        sheet.build_new(120);
        fill_block(sheet);
        QCOMPARE(cliptext::copy_text(sheet), u"85\t90\r\n70\t\r\n"_s);
        QCOMPARE(sheet.text(4, 3), u"85"_s);
        QCOMPARE(cliptext::cut(sheet), u"85\t90\r\n70\t"_s);
        for (int r = 4; r <= 5; ++r)
            for (int c = 3; c <= 4; ++c)
                QVERIFY(sheet.text(r, c).isEmpty());
        QCOMPARE(sheet.row(), 4);
        QCOMPARE(sheet.col(), 3);
        QCOMPARE(sheet.sel_row(), 4);
    }

    void select_all_copies_titles_first()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 1, u"2"_s);
        cliptext::select_all(sheet);
        QCOMPARE(sheet.row(), 0);
        QCOMPARE(sheet.col(), 1);
        const QStringList lines = cliptext::copy_text(sheet).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 101 + 1);  // and the empty text after the last line end
        QCOMPARE(lines[0], u"年\t組\tNO\t氏名\t点1\t点2\t総合点\t評価･評定"_s);
        QVERIFY(lines[1].startsWith(u"2\t"_s));
        cliptext::delete_contents(sheet);
        QCOMPARE(sheet.text(0, 4), QString());
    }

    void paste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QStringList>("cells");  // "row,col=text"
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::newRow("copied block") << u"85\t90\r\n70\t\r\n"_s << 10 << 5
            << QStringList{u"10,5=85"_s, u"10,6=90"_s, u"11,5=70"_s, u"11,6=keep"_s} << 101 << 9;
        QTest::newRow("cut block") << u"85\t90\r\n70\t"_s << 10 << 5
            << QStringList{u"11,5=70"_s, u"11,6=keep"_s, u"12,5="_s} << 101 << 9;
        QTest::newRow("bare LF, last line end adds nothing") << u"85\t90\n70\n"_s << 10 << 5
            << QStringList{u"10,6=90"_s, u"11,5=70"_s, u"12,5="_s} << 101 << 9;
        QTest::newRow("three lines at row 99") << u"1\r\n2\r\n3"_s << 99 << 2
            << QStringList{u"99,2=1"_s, u"100,2=2"_s, u"101,2=3"_s, u"102,2="_s} << 103 << 9;
        QTest::newRow("comma splits, quotes keep") << u"1,000\t\"1,000\""_s << 3 << 1
            << QStringList{u"3,1=1"_s, u"3,2=000"_s, u"3,3=1,000"_s} << 101 << 9;
        // Four fields at column 6 of an evaluation sheet: three score columns
        // in front of the total.
        QTest::newRow("widening an evaluation sheet") << u"a\tb\tc\td"_s << 2 << 6
            << QStringList{u"2,6=a"_s, u"2,9=d"_s, u"0,9=点5"_s, u"0,10=総合点"_s, u"3,10=tot"_s}
            << 101 << 12;
        QTest::newRow("commas in quotes add no column") << u"\"a,b,c\"\t1"_s << 1 << 5
            << QStringList{u"1,5=a,b,c"_s, u"1,6=1"_s} << 101 << 9;
        // Four characters are the most the shared texts' key holds.
        QTest::newRow("marks of four and five characters") << u"12345\t92345\r\n1234\t9234"_s << 1 << 1
            << QStringList{u"1,1=12345"_s, u"1,2=92345"_s, u"2,1=1234"_s, u"2,2=9234"_s} << 101 << 9;
        QTest::newRow("a tab at the end adds no column") << u"a\tb\t\r\nc\t"_s << 2 << 6
            << QStringList{u"2,7=b"_s, u"3,6=c"_s, u"0,8=総合点"_s} << 101 << 10;
        // Grades pasted onto the grade column stay grades.
        QTest::newRow("onto the grade column") << u"5\n6"_s << 2 << 8
            << QStringList{u"2,8=5"_s, u"3,8=6"_s, u"0,8=評価･評定"_s} << 101 << 9;
        QTest::newRow("totals and grades") << u"80\t7"_s << 2 << 7
            << QStringList{u"2,7=80"_s, u"2,8=7"_s} << 101 << 9;
        QTest::newRow("empty clipboard") << QString() << 2 << 2
            << QStringList{u"2,2="_s} << 101 << 9;
        // A spreadsheet's cell holding a line break comes in quotes: the
        // student's row stays whole and the cell one line.
        QTest::newRow("quoted LF stays in its row") << u"\"山田\n太郎\"\t70\r\n\"佐藤\n花子\"\t60\r\n"_s << 1 << 4
            << QStringList{u"1,4=山田 太郎"_s, u"1,5=70"_s, u"2,4=佐藤 花子"_s, u"2,5=60"_s, u"3,4="_s}
            << 101 << 9;
        QTest::newRow("quoted CR LF, trailing line end dropped") << u"\"a\r\nb\"\t\"c\n\"\r\nd"_s << 1 << 4
            << QStringList{u"1,4=a b"_s, u"1,5=c"_s, u"2,4=d"_s} << 101 << 9;
        QTest::newRow("quoted CR CR LF one break") << u"\"a\r\r\nb\"\t1\r\r\n2"_s << 1 << 4
            << QStringList{u"1,4=a b"_s, u"1,5=1"_s, u"2,4=2"_s} << 101 << 9;
        QTest::newRow("doubled quote inside") << u"\"x\"\"\ny\"\t1\r\n2"_s << 1 << 1
            << QStringList{u"1,1=x"_s, u"2,1=2"_s, u"3,1="_s} << 101 << 9;
        QTest::newRow("quote never closed ends at the line") << u"\"abc\r\n1\t2"_s << 1 << 5
            << QStringList{u"1,5=abc"_s, u"2,5=1"_s, u"2,6=2"_s} << 101 << 9;
        // Marks whose last title begins with 評価 are no whole sheet's block:
        // the totals beside them stay.
        QTest::newRow("marks titled 評価課題") << u"小テスト\t評価課題\r\n10\t20\r\n11\t21"_s << 1 << 5
            << QStringList{u"1,5=小テスト"_s, u"1,6=評価課題"_s, u"3,6=21"_s, u"3,7=tot"_s} << 101 << 9;
        QTest::newRow("NUL and control characters dropped, a quoted tab a space") << u"8\u00005\t\u0007\t\"a\tb\u007f\u0085\"\r\n\u0001"_s << 1 << 4
            << QStringList{u"1,4=85"_s, u"1,5="_s, u"1,6=a b"_s, u"2,4="_s} << 101 << 9;
        // Unicode's control characters end at U+001F and span U+007F to U+009F.
        QTest::newRow("control characters at their edges") << u"\u001fa b~\t\u007fc\u009fd\u00a0"_s << 1 << 4
            << QStringList{u"1,4=a b~"_s, u"1,5=cd\u00a0"_s} << 101 << 9;
        QTest::newRow("quote inside a cell opens nothing") << u"5\"x\t1\r\n\"2\"\r\n"_s << 1 << 5
            << QStringList{u"2,5=2"_s, u"3,5="_s} << 101 << 9;
    }

    void paste()
    {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QStringList, cells);
        QFETCH(int, rows);
        QFETCH(int, cols);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(11, 6, u"keep"_s);
        sheet.set_text(3, 7, u"tot"_s);
        sheet.set_current_cell(row, col);
        const QStringList before = grid_of(sheet);
        SheetHistory history(sheet);
        QList<int> heard;
        const cliptext::PasteResult done = cliptext::paste(sheet, text, 120, [&](int n) { heard.append(n); });
        QVERIFY(done.refusal.isEmpty());
        QCOMPARE(heard.size(), done.lines);  // each line as it is written
        QCOMPARE(heard.value(done.lines - 1, 0), done.lines);
        QCOMPARE(sheet.rows(), rows);
        QCOMPARE(sheet.cols(), cols);
        QCOMPARE(sheet.row(), row);
        QCOMPARE(sheet.col(), col);
        for (const QString &cell : cells) {
            const int comma = int(cell.indexOf(u',')), equals = int(cell.indexOf(u'='));
            QCOMPARE(sheet.text(cell.left(comma).toInt(), cell.mid(comma + 1, equals - comma - 1).toInt()),
                     cell.mid(equals + 1));
        }
        for (int r = 101; r < rows; ++r)
            QCOMPARE(sheet.text(r, 0), numbers::row_number_fixed(r));
        // Undo takes the whole block back, new rows and columns included.
        const QStringList after = grid_of(sheet);
        history.undo();
        QCOMPARE(grid_of(sheet), before);
        QCOMPARE(sheet.cols(), 9);
        history.redo();
        QCOMPARE(grid_of(sheet), after);
    }

    // The rows a block adds come in as one change: undo selects what they
    // held too, and a mark they share with other cells stays when one changes.
    void undo_of_rows_a_paste_added()
    {
        Sheet sheet;
        sheet.build_new(120);
        SheetHistory history(sheet);
        sheet.set_current_cell(100, 4);
        QVERIFY(cliptext::paste(sheet, u"7\r\n7\t7\t7\r\n7"_s, 120).refusal.isEmpty());
        history.undo();
        QCOMPARE(sheet.rows(), 101);
        QCOMPARE(QList<int>({sheet.row(), sheet.col(), sheet.sel_row(), sheet.sel_col()}),
                 QList<int>({100, 1, 100, 6}));
        history.redo();
        QCOMPARE(sheet.rows(), 104);
        sheet.set_text(101, 5, u"8"_s);
        QCOMPARE(row_texts(sheet, 101).mid(3, 3), (QStringList{u"7"_s, u"8"_s, u"7"_s}));
        QCOMPARE(sheet.text(100, 4), u"7"_s);
    }

    // A whole sheet copied onto another of the same shape: totals and grades
    // land in the total and grade columns, no score column appears.
    void whole_sheet_onto_same_shape()
    {
        Sheet from;
        from.build_new(120);
        for (int r = 1; r <= 3; ++r) {
            from.set_text(r, 4, u"s"_s + QString::number(r));
            from.set_text(r, 5, QString::number(60 + r));
            from.set_text(r, 6, QString::number(50 + r));
            from.set_text(r, 7, u" "_s + QString::number(70 + r));
            from.set_text(r, 8, QString::number(5 + r));
        }
        cliptext::select_all(from);
        const QString text = cliptext::copy_text(from);
        Sheet to;
        to.build_new(120);
        cliptext::select_all(to);
        QVERIFY(cliptext::paste(to, text, 120).refusal.isEmpty());
        QCOMPARE(to.cols(), 9);
        QCOMPARE(grid_of(to), grid_of(from));
        // Onto a sheet with more score columns, totals and grades still land
        // in theirs, past the score columns the block does not reach.
        Sheet wider;
        wider.build_new(120);
        structure::insert_columns(wider, 5, 2, 120);
        cliptext::select_all(wider);
        QVERIFY(cliptext::paste(wider, text, 120).refusal.isEmpty());
        QCOMPARE(row_texts(wider, 2).mid(4), (QStringList{u"62"_s, u"52"_s, QString(), QString(), u" 72"_s, u"7"_s}));
    }

    // A plain sheet grows on the right: the marks beside the block stay with
    // their students.
    void plain_sheet_grows_at_the_end()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(0, 8, u"成績"_s);  // no longer an evaluation sheet
        for (int r = 1; r <= 3; ++r)
            sheet.set_text(r, 4, u"s"_s + QString::number(r));
        sheet.set_current_cell(2, 6);
        QVERIFY(cliptext::paste(sheet, u"a\tb\tc\td\te"_s, 120).refusal.isEmpty());
        QCOMPARE(sheet.cols(), 11);
        QCOMPARE(row_texts(sheet, 2), (QStringList{QString(), QString(), QString(), u"s2"_s,
                                                    QString(), u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}));
        QCOMPARE(sheet.text(3, 4), u"s3"_s);
        QCOMPARE(sheet.text(0, 10), u"J"_s);
    }

    // The row and column limits refuse only what a paste would add.
    void limits_count_only_what_is_added_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("500 students, no row added") << 500 << 9 << 460 << 3 << 2 << QString();
        QTest::newRow("row 450 added by Down") << 451 << 9 << 450 << 1 << 2 << QString();
        QTest::newRow("no empty row after row 450") << 449 << 9 << 448 << 2 << 2 << QString();
        QTest::newRow("one row beyond 451") << 451 << 9 << 450 << 2 << 2
            << u"これ以上行を増やすことはできません。"_s;
        QTest::newRow("two lines at row 449 of 450") << 450 << 9 << 449 << 2 << 2
            << u"これ以上行を増やすことはできません。"_s;
        QTest::newRow("460 columns, none added") << 101 << 460 << 1 << 2 << 3 << QString();
    }

    void limits_count_only_what_is_added()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(int, row);
        QFETCH(int, lines);
        QFETCH(int, fields);
        QFETCH(QString, refusal);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_rows(rows);
        sheet.set_cols(cols);
        sheet.set_current_cell(row, 5);
        const QStringList before = grid_of(sheet);
        const QString line = QStringList(fields, u"7"_s).join(u'\t');
        const cliptext::PasteResult done =
            cliptext::paste(sheet, QStringList(lines, line).join(u"\r\n"_s), 120);
        QCOMPARE(done.refusal, refusal);
        if (refusal.isEmpty()) {
            QCOMPARE(sheet.rows(), qMax(rows, qMin(row + lines + 1, 450)));
            QCOMPARE(sheet.cols(), cols);
            QCOMPARE(sheet.text(row + lines - 1, 4 + fields), u"7"_s);
        } else {
            QCOMPARE(grid_of(sheet), before);
        }
    }

    void block_too_big_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("600 lines") << 5 << 600 << 2 << u"これ以上行を増やすことはできません。"_s;
        QTest::newRow("450 fields wide") << 5 << 3 << 450 << u"これ以上列を増やすことは出来ません。"_s;
        // The total and grade columns are never widened: what would fall off
        // the right edge is refused, not dropped.
        QTest::newRow("three fields onto the grade") << 8 << 2 << 3 << cliptext::paste_the_edge();
        QTest::newRow("three fields onto the total") << 7 << 1 << 3 << cliptext::paste_the_edge();
    }

    void block_too_big()
    {
        QFETCH(int, col);
        QFETCH(int, lines);
        QFETCH(int, fields);
        QFETCH(QString, refusal);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_current_cell(1, col);
        const QStringList before = grid_of(sheet);
        const QString line = QStringList(fields, u"7"_s).join(u'\t');
        const cliptext::PasteResult done = cliptext::paste(sheet, QStringList(lines, line).join(u"\r\n"_s), 120);
        QCOMPARE(done.refusal, refusal);
        QCOMPARE(grid_of(sheet), before);
    }

    void is_block_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("block");
        QTest::newRow("one value") << u"85"_s << false;
        QTest::newRow("one value and a line end") << u"85\r\n"_s << false;
        QTest::newRow("two cells") << u"85\t90"_s << true;
        QTest::newRow("two lines") << u"85\n90\n"_s << true;
    }

    void is_block()
    {
        QFETCH(QString, text);
        QFETCH(bool, block);
        QCOMPARE(cliptext::is_block(text), block);
    }
};

QTEST_GUILESS_MAIN(TestClipText)
#include "test_cliptext.moc"
