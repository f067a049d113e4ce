#include "grading.h"
#include "numbers.h"
#include "scoring.h"
#include "sheet.h"
#include "sheetfile.h"
#include "viewpoints.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using sheetfile::ReadOutcome;

namespace {

// "評価計算ｼｰﾄ(K_saiten)" in code page 932.
const QByteArray kMarker = QByteArray::fromHex("955d89bf8c768e5abcb0c4284b5f73616974656e29");

// Test input in code page 932; the exact-bytes tests pin the converter down.
QByteArray sjis(const QString &text)
{
    QStringEncoder encoder("Windows-31J");
    return encoder(text);
}

QByteArray sheet_file(const QByteArray &pairs, const QByteArray &grid,
                      const QByteArray &criteria = "25,95,-1 ")
{
    return kMarker + "," + pairs + "\r\n" + criteria + "\r\n" + grid;
}

// Columns 1 .. Cols-1 of every row joined by "|", without empty cells at the end.
QStringList grid_of(const Sheet &sheet)
{
    QStringList rows;
    for (int r = 0; r < sheet.rows(); ++r) {
        QStringList cells;
        for (int c = 1; c < sheet.cols(); ++c)
            cells << sheet.text(r, c);
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        rows << cells.join(u'|');
    }
    return rows;
}

// What the earlier program takes from a file: n from the pairs of line 1,
// fields 1-3 of line 2, and every row cut to n + 7 columns.
QList<QStringList> earlier_reading(const QByteArray &bytes)
{
    const QStringList lines = QString(QStringDecoder("Windows-31J")(bytes)).split(u"\r\n"_s);
    QList<QStringList> seen{sheetfile::split_line(lines[0], 887).fields};
    const int n = int(seen[0].size()) / 2;
    seen.append(sheetfile::split_line(lines[1]).fields.mid(0, 3));
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (const QStringList fields = sheetfile::split_line(lines[i]).fields; !fields.isEmpty())
            seen.append(fields.mid(0, n + 6) + QStringList(qMax(0, n + 6 - int(fields.size()))));
    return seen;
}

// A class of five with totals and grades, four score columns.
void fill_class(Sheet &sheet)
{
    sheet.build_new(120);
    sheet.insert_columns(7, 2);
    for (int i = 0; i < 20; ++i)
        sheet.set_text(1 + i / 4, 5 + i % 4, i == 9 ? u"欠"_s : QString::number(i * 7 % 11));
    scoring::compute_totals(sheet);
    sheet.set_candidate_index(5);
    grading::write_grades(sheet, 5);
}

QByteArray read_back(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestSheetFile : public QObject
{
    Q_OBJECT

private slots:
    void new_sheet_bytes()
    {
        Sheet sheet;
        sheet.build_new(120);
        QByteArray expected = QByteArray::fromHex(
            // 評価計算ｼｰﾄ(K_saiten), 0 , 10 , 0 , 10 ,
            "955d89bf8c768e5abcb0c4284b5f73616974656e29"
            "2c2030202c203130202c2030202c203130202c0d0a"
            // 25,95,-1 with its trailing space
            "32352c39352c2d31200d0a"
            // 年,組,NO,氏名,点1,点2,総合点,評価･評定
            "944e2c91672c4e4f2c8e8196bc2c935f312c935f322c918d8d87935f2c955d89bfa5955d92e80d0a");
        for (int r = 0; r < 100; ++r)
            expected += ",,,,,,,\r\n";
        QCOMPARE(sheetfile::encode(sheet), expected);
    }

    void header_lines_data()
    {
        QTest::addColumn<QList<double>>("full_marks");
        QTest::addColumn<QList<double>>("weight");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<int>("candidate");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("print forms") << QList<double>{2.75, 100, 0.5} << QList<double>{0.5, -3, 0}
                                     << u"25"_s << u"95"_s << 31
                                     << QByteArray(", 2.75 , .5 , 100 ,-3 , .5 , 0 ,\r\n25,95, 31 ");
        QTest::newRow("no score columns") << QList<double>{} << QList<double>{} << u"30.5"_s
                                          << u"90"_s << 0 << QByteArray(",\r\n30.5,90, 0 ");
        QTest::newRow("criteria written as they are")
            << QList<double>{1} << QList<double>{10} << u" 2x"_s << u""_s << -1
            << QByteArray(", 1 , 10 ,\r\n 2x,,-1 ");
        QTest::newRow("criterion code page 932 cannot hold")
            << QList<double>{1} << QList<double>{10} << u"€5"_s << u"95"_s << -1
            << QByteArray(", 1 , 10 ,\r\n?5,95,-1 ");
    }

    void header_lines()
    {
        QFETCH(QList<double>, full_marks);
        QFETCH(QList<double>, weight);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(int, candidate);
        QFETCH(QByteArray, lines);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_cols(int(full_marks.size()) + 7);
        for (int k = 1; k <= full_marks.size(); ++k) {
            sheet.set_full_marks(k, full_marks[k - 1]);
            sheet.set_weight(k, weight[k - 1]);
        }
        sheet.set_lower_text(lower);
        sheet.set_upper_text(upper);
        sheet.set_candidate_index(candidate);
        const QByteArray bytes = sheetfile::encode(sheet);
        const QByteArray expected = kMarker + lines + "\r\n";
        QCOMPARE(bytes.left(expected.size()), expected);
    }

    void cell_bytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("髙 IBM extension") << u"髙"_s << QByteArray::fromHex("fbfc");
        QTest::newRow("﨑 IBM extension") << u"﨑"_s << QByteArray::fromHex("fab1");
        QTest::newRow("① NEC row 13") << u"①"_s << QByteArray::fromHex("8740");
        QTest::newRow("Ⅱ NEC row 13") << u"Ⅱ"_s << QByteArray::fromHex("8755");
        QTest::newRow("full-width tilde") << u"～"_s << QByteArray::fromHex("8160");
        QTest::newRow("full-width minus") << u"－"_s << QByteArray::fromHex("817c");
        QTest::newRow("half-width kana") << u"ｶﾞ･"_s << QByteArray::fromHex("b6dea5");
        QTest::newRow("backslash and tilde stay ASCII") << u"\\~"_s << QByteArray("\\~");
        QTest::newRow("control codes as themselves")
            << u"\u001a\u001c\u007f"_s << QByteArray("\x1a\x1c\x7f");
        QTest::newRow("euro sign") << u"a€b"_s << QByteArray("a?b");
        QTest::newRow("wave dash") << u"〜"_s << QByteArray("?");
        QTest::newRow("emoji is one character") << u"😀"_s << QByteArray("?");
        QTest::newRow("lone high surrogate at end") << QString(u"x"_s + QChar(0xD83D)) << QByteArray("x?");
        QTest::newRow("lone low surrogate") << QString(u"a"_s + QChar(0xDE00) + u"b"_s) << QByteArray("a?b");
        QTest::newRow("comma quoted") << u"a,b"_s << QByteArray("\"a,b\"");
        QTest::newRow("tab quoted") << u"a\tb"_s << QByteArray("\"a\tb\"");
        QTest::newRow("double quote full-width") << u"a\"b"_s << QByteArray("a\xfa\x57" "b");
        QTest::newRow("both") << u"\"x,y\""_s << QByteArray("\"\xfa\x57x,y\xfa\x57\"");
    }

    // What the earlier program and this one read back: cells with separators,
    // double quotes and line ends stay in their cells, and the row does not
    // shift. A CR LF inside a cell, which would end the line, comes back as LF.
    void separators_and_line_ends_round_trip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("back");
        QTest::newRow("comma") << u"山田,太郎"_s << u"山田,太郎"_s;
        QTest::newRow("tab") << u"a\tb"_s << u"a\tb"_s;
        QTest::newRow("leading comma") << u",x,"_s << u",x,"_s;
        QTest::newRow("double quote") << u"a\"b"_s << u"a＂b"_s;
        QTest::newRow("quoted with comma") << u"\"x,y\""_s << u"＂x,y＂"_s;
        QTest::newRow("LF") << u"山田\n太郎"_s << u"山田\n太郎"_s;
        QTest::newRow("CR") << u"a\rb"_s << u"a\rb"_s;
        QTest::newRow("CR LF") << u"a\r\nb"_s << u"a\nb"_s;
        QTest::newRow("CR CR LF") << u"a\r\r\nb"_s << u"a\nb"_s;
        QTest::newRow("LF and comma") << u"a\n,b"_s << u"a\n,b"_s;
    }

    void separators_and_line_ends_round_trip()
    {
        QFETCH(QString, text);
        QFETCH(QString, back);
        Sheet sheet;
        sheet.build_new(120);
        const QStringList row = {u"2"_s, u"1"_s, u"3"_s, text, u"80"_s, u"70"_s, u" 88"_s, u"9"_s};
        for (int c = 1; c <= 8; ++c) {
            sheet.set_text(2, c, row[c - 1]);
            sheet.set_text(4, 9 - c, row[c - 1]);
        }
        Sheet read;
        QCOMPARE(int(sheetfile::read_bytes(sheetfile::encode(sheet), read, 120).outcome),
                 int(ReadOutcome::Complete));
        QCOMPARE(read.rows(), 101);
        for (int c = 1; c <= 8; ++c) {
            const QString expected = c == 4 ? back : row[c - 1];
            QCOMPARE(read.text(2, c), expected);
            QCOMPARE(read.text(4, 9 - c), expected);
        }
    }

    // Only CR LF ends a line of a file that has one; a file with bare LF line
    // ends only is read line by line all the same.
    void line_ends_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("grid");
        QTest::newRow("CR LF") << QByteArray("t\r\na\nb,c\r\nd\r\n")
                               << QStringList{u"t"_s, u"a\nb|c"_s, u"d"_s};
        QTest::newRow("bare LF only") << QByteArray("t\na,c\nd\n")
                                      << QStringList{u"t"_s, u"a|c"_s, u"d"_s};
        QTest::newRow("lone CR stays") << QByteArray("t\r\na\rb\r\n")
                                       << QStringList{u"t"_s, u"a\rb"_s};
        // The last line is read as the others, with or without its line end.
        QTest::newRow("CR ending the last cell") << QByteArray("t\r\na,b\r\r\n")
                                                 << QStringList{u"t"_s, u"a|b\r"_s};
        QTest::newRow("CR ending the file") << QByteArray("t\r\na,b\r")
                                            << QStringList{u"t"_s, u"a|b\r"_s};
    }

    void line_ends()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, grid);
        QByteArray bytes = sheet_file(" 0 , 10 ,", rows);
        if (!rows.contains("\r\n"))
            bytes.replace("\r\n", "\n");
        Sheet sheet;
        QCOMPARE(int(sheetfile::read_bytes(bytes, sheet, 120).outcome), int(ReadOutcome::Complete));
        QCOMPARE(grid_of(sheet), grid);
    }

    void cell_bytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 1, text);
        sheet.set_text(100, 8, text);
        const QList<QByteArray> lines = sheetfile::encode(sheet).split('\n');
        QCOMPARE(lines[3], QByteArray(bytes + ",,,,,,,\r"));
        QCOMPARE(lines[102], QByteArray(",,,,,,," + bytes + "\r"));
    }

    void narrow_grid_lines_data()
    {
        QTest::addColumn<QStringList>("cells");  // row 0 from column 0
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("one column") << QStringList{u"r"_s} << QByteArray("r\r\n");
        QTest::newRow("two columns") << QStringList{u"r"_s, u"b"_s} << QByteArray("b\r\n");
        QTest::newRow("three columns") << QStringList{u"r"_s, u"b"_s, u"c"_s} << QByteArray("b,c\r\n");
        QTest::newRow("one column replaced") << QStringList{u"€"_s} << QByteArray("?\r\n");
        QTest::newRow("two columns replaced") << QStringList{u"r"_s, u"€"_s} << QByteArray("?\r\n");
    }

    void narrow_grid_lines()
    {
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, line);
        Sheet sheet;
        sheet.set_cols(int(cells.size()));
        for (int c = 0; c < cells.size(); ++c)
            sheet.set_text(0, c, cells[c]);
        QCOMPARE(sheetfile::encode(sheet), QByteArray(kMarker + ",\r\n25,95,-1 \r\n" + line));
    }

    void split_line_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << u""_s << 500 << QStringList{} << 0;
        QTest::newRow("no empty last field") << u"a,b,"_s << 500 << QStringList{u"a"_s, u"b"_s} << 2;
        QTest::newRow("empty middle") << u"a,,b"_s << 500 << QStringList{u"a"_s, u""_s, u"b"_s} << 3;
        QTest::newRow("commas only") << u",,,"_s << 500 << QStringList{u""_s, u""_s, u""_s} << 3;
        QTest::newRow("quoted comma") << u"x,\"p,q\",y"_s << 500
                                      << QStringList{u"x"_s, u"p,q"_s, u"y"_s} << 3;
        QTest::newRow("tabs") << u"a\tb\t\tc"_s << 500
                              << QStringList{u"a"_s, u"b"_s, u""_s, u"c"_s} << 4;
        QTest::newRow("spaces kept") << u" a , b "_s << 500 << QStringList{u" a "_s, u" b "_s} << 2;
        QTest::newRow("pending before quote") << u"ab\"c\"d"_s << 500
                                              << QStringList{u"ab"_s, u"c"_s} << 2;
        QTest::newRow("character after quote skipped")
            << u"\"a\"b,c"_s << 500 << QStringList{u"a"_s, u""_s, u"c"_s} << 3;
        QTest::newRow("unclosed quote") << u"a,\"b,c"_s << 500 << QStringList{u"a"_s, u"b,c"_s} << 2;
        QTest::newRow("empty quotes") << u"\"\",x"_s << 500 << QStringList{u""_s, u"x"_s} << 2;
        const QStringList five_hundred(500, QString());
        QTest::newRow("500 fields") << QString(500, u',') << 500 << five_hundred << 500;
        QTest::newRow("501st field at a comma") << QString(501, u',') << 500 << five_hundred << 501;
        QTest::newRow("501st field at the end")
            << QString(QString(500, u',') + u"x"_s) << 500 << five_hundred << 501;
        QTest::newRow("501st field quoted")
            << QString(QString(500, u',') + u"\"x\""_s) << 500 << five_hundred << 501;
        QTest::newRow("own limit") << u"a,b,c"_s << 2 << QStringList{u"a"_s, u"b"_s} << 3;
    }

    void split_line()
    {
        QFETCH(QString, line);
        QFETCH(int, limit);
        QFETCH(QStringList, fields);
        QFETCH(int, count);
        const sheetfile::Fields result = sheetfile::split_line(line, limit);
        QCOMPARE(result.fields, fields);
        QCOMPARE(result.field_count, count);
        // As views, into a list that held a longer line's.
        std::vector<QStringView> views(600, u"old");
        QCOMPARE(sheetfile::split_views(line, views, limit), count);
        QStringList seen;
        for (const QStringView view : views)
            seen.append(view.toString());
        QCOMPARE(seen, fields);
    }

    void round_trip_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<QStringList>("samples");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<int>("candidate");
        QTest::newRow("new sheet size") << 101 << 9
                                        << QStringList{u""_s, u"12"_s, u"山田 太郎"_s, u"2.5"_s}
                                        << u"25"_s << u"95"_s << -1;
        QTest::newRow("code page 932 extensions")
            << 40 << 12
            << QStringList{u"髙橋"_s, u"山﨑"_s, u"①"_s, u"Ⅱ"_s, u"～"_s, u"－"_s, u"∥"_s, u"￢"_s, u""_s}
            << u"30"_s << u"90.5"_s << 5;
        QTest::newRow("spaces and control codes")
            << 10 << 10 << QStringList{u" 7"_s, u"7 "_s, u" "_s, u"a\u001ab"_s, u"\u007f\u001c"_s}
            << u"0"_s << u"100"_s << 31;
        QTest::newRow("no score columns") << 20 << 7 << QStringList{u"1"_s, u""_s, u"x"_s}
                                          << u"25"_s << u"95"_s << 0;
        QTest::newRow("largest sheet") << 450 << 450
                                       << QStringList{u"0"_s, u"100"_s, u"57"_s, u""_s, u"999"_s}
                                       << u"25"_s << u"95"_s << 12;
    }

    void round_trip()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(QStringList, samples);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(int, candidate);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_rows(rows);
        sheet.set_cols(cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 1; c < cols; ++c)
                sheet.set_text(r, c, samples[(r * 7 + c) % samples.size()]);
        for (int k = 1; k <= cols - 7; ++k) {
            sheet.set_full_marks(k, k * 1.25);
            sheet.set_weight(k, k % 4 - 1);
        }
        sheet.set_lower_text(lower);
        sheet.set_upper_text(upper);
        sheet.set_candidate_index(candidate);
        const QByteArray bytes = sheetfile::encode(sheet);
        // A full line 1 of the largest sheet is longer than other lines may be.
        QCOMPARE(sheetfile::split_line(QString::fromLatin1(bytes.left(bytes.indexOf('\r'))), 887)
                     .field_count,
                 1 + 2 * (cols - 7));

        Sheet back;
        const sheetfile::ReadResult result = sheetfile::read_bytes(bytes, back, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Complete));
        QCOMPARE(back.rows(), rows);
        QCOMPARE(back.cols(), cols);
        QCOMPARE(grid_of(back), grid_of(sheet));
        for (int r = 1; r < rows; ++r)
            QCOMPARE(back.text(r, 0), numbers::row_number_signed(r));
        for (int k = 1; k <= cols - 7; ++k) {
            QCOMPARE(back.settings(k).full_marks, sheet.settings(k).full_marks);
            QCOMPARE(back.settings(k).weight, sheet.settings(k).weight);
        }
        QCOMPARE(back.lower_text(), lower);
        QCOMPARE(back.upper_text(), upper);
        QVERIFY(back.has_content());
        QCOMPARE(back.row(), 1);
        QCOMPARE(back.col(), 1);
        QCOMPARE(back.column_width(cols - 1), 1200);
        // Read and saved unchanged, the file comes back byte for byte: the
        // chosen candidate included.
        QCOMPARE(sheetfile::encode(back), bytes);
    }

    // kind 0: viewpoints of columns; 1: results and a hand-set cell too;
    // 2: four viewpoints by rates, a comma in a name.
    void viewpoints_round_trip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("line2");
        const QString names = u"知識・技能,知,思考・判断・表現,思,主体的に学習に取り組む態度,態"_s;
        QTest::newRow("columns") << 0 << u"80,50,1,1 2 3 3 4 4 5,90 70 50 30,1203,0,,"_s + names;
        QTest::newRow("results") << 1 << u"80,50,1,1 2 3 3 4 4 5,90 70 50 30,1203,4,2.1,"_s + names;
        QTest::newRow("renamed") << 2
                                 << u"75,40.5,2,1 2 2 3 3 4 4 4 5,90 70 50 30,1204,5,2.1,"_s + names + u",\"話す,聞く\",話"_s;
    }

    // Read back identical; the earlier program sees the sheet it always saw.
    void viewpoints_round_trip()
    {
        QFETCH(int, kind);
        QFETCH(QString, line2);
        Sheet plain, sheet;
        fill_class(plain);
        fill_class(sheet);
        if (kind == 2)
            sheet.set_viewpoint_settings({ViewpointSettings::default_viewpoints() << Viewpoint{u"話す,聞く"_s, u"話"_s}, 75,
                                          40.5, ViewpointSettings::Method::Rates, ViewpointSettings::default_points_table(4)});
        QVERIFY(viewpoints::set_column_viewpoints(sheet, kind == 2 ? u"知,思,-,話"_s : u"知,思,-,態"_s).isEmpty());
        if (kind > 0) {
            viewpoints::write_results(sheet, viewpoints::compute(sheet));
            sheet.set_hand_set(2, sheet.first_result_col() + 1, true);
        }
        const QByteArray bytes = sheetfile::encode(sheet);
        QCOMPARE(bytes.split('\n')[1], sjis(u"25,95, 5 ,観点別評価,"_s + line2) + '\r');
        Sheet back;
        QCOMPARE(int(sheetfile::read_bytes(bytes, back, 120).outcome), int(ReadOutcome::Complete));
        QCOMPARE(sheetfile::encode(back), bytes);
        QCOMPARE(back.grade_col() * 10000 + back.column_width(back.cols() - 1), kind > 0 ? 100840 : 101200);
        QCOMPARE(earlier_reading(bytes), earlier_reading(sheetfile::encode(plain)));
        // This program's totals and evaluation as they were without viewpoints.
        scoring::compute_totals(back);
        QCOMPARE(back.column_texts(9), plain.column_texts(9));
        QCOMPARE(grading::make_candidates(back), grading::make_candidates(plain));
        QCOMPARE(back.column_texts(10), plain.column_texts(10));
    }

    void criteria_line_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<int>("candidate");
        QTest::newRow("as written") << QByteArray("25,95,-1 ") << u"25"_s << u"95"_s << -1;
        QTest::newRow("plain forms") << QByteArray(" 30, 95.50 , 3 ") << u"30"_s << u"95.5"_s << 3;
        QTest::newRow("first candidate") << QByteArray("25,95, 0 ") << u"25"_s << u"95"_s << 0;
        QTest::newRow("text") << QByteArray("abc,x") << u"0"_s << u"0"_s << -1;
        QTest::newRow("empty line") << QByteArray() << u"0"_s << u"0"_s << -1;
        QTest::newRow("more fields") << QByteArray("1e2,&H10,2,7") << u"100"_s << u"16"_s << 2;
        QTest::newRow("no such candidate") << QByteArray("25,95,32") << u"25"_s << u"95"_s << -1;
        QTest::newRow("fraction") << QByteArray("25,95,2.5") << u"25"_s << u"95"_s << -1;
    }

    void criteria_line()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(int, candidate);
        Sheet sheet;
        sheetfile::read_bytes(sheet_file(" 0 , 10 ,", "a\r\n", line), sheet, 120);
        QCOMPARE(sheet.lower_text(), lower);
        QCOMPARE(sheet.upper_text(), upper);
        QCOMPARE(sheet.candidate_index(), candidate);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("another program's file") << sjis(u"年,組,NO,氏名\r\n1,2,3,山田\r\n"_s);
        QTest::newRow("wrong marker") << sjis(u"評価計算ｼｰﾄ(K_saiten2), 0 , 10 ,\r\n25,95,-1 \r\n"_s);
        QTest::newRow("full-width parentheses")
            << sjis(u"評価計算ｼｰﾄ（K_saiten）, 0 , 10 ,\r\n"_s);
        QTest::newRow("marker after other text") << QByteArray("x" + sheet_file(" 0 , 10 ,", "a\r\n"));
        QTest::newRow("marker after a space") << QByteArray(" " + sheet_file(" 0 , 10 ,", "a\r\n"));
        QTest::newRow("marker with a space") << QByteArray(kMarker + " , 0 , 10 ,\r\n25,95,-1 \r\n");
        QTest::newRow("UTF-8 marker after other text") << u"x評価計算ｼｰﾄ(K_saiten), 0 , 10 ,\r\n"_s.toUtf8();
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 1, u"kept?"_s);
        const sheetfile::ReadResult result = sheetfile::read_bytes(bytes, sheet, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Foreign));
        QCOMPARE(result.reason, u"「ぽん採点」で作成したファイルではありません。"_s);
        QCOMPARE(sheet.rows(), 1);
        QCOMPARE(sheet.cols(), 1);
        QCOMPARE(sheet.text(0, 0), QString());
        QVERIFY(!sheet.has_content());
        QCOMPARE(sheet.sheet_name(), u"新規ｼｰﾄ"_s);
    }

    void grid_read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<int>("cols");
        QTest::newRow("marker alone: no score columns")
            << sheet_file("", "a,b,c,d,e,f\r\n1,2\r\n")
            << QStringList{u"a|b|c|d|e|f"_s, u"1|2"_s} << 7;
        QTest::newRow("marker without its comma")
            << QByteArray(kMarker + "\r\n25,95,-1 \r\na,b\r\n") << QStringList{u"a|b"_s} << 7;
        QTest::newRow("quoted marker") << QByteArray("\"" + kMarker + "\", 0 , 10 ,\r\n\r\nx\r\n")
                                       << QStringList{u"x"_s} << 8;
        QTest::newRow("long row widens, then the cut")
            << sheet_file(" 0 , 10 , 0 , 10 ,", "a,b\r\n1,2,3,4,5,6,7,8,9,10,11\r\n")
            << QStringList{u"a|b"_s, u"1|2|3|4|5|6|7|8"_s} << 9;
        QTest::newRow("long title row cut")
            << sheet_file("", "a,b,c,d,e,f,g,h,i\r\n") << QStringList{u"a|b|c|d|e|f"_s} << 7;
        QTest::newRow("empty lines skipped")
            << sheet_file("", "\r\n\r\nt\r\n\r\n,\r\nu\r\n")
            << QStringList{u"t"_s, u""_s, u"u"_s} << 7;
        QTest::newRow("tab-separated")
            << QByteArray(kMarker + "\t 0 \t 10 \t\r\n25\t95\t-1 \r\na\tb\tc\r\n1\t\t3\r\n")
            << QStringList{u"a|b|c"_s, u"1||3"_s} << 8;
        QTest::newRow("lone LF line ends and no last line end")
            << QByteArray(kMarker + ",\n25,95,-1 \na,b\nc\rd,e") << QStringList{u"a|b"_s, u"c\rd|e"_s} << 7;
        QTest::newRow("no grid lines") << sheet_file(" 0 , 10 ,", "") << QStringList{u""_s} << 8;
        QTest::newRow("bad bytes become replacement characters")
            << sheet_file("", "a\x81\r\n\x81,b\r\n" "\x80\xa0\xfd\xfe\xff\r\nx\x85\x40y\r\n"
                              "\xfb\xfc\x80\xee\xe0\xed\x95\r\na\x81")
            << QStringList{u"a\ufffd"_s, u"\ufffd|b"_s,
                           u"\ufffd\ufffd\ufffd\ufffd\ufffd"_s, u"x\ufffd@y"_s,
                           u"髙\ufffd髙﨑"_s, u"a\ufffd"_s} << 7;
        // Saved again by an editor in UTF-8; the marker tells, not a guess.
        const QByteArray utf8 = (u"評価計算ｼｰﾄ(K_saiten), 0 , 10 ,\r\n25,95,-1 \r\n氏名,点\r\n髙橋,80\r\n"_s).toUtf8();
        QTest::newRow("UTF-8") << utf8 << QStringList{u"氏名|点"_s, u"髙橋|80"_s} << 8;
        QTest::newRow("UTF-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF" + utf8) << QStringList{u"氏名|点"_s, u"髙橋|80"_s} << 8;
        QTest::newRow("control codes read as themselves")
            << sheet_file("", "\x1a,\x1c,\x7f\r\n")
            << QStringList{u"\u001a|\u001c|\u007f"_s} << 7;
    }

    void grid_read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, grid);
        QFETCH(int, cols);
        Sheet sheet;
        const sheetfile::ReadResult result = sheetfile::read_bytes(bytes, sheet, 120);
        QCOMPARE(result.reason, QString());
        QCOMPARE(int(result.outcome), int(ReadOutcome::Complete));
        QCOMPARE(grid_of(sheet), grid);
        QCOMPARE(sheet.cols(), cols);
    }

    void first_line_settings_data()
    {
        QTest::addColumn<QByteArray>("pairs");
        QTest::addColumn<QList<double>>("full_marks");
        QTest::addColumn<QList<double>>("weight");
        QTest::newRow("two columns") << QByteArray(" 50 , 10 , 2.5 , .5 ,")
                                     << QList<double>{50, 2.5} << QList<double>{10, 0.5};
        QTest::newRow("full marks without weight") << QByteArray(" 50 ,")
                                                   << QList<double>{50} << QList<double>{0};
        QTest::newRow("text fields") << QByteArray("abc,7x,,") << QList<double>{0, 0}
                                     << QList<double>{7, 0};
        QByteArray full;
        for (int k = 1; k <= 443; ++k)
            full += QByteArray::number(k) + "," + QByteArray::number(k % 9) + ",";
        QList<double> full_marks, weight;
        for (int k = 1; k <= 443; ++k) {
            full_marks << k;
            weight << k % 9;
        }
        QTest::newRow("887 fields") << full << full_marks << weight;
    }

    void first_line_settings()
    {
        QFETCH(QByteArray, pairs);
        QFETCH(QList<double>, full_marks);
        QFETCH(QList<double>, weight);
        Sheet sheet;
        const sheetfile::ReadResult result = sheetfile::read_bytes(sheet_file(pairs, "a\r\n"), sheet, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Complete));
        QCOMPARE(sheet.cols(), int(full_marks.size()) + 7);
        for (int k = 1; k <= full_marks.size(); ++k) {
            QCOMPARE(sheet.settings(k).full_marks, full_marks[k - 1]);
            QCOMPARE(sheet.settings(k).weight, weight[k - 1]);
            // Full marks from the file are the teacher's, shown as they are.
            QCOMPARE(sheet.settings(k).full_marks_given, full_marks[k - 1] != 0);
            QCOMPARE(sheet.settings(k).full_marks_text,
                     full_marks[k - 1] != 0 ? numbers::plain_form(full_marks[k - 1]) : u"不明"_s);
        }
        // Slots beyond the file's columns keep what they had.
        QCOMPARE(sheet.settings(int(full_marks.size()) + 1).weight, 10.0);
    }

    void incomplete_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<int>("cols");
        QTest::addColumn<QString>("lower");
        const QByteArray too_long = QByteArray(500, ',') + "x\r\n";
        QTest::newRow("data line of 501 fields")
            << sheet_file(" 0 , 10 ,", "a,b\r\nc\r\n" + too_long + "d\r\n", "30,90,1 ")
            << u"5 行目の項目が 500 を超えています。"_s
            << QStringList{u"a|b"_s, u"c"_s} << 8 << u"30"_s;
        QTest::newRow("criteria line of 501 fields")
            << sheet_file(" 0 , 10 ,", "a\r\n", too_long.chopped(2))
            << u"2 行目の項目が 500 を超えています。"_s << QStringList{u""_s} << 8 << u"25"_s;
        QTest::newRow("file ends after line 1")
            << QByteArray(kMarker + ", 0 , 10 ,\r\n")
            << u"ファイルが途中で終わっています（2 行目がありません）。"_s
            << QStringList{u""_s} << 8 << u"25"_s;
    }

    void incomplete()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(QStringList, grid);
        QFETCH(int, cols);
        QFETCH(QString, lower);
        Sheet sheet;
        sheet.build_new(120);
        const sheetfile::ReadResult result = sheetfile::read_bytes(bytes, sheet, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Incomplete));
        QCOMPARE(result.reason, reason);
        QCOMPARE(grid_of(sheet), grid);
        QCOMPARE(sheet.cols(), cols);
        QCOMPARE(sheet.lower_text(), lower);
        QVERIFY(sheet.has_content());
        QCOMPARE(sheet.sheet_name(), u"新規ｼｰﾄ"_s);
        for (int r = 1; r < sheet.rows(); ++r)
            QCOMPARE(sheet.text(r, 0), numbers::row_number_signed(r));
    }

    // A line 1 longer than any sheet's is refused before the sheet is touched.
    void line_one_too_long_leaves_the_sheet()
    {
        QByteArray pairs;
        for (int i = 0; i < 887; ++i)
            pairs += " 1 ,";
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(2, 4, u"青木"_s);
        const sheetfile::ReadResult result = sheetfile::read_bytes(sheet_file(pairs, "a\r\n"), sheet, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Refused));
        QCOMPARE(result.reason, u"1 行目の項目が 887 を超えています。"_s);
        QCOMPARE(sheet.rows(), 101);
        QCOMPARE(sheet.cols(), 9);
        QCOMPARE(sheet.text(2, 4), u"青木"_s);
        QCOMPARE(sheet.text(0, 8), u"評価･評定"_s);
        QVERIFY(!sheet.has_content());
    }

    void red_grade_cells_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<bool>("red");
        QTest::newRow("1") << u"1"_s << true;
        QTest::newRow("2") << u"2"_s << true;
        QTest::newRow("2.5") << u"2.5"_s << true;
        QTest::newRow("small positive") << u"0.01"_s << true;
        QTest::newRow("leading number") << u" 2点"_s << true;
        QTest::newRow("0") << u"0"_s << false;
        QTest::newRow("3") << u"3"_s << false;
        QTest::newRow("negative") << u"-1"_s << false;
        QTest::newRow("text") << u"優"_s << false;
        QTest::newRow("empty") << u""_s << false;
    }

    void red_grade_cells()
    {
        QFETCH(QString, grade);
        QFETCH(bool, red);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(0, 8, grade);  // the title row is never coloured
        sheet.set_text(5, 8, grade);
        sheet.set_text(6, 7, grade);  // nor is any other column
        Sheet back;
        sheetfile::read_bytes(sheetfile::encode(sheet), back, 120);
        QCOMPARE(back.is_red(5, 8), red);
        QVERIFY(!back.is_red(0, 8));
        QVERIFY(!back.is_red(6, 7));
        QVERIFY(!back.is_red(4, 8));
    }

    void find_unencodable_data()
    {
        QTest::addColumn<QList<int>>("places");  // row, column pairs; row -1: criterion, -2: viewpoint
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("found");  // row, column, or empty for none
        QTest::addColumn<QString>("character");
        QTest::newRow("all held") << QList<int>{1, 4, -1, 1} << QStringList{u"髙①Ⅱ～－"_s, u"30"_s}
                                  << QList<int>{} << QString();
        QTest::newRow("euro sign") << QList<int>{3, 2} << QStringList{u"a€"_s} << QList<int>{3, 2}
                                   << u"€"_s;
        QTest::newRow("emoji") << QList<int>{1, 8} << QStringList{u"x😀"_s} << QList<int>{1, 8}
                               << u"😀"_s;
        QTest::newRow("lone surrogate at the end")
            << QList<int>{2, 5} << QStringList{u"9"_s + QChar(0xD83D)} << QList<int>{2, 5}
            << QString(QChar(0xD83D));
        QTest::newRow("wave dash") << QList<int>{0, 1} << QStringList{u"〜"_s} << QList<int>{0, 1}
                                   << u"〜"_s;
        QTest::newRow("upper criterion") << QList<int>{-1, 2} << QStringList{u"é"_s}
                                         << QList<int>{-1, 2} << u"é"_s;
        QTest::newRow("criteria first") << QList<int>{0, 1, -1, 1}
                                        << QStringList{u"é"_s, u"€"_s} << QList<int>{-1, 1} << u"€"_s;
        QTest::newRow("viewpoint name") << QList<int>{-2, 2} << QStringList{u"思€"_s} << QList<int>{-2, 2} << u"€"_s;
        QTest::newRow("names before cells") << QList<int>{1, 1, -2, 1} << QStringList{u"€"_s, u"é"_s}
                                            << QList<int>{-2, 1} << u"é"_s;
        QTest::newRow("row by row") << QList<int>{2, 1, 1, 8} << QStringList{u"é"_s, u"a€é"_s}
                                    << QList<int>{1, 8} << u"€"_s;
        QTest::newRow("row numbers are not written")
            << QList<int>{3, 0} << QStringList{u"€"_s} << QList<int>{} << QString();
        QTest::newRow("double quote") << QList<int>{2, 4} << QStringList{u"山田\"太郎"_s}
                                      << QList<int>{2, 4} << u"\""_s;
        QTest::newRow("double quote first") << QList<int>{2, 4} << QStringList{u"a\"€"_s}
                                            << QList<int>{2, 4} << u"\""_s;
        QTest::newRow("euro before quote") << QList<int>{2, 4} << QStringList{u"€\""_s}
                                           << QList<int>{2, 4} << u"€"_s;
    }

    void find_unencodable()
    {
        QFETCH(QList<int>, places);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, found);
        QFETCH(QString, character);
        Sheet sheet;
        sheet.build_new(120);
        for (int i = 0; i < texts.size(); ++i) {
            const int row = places[2 * i], col = places[2 * i + 1];
            ViewpointSettings names;
            if (row == -2)
                names.viewpoints[col - 1].short_name = texts[i];
            if (row >= 0)
                sheet.set_text(row, col, texts[i]);
            else if (row == -2)
                sheet.set_viewpoint_settings(names);
            else if (col == 1)
                sheet.set_lower_text(texts[i]);
            else
                sheet.set_upper_text(texts[i]);
        }
        const std::optional<sheetfile::Unencodable> hit = sheetfile::find_unencodable(sheet);
        QCOMPARE(hit.has_value(), !found.isEmpty());
        if (hit) {
            QCOMPARE(hit->row, found[0]);
            QCOMPARE(hit->col, found[1]);
            QCOMPARE(hit->character, character);
            QCOMPARE(hit->replacement, character == u"\""_s ? u"＂"_s : u"?"_s);
        }
    }

    void read_file_data()
    {
        QTest::addColumn<QString>("path");  // "@" stands for a temporary folder
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("reason");
        QTest::newRow("complete") << u"@/sheet.csv"_s << int(ReadOutcome::Complete) << QString();
        QTest::newRow("missing file")
            << u"@/none.csv"_s << int(ReadOutcome::Refused)
            << u"ファイルを開けません: ファイルまたはフォルダーが見つかりません"_s;
        QTest::newRow("folder") << u"@"_s << int(ReadOutcome::Refused)
                                << u"ファイルを開けません: フォルダーです"_s;
        QTest::newRow("input error")
            << u"/proc/self/mem"_s << int(ReadOutcome::Incomplete)
            << u"ファイルの読み込み中にエラーが起きました: 読み書きの途中でエラーが起きました（ディスクや USB メモリーを確かめてください）"_s;
        QTest::newRow("foreign") << u"@/foreign.csv"_s << int(ReadOutcome::Foreign)
                                 << sheetfile::foreign_file_message();
        const QString too_large = u"ファイルが大きすぎます（32 MB を超えています）。シートのファイルではありません。"_s;
        QTest::newRow("too large") << u"@/huge.csv"_s << int(ReadOutcome::Refused) << too_large;
        QTest::newRow("a device") << u"/dev/zero"_s << int(ReadOutcome::Refused)
                                  << u"ファイルを開けません: "_s + sheetfile::not_a_file_to_read_message();
    }

    void read_file()
    {
        QFETCH(QString, path);
        QFETCH(int, outcome);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        path.replace(u"@"_s, dir.path());
        QVERIFY(sheetfile::write_file(dir.filePath(u"sheet.csv"_s),
                                      sheet_file(" 0 , 10 , 0 , 10 ,", "t\r\na,b\r\n")).ok);
        QVERIFY(sheetfile::write_file(dir.filePath(u"foreign.csv"_s), "a,b\r\n").ok);
        QFile huge(dir.filePath(u"huge.csv"_s));  // sparse: takes no disk space
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(sheetfile::kMaxFileBytes + 1));
        huge.close();

        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(3, 2, u"kept"_s);
        const sheetfile::ReadResult result = sheetfile::read_file(path, sheet, 120);
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.reason, reason);
        QCOMPARE(sheet.sheet_name(), outcome == int(ReadOutcome::Complete) ? path : u"新規ｼｰﾄ"_s);
        // Only a sheet that is all its file holds counts as saved.
        QCOMPARE(sheet.is_saved(), outcome == int(ReadOutcome::Complete));
        if (outcome == int(ReadOutcome::Complete)) {
            QCOMPARE(grid_of(sheet), (QStringList{u"t"_s, u"a|b"_s}));
        } else if (outcome == int(ReadOutcome::Refused)) {
            QCOMPARE(sheet.rows(), 101);
            QCOMPARE(sheet.text(3, 2), u"kept"_s);
        } else if (outcome == int(ReadOutcome::Incomplete)) {
            // Nothing came in: the sheet keeps its cells, cut to seven columns.
            QCOMPARE(sheet.rows(), 101);
            QCOMPARE(sheet.cols(), 7);
            QCOMPARE(sheet.text(3, 2), u"kept"_s);
            QCOMPARE(sheet.text(100, 0), u" 100"_s);
            QCOMPARE(sheet.text(7, 0), u" 7"_s);
        }
    }

    // The last step, renaming the new file over the old one, fails when the
    // old one is a mount point: the old bytes stay and no temporary is left.
    void failed_rename_keeps_old_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheet.csv"_s);
        QVERIFY(sheetfile::write_file(path, "old").ok);
        const QByteArray native = path.toLocal8Bit();
        if (mount(native.constData(), native.constData(), nullptr, MS_BIND, nullptr) != 0)
            QSKIP("cannot bind-mount here");
        const sheetfile::WriteResult result = sheetfile::write_file(path, "new");
        umount2(native.constData(), MNT_DETACH);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(read_back(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"sheet.csv"_s});
    }

    // A file of more rows than any sheet is read up to the limit, and says so.
    void too_many_rows_read_partly()
    {
        QByteArray rows = "t\r\n";
        for (int r = 1; r <= sheetfile::kMaxReadRows + 5; ++r)
            rows += QByteArray::number(r) + "\r\n";
        Sheet sheet;
        const sheetfile::ReadResult result = sheetfile::read_bytes(sheet_file(" 0 , 10 ,", rows), sheet, 120);
        QCOMPARE(int(result.outcome), int(ReadOutcome::Incomplete));
        QVERIFY(result.reason.contains(QString::number(sheetfile::kMaxReadRows)));
        QCOMPARE(sheet.rows(), sheetfile::kMaxReadRows);
        QCOMPARE(sheet.text(sheet.rows() - 1, 1), QString::number(sheetfile::kMaxReadRows - 1));
    }

    void write_file_replaces_old_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheet.csv"_s);
        QVERIFY(sheetfile::write_file(path, QByteArray(5000, 'x')).ok);
        const QByteArray bytes = sheet_file(" 0 , 10 ,", "a\r\n");
        const sheetfile::WriteResult result = sheetfile::write_file(path, bytes);
        QVERIFY(result.ok);
        QCOMPARE(result.error, QString());
        QCOMPARE(read_back(path), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"sheet.csv"_s});
    }

    void write_file_refused_data()
    {
        QTest::addColumn<QString>("path");  // "@" stands for a temporary folder
        QTest::addColumn<QString>("error");
        QTest::newRow("missing folder") << u"@/missing/x.csv"_s << u"ファイルまたはフォルダーが見つかりません"_s;
        QTest::newRow("below a file") << u"@/old.csv/x.csv"_s << u"途中の名前がフォルダーではありません"_s;
        QTest::newRow("a folder") << u"@"_s << u"フォルダーです"_s;
        QTest::newRow("folder nobody may write") << u"/proc/x.csv"_s << u"ファイルまたはフォルダーが見つかりません"_s;
        // Never replaced by a regular file, and never reported as saved.
        QTest::newRow("a FIFO") << u"@/fifo"_s << sheetfile::not_a_file_message();
        QTest::newRow("a device") << u"/dev/full"_s << sheetfile::not_a_file_message();
    }

    void write_file_refused()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        QTemporaryDir dir;
        path.replace(u"@"_s, dir.path());
        QStringList entries{u"old.csv"_s};
        if (path.endsWith(u"fifo"_s)) {
            QCOMPARE(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
            entries.prepend(u"fifo"_s);
        }
        QVERIFY(sheetfile::write_file(dir.filePath(u"old.csv"_s), "old").ok);
        const sheetfile::WriteResult result = sheetfile::write_file(path, "new");
        QVERIFY(!result.ok);
        QCOMPARE(result.error, error);
        QCOMPARE(read_back(dir.filePath(u"old.csv"_s)), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                            QDir::NoDotAndDotDot),
                 entries);
        if (error == sheetfile::not_a_file_message())
            QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }

    // Writes that fail part-way or only when the buffer is flushed at the
    // end: a sheet below and one above the file buffer's 16 KiB, on a file
    // system that is full (a small tmpfs, where this process may mount one)
    // and in a child process that may write files of only a few KiB.
    void failed_write_keeps_old_file_data()
    {
        QTest::addColumn<bool>("full_disk");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("error");
        QTest::newRow("full disk, below the buffer") << true << 10 * 1024 << u"ディスクに空きがありません"_s;
        QTest::newRow("full disk, above the buffer") << true << 300 * 1024 << u"ディスクに空きがありません"_s;
        QTest::newRow("size limit, below the buffer") << false << 10 * 1024 << u"ファイルが大きすぎます"_s;
        QTest::newRow("size limit, above the buffer") << false << 1024 * 1024 << u"ファイルが大きすぎます"_s;
    }

    void failed_write_keeps_old_file()
    {
        QFETCH(bool, full_disk);
        QFETCH(int, size);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QString folder = dir.path();
        const QByteArray old = sheet_file(" 0 , 10 ,", "old\r\n");
        struct Unmount {
            QString at;
            ~Unmount() { if (!at.isEmpty()) umount2(at.toLocal8Bit().constData(), MNT_DETACH); }
        } unmount;
        if (full_disk) {
            folder = dir.filePath(u"disk"_s);
            QVERIFY(QDir().mkdir(folder));
            if (mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, "size=256k") != 0)
                QSKIP("cannot mount a small file system here");
            unmount.at = folder;
        }
        const QString path = folder + u"/sheet.csv"_s;
        QVERIFY(sheetfile::write_file(path, old).ok);
        if (full_disk) {
            // Fill the disk up to its last few KiB.
            QFile filler(folder + u"/filler"_s);
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {
            }
            filler.resize(qMax<qint64>(0, filler.size() - 4096));
            filler.close();
        }

        // The write runs in a child, which alone carries the size limit.
        int pipe_fds[2];
        QCOMPARE(pipe(pipe_fds), 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(pipe_fds[0]);
            std::signal(SIGXFSZ, SIG_IGN);
            if (!full_disk) {
                const rlimit limit{4 * 1024, 4 * 1024};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            const sheetfile::WriteResult result = sheetfile::write_file(path, QByteArray(size, 'n'));
            const QByteArray report = (result.ok ? "ok:" : "failed:") + result.error.toUtf8();
            const ssize_t written = write(pipe_fds[1], report.constData(), size_t(report.size()));
            _exit(written == report.size() ? 0 : 1);
        }
        close(pipe_fds[1]);
        QByteArray report;
        char buffer[256];
        for (ssize_t got; (got = read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, got);
        close(pipe_fds[0]);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        QCOMPARE(QString::fromUtf8(report), u"failed:"_s + error);
        QCOMPARE(read_back(path), old);
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeOne(u"filler"_s);
        QCOMPARE(left, QStringList{u"sheet.csv"_s});
    }
};

QTEST_GUILESS_MAIN(TestSheetFile)
#include "test_sheetfile.moc"
