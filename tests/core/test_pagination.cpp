#include "pagination.h"
#include "sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Fixed metrics at 12 points: every character 100 wide, every text 240
// high, so that the page scale is 1 and the spacing unit 120; both follow
// the font's size.
class RecordingSurface : public PageSurface
{
public:
    struct Text {
        double x, y;
        QString text;
        double clip_right;
        double points;
    };
    struct Line {
        double x1, y1, x2, y2;
        bool dotted;
    };
    double w, h;
    double points = 12;
    QList<Text> texts;
    QList<Line> lines;

    RecordingSurface(double width, double height) : w(width), h(height) {}
    double width() const override { return w; }
    double height() const override { return h; }
    void set_font(const QString &, double size) override { points = size; }
    double text_width(const QString &text) const override { return 100.0 * text.size() * points / 12; }
    double text_height(const QString &) const override { return 240 * points / 12; }
    void draw_text(double x, double y, const QString &text, double clip_right) override
    {
        texts.append({x, y, text, clip_right, points});
    }
    void draw_line(double x1, double y1, double x2, double y2, bool dotted) override
    {
        lines.append({x1, y1, x2, y2, dotted});
    }
    int count_lines(bool dotted) const
    {
        int n = 0;
        for (const Line &l : lines)
            n += l.dotted == dotted;
        return n;
    }
    const Text *find(const QString &text) const
    {
        for (const Text &t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
};

const pagination::ScreenMeasures kScreen{u"Noto Sans Mono CJK JP"_s, 12, 300, 240};

}  // namespace

class TestPagination : public QObject
{
    Q_OBJECT

private slots:
    void one_page()
    {
        Sheet sheet;
        sheet.build_new(120);
        RecordingSurface surface(20000, 30000);
        const pagination::Plan plan = pagination::print_range(sheet, kScreen, surface, 1, 8, 1, 5);
        QVERIFY(plan.refusal.isEmpty());
        QCOMPARE(plan.pages, (QList<pagination::Page>{{1, 5, 1, 8}}));
        pagination::print_page(sheet, kScreen, surface, plan.pages.first());
        // Frame, a rule per column, the double heading rule; dotted between rows.
        QCOMPARE(surface.count_lines(false), 4 + 8 + 2);
        QCOMPARE(surface.count_lines(true), 5 - 1);
        QVERIFY(surface.find(u"評価･評定"_s));
    }

    // Columns 1-6 and 7-12 fit a page's width, rows 1-40 and 41-50 its height.
    void four_pages_in_order()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_cols(13);
        sheet.set_column_width(0, 600);
        for (int c = 1; c < 13; ++c)
            sheet.set_column_width(c, 500);
        RecordingSurface surface(600 + 6 * 500, 120 + 300 + 40 * 300);
        const pagination::Plan plan = pagination::print_range(sheet, kScreen, surface, 1, 12, 1, 50);
        QCOMPARE(plan.pages, (QList<pagination::Page>{
                                 {1, 40, 1, 6}, {41, 50, 1, 6}, {1, 40, 7, 12}, {41, 50, 7, 12}}));
    }

    void too_big_data()
    {
        QTest::addColumn<bool>("column");
        QTest::addColumn<QString>("message");
        QTest::newRow("a column outside the range")
            << true << u"列[点2]の幅がプリンターからはみ出ます。"_s;
        // Every row is as high as the title row, which is named first.
        QTest::newRow("a row") << false << u"行[]の高さがプリンターからはみ出ます。"_s;
    }

    void too_big()
    {
        QFETCH(bool, column);
        QFETCH(QString, message);
        Sheet sheet;
        sheet.build_new(120);
        if (column)
            sheet.set_column_width(6, 9000);
        RecordingSurface surface(column ? 8000 : 20000, column ? 30000 : 200);
        const pagination::Plan plan = pagination::print_range(sheet, kScreen, surface, 1, 2, 1, 3);
        QCOMPARE(plan.refusal, message);
        QVERIFY(plan.pages.isEmpty());
    }

    void alignment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");  // offset from the column's left edge, -1: not drawn
        // Column 5 is 528 wide; a character is 100 and p is 120.
        QTest::newRow("85 right, a space short") << u"85"_s << 528.0 - 300;
        QTest::newRow("不明 left") << u"不明"_s << 24.0;
        QTest::newRow("minus 3 left") << u"-3"_s << 24.0;
        // Wider marks widen the column to keep the space: 600 and 1000 wide.
        QTest::newRow("five digits: the column widens") << u"12345"_s << 0.0;
        QTest::newRow("wider than the column") << u"123456789"_s << 0.0;
        QTest::newRow("spaces only") << u"   "_s << -1.0;
    }

    void alignment()
    {
        QFETCH(QString, text);
        QFETCH(double, x);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 5, text);
        RecordingSurface surface(20000, 30000);
        pagination::print_page(sheet, kScreen, surface, {1, 1, 5, 5});
        const RecordingSurface::Text *drawn = surface.find(text.trimmed());
        if (x < 0) {
            QCOMPARE(surface.texts.size(), 1);  // the heading alone
            return;
        }
        QVERIFY(drawn);
        QCOMPARE(drawn->x, 600.0 + x);
        QVERIFY(drawn->clip_right >= drawn->x + surface.text_width(drawn->text)
                || !text.front().isDigit());  // marks print in full
    }

    // A name wider than its column is cut at the column's right edge, and so
    // is every heading: no text prints over the next cell.
    void texts_stay_in_their_cells()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(1, 4, u"とても長い名前の生徒さんです"_s);
        sheet.set_text(1, 5, u"85"_s);
        RecordingSurface surface(20000, 30000);
        pagination::print_page(sheet, kScreen, surface, {1, 1, 1, 8});
        double left = 600;
        for (int c = 1; c <= 8; ++c) {
            const double right = left + sheet.column_width(c);
            for (const RecordingSurface::Text &t : surface.texts)
                if (t.x >= left && t.x < right && t.text != u"85"_s)
                    QCOMPARE(t.clip_right, right);
            left = right;
        }
        QVERIFY(surface.find(u"とても長い名前の生徒さんです"_s)->clip_right < surface.find(u"85"_s)->x);
    }

    // A title without room prints on two lines at the largest size that
    // holds it, down to 70 % of the print size, then shortened keeping its end.
    void titles_on_paper_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<double>("points");
        const QString quiz = u"小テスト3"_s;
        const QStringList halves{u"小テス"_s, u"ト3"_s};
        QTest::newRow("fits") << u"点1"_s << 212 << QStringList{u"点1"_s} << 12.0;
        QTest::newRow("two lines never at the print size") << quiz << 297 << halves << 10.2;
        QTest::newRow("two lines at 80 %") << quiz << 262 << halves << 9.6;
        QTest::newRow("two lines at 70 %") << quiz << 222 << halves << 8.4;
        QTest::newRow("shortened") << u"小テスト1の記述"_s << 212 << QStringList{u"…の"_s, u"記述"_s} << 8.4;
    }

    void titles_on_paper()
    {
        QFETCH(QString, title);
        QFETCH(int, width);
        QFETCH(QStringList, lines);
        QFETCH(double, points);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_text(0, 5, title);
        sheet.set_column_width(5, width);
        RecordingSurface surface(20000, 30000);
        pagination::print_page(sheet, kScreen, surface, {1, 1, 5, 5});
        QStringList printed;
        for (const RecordingSurface::Text &t : surface.texts)
            printed << t.text + u'@' + QString::number(t.points);
        QCOMPARE(printed.join(u' '), lines.join(u"@"_s + QString::number(points) + u' ') +
                                         u'@' + QString::number(points));
        QCOMPARE(surface.points, 12.0);  // the cells print at the print size
    }

    // A number prints whole: a score or total column widens on paper to its
    // widest number and a space, and pushes the columns right of it along; a
    // number in another column without room prints as "###".
    void numbers_print_whole_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<double>("paper_width");  // of the column
        QTest::newRow("12.25") << 5 << u"12.25"_s << u"12.25"_s << 600.0;
        QTest::newRow("127.5") << 5 << u"127.5"_s << u"127.5"_s << 600.0;
        QTest::newRow("152.0") << 6 << u"152.0"_s << u"152.0"_s << 600.0;
        QTest::newRow("a total") << 7 << u" 1234.56"_s << u"1234.56"_s << 800.0;
        QTest::newRow("a mark that fits") << 5 << u"85"_s << u"85"_s << 300.0;
        QTest::newRow("a number column does not widen") << 1 << u"12345"_s << u"###"_s << 300.0;
        QTest::newRow("a name is cut, not hidden") << 4 << u"山田花子"_s << u"山田花子"_s << 300.0;
    }

    void numbers_print_whole()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QFETCH(double, paper_width);
        Sheet sheet;
        sheet.build_new(120);
        for (int c = 1; c < sheet.cols(); ++c)
            sheet.set_column_width(c, 300);
        sheet.set_text(1, col, text);
        RecordingSurface surface(20000, 30000);
        const pagination::Plan plan = pagination::print_range(sheet, kScreen, surface, 1, 8, 1, 1);
        QCOMPARE(plan.pages.size(), 1);
        pagination::print_page(sheet, kScreen, surface, plan.pages.first());
        const RecordingSurface::Text *drawn = surface.find(printed);
        QVERIFY(drawn);
        if (printed != u"山田花子"_s)
            QVERIFY(drawn->x + surface.text_width(printed) <= drawn->clip_right);
        // The column rules: the column's own and the next one's left edges.
        const double left = 600 + 300 * (col - 1);
        QList<double> rules;
        for (const RecordingSurface::Line &l : surface.lines)
            if (l.x1 == l.x2 && !rules.contains(l.x1))
                rules.append(l.x1);
        QVERIFY(rules.contains(left));
        QVERIFY(rules.contains(left + paper_width));
        QCOMPARE(drawn->clip_right, left + paper_width);
    }

    // Pages of columns further right repeat 年, 組, NO and 氏名 at their left,
    // also when the range leaves them out; one page across repeats none.
    // 用紙の幅に合わせる prints at the largest share that fits, down to half.
    void names_on_every_page_data()
    {
        QTest::addColumn<int>("first_col");
        QTest::addColumn<double>("page_width");
        QTest::addColumn<QList<pagination::Page>>("pages");
        QTest::addColumn<double>("share");
        QTest::newRow("whole sheet") << 1 << 3400.0 << QList<pagination::Page>{{1, 1, 1, 6, 0}, {1, 1, 7, 8, 4}} << 0.68;
        QTest::newRow("marks only") << 5 << 3400.0 << QList<pagination::Page>{{1, 1, 5, 6, 4}, {1, 1, 7, 8, 4}} << 0.88;
        QTest::newRow("marks on one page") << 5 << 5800.0 << QList<pagination::Page>{{1, 1, 5, 8, 0}} << 1.0;
        QTest::newRow("at half") << 1 << 2500.0 << QList<pagination::Page>{} << 0.5;
        QTest::newRow("below half") << 1 << 2499.0 << QList<pagination::Page>{} << 0.0;
    }

    void names_on_every_page()
    {
        QFETCH(int, first_col);
        QFETCH(double, page_width);
        QFETCH(QList<pagination::Page>, pages);
        QFETCH(double, share);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_column_width(0, 600);
        for (int c = 1; c < sheet.cols(); ++c)
            sheet.set_column_width(c, c <= 4 ? 300 : 800);
        RecordingSurface surface(page_width, 30000);
        QCOMPARE(pagination::width_share(sheet, kScreen, surface, first_col, 8), share);
        if (pages.isEmpty())
            return;
        QCOMPARE(pagination::print_range(sheet, kScreen, surface, first_col, 8, 1, 1).pages, pages);
        // 氏名 (300) stands right before 総合点 (800) where it is repeated.
        pagination::print_page(sheet, kScreen, surface, pages.last());
        if (pages.last().repeated)
            QCOMPARE(surface.find(u"評価･評定"_s)->x - surface.find(u"氏名"_s)->x, 300.0 + 800.0);
    }

    // A widened column can move later columns onto the next strip of pages.
    void widened_column_moves_the_strip()
    {
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_column_width(0, 600);
        for (int c = 1; c < sheet.cols(); ++c)
            sheet.set_column_width(c, 500);
        RecordingSurface surface(600 + 4 * 500, 30000);
        QCOMPARE(pagination::print_range(sheet, kScreen, surface, 1, 8, 1, 1).pages.first().last_col, 4);
        sheet.set_text(1, 2, u"123456789"_s);  // not a score column: stays 500
        QCOMPARE(pagination::print_range(sheet, kScreen, surface, 1, 8, 1, 1).pages.first().last_col, 4);
        sheet.set_text(1, 5, u"123456789"_s);
        const QList<pagination::Page> pages =
            pagination::print_range(sheet, kScreen, surface, 1, 8, 1, 1).pages;
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages.at(1).first_col, 5);
        QCOMPARE(pages.at(1).last_col, 7);
    }

    // A row that fits a page only without the headings gets a page of its
    // own; no page is ever without a row.
    void no_empty_page()
    {
        Sheet sheet;
        sheet.build_new(120);
        RecordingSurface surface(20000, 500);
        const pagination::Plan plan = pagination::print_range(sheet, kScreen, surface, 1, 2, 1, 3);
        QCOMPARE(plan.pages, (QList<pagination::Page>{{1, 1, 1, 2}, {2, 2, 1, 2}, {3, 3, 1, 2}}));
    }

    // Rows empty in every selected column are dropped from the end only.
    void last_filled_row_data()
    {
        QTest::addColumn<QStringList>("cells");  // "row,col,text"
        QTest::addColumn<int>("last");
        QTest::newRow("nothing: none") << QStringList{} << 0;
        QTest::newRow("spaces count as empty") << QStringList{u"3,4,   "_s} << 0;
        QTest::newRow("last row filled") << QStringList{u"2,4,山田"_s, u"10,5,3"_s} << 10;
        QTest::newRow("a gap inside stays") << QStringList{u"1,4,a"_s, u"6,4,b"_s} << 6;
        QTest::newRow("text outside the columns") << QStringList{u"1,4,a"_s, u"8,7,x"_s} << 1;
        QTest::newRow("past the range") << QStringList{u"1,4,a"_s, u"12,4,x"_s} << 1;
    }

    void last_filled_row()
    {
        QFETCH(QStringList, cells);
        QFETCH(int, last);
        Sheet sheet;
        sheet.build_new(120);
        sheet.set_rows(20);
        for (const QString &cell : cells) {
            const QStringList parts = cell.split(u',');
            sheet.set_text(parts[0].toInt(), parts[1].toInt(), parts[2]);
        }
        QCOMPARE(pagination::last_filled_row(sheet, 4, 5, 1, 10), last);
    }
};

QTEST_GUILESS_MAIN(TestPagination)
#include "test_pagination.moc"
