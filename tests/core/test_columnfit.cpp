#include "columnfit.h"
#include "sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every character 10 wide.
double ten_each(const QString &text)
{
    return 10.0 * text.size();
}

}  // namespace

class TestColumnFit : public QObject
{
    Q_OBJECT

private slots:
    void fit_title_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<double>("room");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("fits exactly") << u"提出物"_s << 30.0 << 2 << QStringList{u"提出物"_s};
        QTest::newRow("second line") << u"小テスト3"_s << 30.0 << 2 << QStringList{u"小テス"_s, u"ト3"_s};
        QTest::newRow("two full lines") << u"小テスト"_s << 25.0 << 2 << QStringList{u"小テ"_s, u"スト"_s};
        QTest::newRow("the ellipsis takes its own width")
            << u"小テスト3"_s << 25.0 << 2 << QStringList{u"…テス"_s, u"ト3"_s};
        QTest::newRow("shortened, its end kept")
            << u"小テスト3"_s << 20.0 << 2 << QStringList{u"…ス"_s, u"ト3"_s};
        QTest::newRow("one line, its end kept") << u"小テスト3"_s << 40.0 << 1 << QStringList{u"…スト3"_s};
        QTest::newRow("only the ellipsis") << u"小テスト3"_s << 10.0 << 1 << QStringList{u"…"_s};
        QTest::newRow("no room at all") << u"点1"_s << 5.0 << 2 << QStringList{u"…"_s};
        QTest::newRow("a surrogate pair stays whole")
            << u"𠮷家"_s << 15.0 << 1 << QStringList{u"…家"_s};
        QTest::newRow("empty") << QString() << 0.0 << 1 << QStringList{QString()};
    }

    void fit_title()
    {
        QFETCH(QString, title);
        QFETCH(double, room);
        QFETCH(int, lines);
        QFETCH(QStringList, shown);
        // Every character 10 wide, a surrogate pair too; the ellipsis 5.
        const auto measure = [](const QString &text) {
            double width = 0;
            for (const QChar c : text)
                width += c == u'…' ? 5 : c.isLowSurrogate() ? 0 : 10;
            return width;
        };
        QCOMPARE(columnfit::fit_title(title, room, lines, measure), shown);
    }

    void shown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("room");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a mark that fits exactly") << u"12.25"_s << 50.0 << u"12.25"_s;
        QTest::newRow("a mark one short") << u"12.25"_s << 49.0 << u"###"_s;
        QTest::newRow("spaces do not count") << u" 57.5 "_s << 40.0 << u" 57.5 "_s;
        QTest::newRow("a negative number") << u"-3"_s << 10.0 << u"###"_s;
        QTest::newRow("a point first") << u".5"_s << 10.0 << u"###"_s;
        QTest::newRow("an exponent") << u"1E5"_s << 20.0 << u"###"_s;
        // Texts are cut at the cell's edge as before: a name is still told
        // apart by its beginning.
        QTest::newRow("a name") << u"山田太郎"_s << 10.0 << u"山田太郎"_s;
        QTest::newRow("a digit first, then text") << u"12点"_s << 10.0 << u"12点"_s;
        QTest::newRow("full-width digits") << u"１２"_s << 10.0 << u"１２"_s;
        QTest::newRow("no digit at all") << u"inf"_s << 10.0 << u"inf"_s;
        QTest::newRow("empty") << QString() << 0.0 << QString();
    }

    void shown()
    {
        QFETCH(QString, text);
        QFETCH(double, room);
        QFETCH(QString, shown);
        QCOMPARE(columnfit::shown(text, room, ten_each), shown);
    }

    // Score columns and the total widen; names, numbers, the grade and the
    // columns of a sheet without the evaluation columns keep their widths.
    void widens_data()
    {
        QTest::addColumn<bool>("evaluation");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("widens");
        QTest::newRow("number") << true << 1 << false;
        QTest::newRow("name") << true << 4 << false;
        QTest::newRow("first score") << true << 5 << true;
        QTest::newRow("last score") << true << 6 << true;
        QTest::newRow("total") << true << 7 << true;
        QTest::newRow("grade") << true << 8 << false;
        QTest::newRow("no evaluation columns: second last") << false << 7 << false;
    }

    void widens()
    {
        QFETCH(bool, evaluation);
        QFETCH(int, col);
        QFETCH(bool, widens);
        Sheet sheet;
        sheet.build_new(120);
        if (!evaluation)
            sheet.set_text(0, 8, u"備考"_s);
        QCOMPARE(columnfit::widens(sheet, col), widens);
    }

    // The widest number below the title; texts and the title are not numbers
    // the column must show whole.
    void widest_number()
    {
        Sheet sheet;
        sheet.build_new(120);
        QCOMPARE(columnfit::widest_number(sheet, 5, ten_each), 0.0);
        sheet.set_text(0, 5, u"123456789"_s);
        sheet.set_text(1, 5, u"85"_s);
        sheet.set_text(2, 5, u"欠席のため未受験"_s);
        sheet.set_text(3, 5, u" 12.25 "_s);
        sheet.set_text(sheet.rows() - 1, 5, u"7"_s);
        QCOMPARE(columnfit::widest_number(sheet, 5, ten_each), 50.0);
    }
};

QTEST_GUILESS_MAIN(TestColumnFit)
#include "test_columnfit.moc"
