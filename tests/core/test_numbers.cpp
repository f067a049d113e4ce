#include "numbers.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leading_number_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << u""_s << 0.0;
        QTest::newRow("only spaces") << u"   "_s << 0.0;
        QTest::newRow("plain") << u"85"_s << 85.0;
        QTest::newRow("spaces inside") << u" 1 2 3 "_s << 123.0;
        QTest::newRow("tab and line feed") << u"\t4\n5"_s << 45.0;
        QTest::newRow("carriage return stops") << u"4\r5"_s << 4.0;
        QTest::newRow("decimal") << u"72.35"_s << 72.35;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("minus point") << u"-.5"_s << -0.5;
        QTest::newRow("plus sign") << u"+7"_s << 7.0;
        QTest::newRow("sign alone") << u"-"_s << 0.0;
        QTest::newRow("plus alone") << u"+"_s << 0.0;
        QTest::newRow("point alone") << u"."_s << 0.0;
        QTest::newRow("sign then spaces") << u"-  3"_s << -3.0;
        QTest::newRow("exponent E") << u"1E2"_s << 100.0;
        QTest::newRow("exponent e lower") << u"2.5e-1"_s << 0.25;
        QTest::newRow("exponent D") << u"1D2"_s << 100.0;
        QTest::newRow("exponent d plus") << u"3d+1"_s << 30.0;
        QTest::newRow("exponent without digits") << u"1e"_s << 1.0;
        QTest::newRow("exponent sign only") << u"1e-"_s << 1.0;
        QTest::newRow("exponent out of range") << u"1e999"_s << 0.0;
        QTest::newRow("trailing letters") << u"12abc"_s << 12.0;
        QTest::newRow("letters first") << u"abc12"_s << 0.0;
        QTest::newRow("score with unit") << u"0点"_s << 0.0;
        QTest::newRow("full-width digits") << u"８５"_s << 0.0;
        QTest::newRow("full-width space stops") << u"1\u30002"_s << 1.0;
        QTest::newRow("hex") << u"&HFF"_s << 255.0;
        QTest::newRow("hex lower") << u"&hff"_s << 255.0;
        QTest::newRow("hex prefix alone") << u"&H"_s << 0.0;
        QTest::newRow("hex stops") << u"&H1G"_s << 1.0;
        QTest::newRow("octal") << u"&O17"_s << 15.0;
        QTest::newRow("octal stops at 8") << u"&O18"_s << 1.0;
        QTest::newRow("ampersand alone") << u"&"_s << 0.0;
        QTest::newRow("ampersand other") << u"&X1"_s << 0.0;
        QTest::newRow("leading zeros") << u"007"_s << 7.0;
        QTest::newRow("point digits") << u".0"_s << 0.0;
        QTest::newRow("negative zero") << u"-0"_s << 0.0;
        QTest::newRow("long digits") << u"123456789012345678901234567890"_s << 1.2345678901234568e29;
    }

    void leading_number()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(numbers::leading_number(text), value);
    }

    void forms_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("signed_");
        QTest::newRow("seven") << 7.0 << u"7"_s << u" 7"_s;
        QTest::newRow("negative") << -3.0 << u"-3"_s << u"-3"_s;
        QTest::newRow("half") << 0.5 << u"0.5"_s << u" .5"_s;
        QTest::newRow("negative half") << -0.5 << u"-0.5"_s << u"-.5"_s;
        QTest::newRow("zero") << 0.0 << u"0"_s << u" 0"_s;
        QTest::newRow("negative zero") << -0.0 << u"0"_s << u" 0"_s;
        QTest::newRow("two decimals") << 72.35 << u"72.35"_s << u" 72.35"_s;
        QTest::newRow("binary noise") << 0.1 + 0.2 << u"0.3"_s << u" .3"_s;
        QTest::newRow("fifteen digits") << 123456789012345.0 << u"123456789012345"_s
                                        << u" 123456789012345"_s;
        QTest::newRow("exponent large") << 1e15 << u"1E+15"_s << u" 1E+15"_s;
        // Fifteen digits would round past the largest double and read back as 0.
        QTest::newRow("largest double") << 1.7976931348623157e308 << u"1.7976931348623E+308"_s
                                        << u" 1.7976931348623E+308"_s;
        QTest::newRow("small") << 0.0001 << u"0.0001"_s << u" .0001"_s;
        QTest::newRow("exponent small") << 0.00001 << u"1E-05"_s << u" 1E-05"_s;
        QTest::newRow("rounded to 15") << 2.0 / 3.0 << u"0.666666666666667"_s
                                       << u" .666666666666667"_s;
    }

    void forms()
    {
        QFETCH(double, value);
        QFETCH(QString, plain);
        QFETCH(QString, signed_);
        QCOMPARE(numbers::plain_form(value), plain);
        QCOMPARE(numbers::signed_form(value), signed_);
        QCOMPARE(numbers::print_form(value), signed_ + u' ');
    }

    void print_form_examples()
    {
        QCOMPARE(numbers::print_form(0), u" 0 "_s);
        QCOMPARE(numbers::print_form(10), u" 10 "_s);
        QCOMPARE(numbers::print_form(2.75), u" 2.75 "_s);
        QCOMPARE(numbers::print_form(-1), u"-1 "_s);
    }

    void round_half_even_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("3.5") << 3.5 << 4.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("2.51") << 2.51 << 3.0;
        QTest::newRow("527.99") << 527.99 << 528.0;
    }

    void round_half_even()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(numbers::round_half_even(value), rounded);
    }

    void row_numbers()
    {
        QCOMPARE(numbers::row_number_fixed(1), u"   1"_s);
        QCOMPARE(numbers::row_number_fixed(10), u"  10"_s);
        QCOMPARE(numbers::row_number_fixed(101), u" 101"_s);
        QCOMPARE(numbers::row_number_fixed(12345), u"12345"_s);  // never cut
        QCOMPARE(numbers::row_number_signed(7), u" 7"_s);
        QCOMPARE(numbers::row_number_signed(100), u" 100"_s);
    }

    void holds_score_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("holds");
        QTest::addColumn<double>("score");
        QTest::newRow("85") << u"85"_s << true << 85.0;
        QTest::newRow("spaced 7") << u" 7 "_s << true << 7.0;
        QTest::newRow("0") << u"0"_s << true << 0.0;
        QTest::newRow("05") << u"05"_s << true << 5.0;
        QTest::newRow("-3") << u"-3"_s << true << -3.0;
        QTest::newRow(".5") << u".5"_s << true << 0.5;
        QTest::newRow("0 with unit") << u"0点"_s << true << 0.0;
        QTest::newRow("spaced 0") << u"  0"_s << true << 0.0;
        QTest::newRow("empty") << u""_s << false << 0.0;
        QTest::newRow("absent") << u"欠"_s << false << 0.0;
        QTest::newRow("abc") << u"abc"_s << false << 0.0;
        QTest::newRow(".0") << u".0"_s << false << 0.0;
        QTest::newRow("-0") << u"-0"_s << false << 0.0;
        QTest::newRow("full-width") << u"８５"_s << false << 0.0;
    }

    void holds_score()
    {
        QFETCH(QString, text);
        QFETCH(bool, holds);
        QFETCH(double, score);
        double value = -1;
        QCOMPARE(numbers::holds_score(text, &value), holds);
        QCOMPARE(value, score);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
