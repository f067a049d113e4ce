#pragma once

#include <QString>
#include <QStringView>

// Number rules shared by every part of the program: how a text is read as a
// number, how a number is written back, and how it is rounded.
namespace numbers {

// Reads the number a text begins with. Spaces, tabs and line feeds are skipped
// wherever they occur; an optional sign, digits with one decimal point and an
// exponent (E or D) are read, or an &H / &O integer. Reading stops at the first
// character that cannot continue the number. No number gives 0; never fails.
double leading_number(QStringView text);

// Shortest decimal form with up to 15 significant digits: "7", "0.5", "72.35".
QString plain_form(double value);
// plain_form of the value rounded half up to two decimals ("72.35"); the
// value as it is when the rounding would overflow.
QString two_decimals(double value);

// Leading space (or minus) and no zero before the point: " 7", "-3", " .5".
QString signed_form(double value);

// Signed form plus one trailing space, as written in sheet files: " 10 ".
QString print_form(double value);

// Nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double round_half_even(double value);

// Removes leading and trailing half-width spaces only (tabs and full-width
// spaces stay, as the earlier program's trimming did).
QStringView trim_spaces(QStringView text);

// Row number right-aligned in four characters: "   7", " 101".
QString row_number_fixed(int row);

// Row number in the signed form: " 7".
QString row_number_signed(int row);

// A cell holds a score when its trimmed text has a leading number other than 0
// or begins with the digit "0". The score is written to *score when given.
bool holds_score(QStringView text, double *score = nullptr);

// The value of a text of one to three ASCII digits ("7", "07", "007"), by far
// the most common marks, which callers judge without parsing; -1 for any
// other text.
inline int short_digits_value(QStringView text)
{
    const qsizetype n = text.size();
    if (n < 1 || n > 3)
        return -1;
    int value = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned digit = unsigned(text[i].unicode()) - u'0';
        if (digit > 9)
            return -1;
        value = value * 10 + int(digit);
    }
    return value;
}

}  // namespace numbers
