#include "numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace numbers {

namespace {

bool is_skipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool is_digit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads an &H or &O integer from the characters after the prefix letter.
double radix_integer(QStringView text, qsizetype pos, int radix)
{
    double value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (is_skipped(c))
            continue;
        int digit = -1;
        if (is_digit(c))
            digit = c.unicode() - u'0';
        else if (radix == 16 && c.toUpper() >= u'A' && c.toUpper() <= u'F')
            digit = c.toUpper().unicode() - u'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return std::isfinite(value) ? value : 0.0;
}

// Formats with up to 15 significant digits, switching to an exponent for very
// large or small magnitudes ("1E+15", "1E-05").
std::string shortest15(double value)
{
    if (value == 0)
        return "0";
    char buf[64];
    // A whole number of up to 15 digits prints as itself; totals, full marks
    // and weights nearly always are one.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value)).ptr);
    std::snprintf(buf, sizeof buf, "%.15G", value);
    // Near the largest double, 15 digits round up past it and would read
    // back as no number: one digit less rounds within range.
    if (std::isinf(std::strtod(buf, nullptr)))
        std::snprintf(buf, sizeof buf, "%.14G", value);
    return buf;
}

qsizetype skip_from(QStringView text, qsizetype pos)
{
    while (pos < text.size() && is_skipped(text[pos]))
        ++pos;
    return pos;
}

// Most cells hold a few plain digits ("85", "85点"): read them at once when
// nothing after them could continue the number. False when something could.
bool read_plain_digits(QStringView text, qsizetype pos, double &value)
{
    const qsizetype n = text.size();
    qsizetype p = pos;
    value = 0;
    while (p < n && p - pos < 15 && is_digit(text[p]))
        value = value * 10 + (text[p++].unicode() - u'0');
    if (p == pos)
        return false;
    const char16_t next = p < n ? text[p].unicode() : u'x';
    const char16_t lower = next | 0x20;  // ASCII letters only
    return !is_digit(next) && !is_skipped(next) && next != u'.' && lower != u'e' && lower != u'd';
}

// "&H1F" or "&O17", the ampersand at pos; anything else after it is 0.
double radix_number(QStringView text, qsizetype pos)
{
    const qsizetype p = skip_from(text, pos + 1);
    if (p < text.size() && (text[p] == u'H' || text[p] == u'h'))
        return radix_integer(text, p + 1, 16);
    if (p < text.size() && (text[p] == u'O' || text[p] == u'o'))
        return radix_integer(text, p + 1, 8);
    return 0;
}

// The sign, digits and one point from pos on, white space left out; pos
// ends on what stopped them. False when there was no digit.
bool append_mantissa(QStringView text, qsizetype &pos, std::string &digits)
{
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-')) {
        if (text[pos] == u'-')
            digits += '-';
        ++pos;
    }
    bool any_digit = false;
    bool seen_point = false;
    for (;; ++pos) {
        pos = skip_from(text, pos);
        if (pos >= n)
            break;
        const QChar c = text[pos];
        if (is_digit(c)) {
            digits += char(c.unicode());
            any_digit = true;
        } else if (c == u'.' && !seen_point) {
            digits += '.';
            seen_point = true;
        } else {
            break;
        }
    }
    return any_digit;
}

// An exponent at pos ("E+05", "d3"), appended only when it has a digit.
void append_exponent(QStringView text, qsizetype pos, std::string &digits)
{
    const qsizetype n = text.size();
    if (pos >= n || (text[pos].toUpper() != u'E' && text[pos].toUpper() != u'D'))
        return;
    std::string exponent = "e";
    qsizetype p = skip_from(text, pos + 1);
    if (p < n && (text[p] == u'+' || text[p] == u'-')) {
        exponent += char(text[p].unicode());
        ++p;
    }
    bool exponent_digit = false;
    for (; p < n; ++p) {
        if (is_skipped(text[p]))
            continue;
        if (!is_digit(text[p]))
            break;
        exponent += char(text[p].unicode());
        exponent_digit = true;
    }
    if (exponent_digit)
        digits += exponent;
}

// from_chars does the correctly rounded conversion.
double converted(const std::string &digits)
{
    double value = 0;
    const char *first = digits.data();
    if (*first == '-')
        ++first;  // from_chars takes no sign of its own beyond '-', handled below
    const auto result = std::from_chars(first, digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;  // an exponent out of range reads as no number
    return digits.front() == '-' ? -value : value;
}

}  // namespace

double leading_number(QStringView text)
{
    qsizetype pos = skip_from(text, 0);
    double value = 0;
    if (read_plain_digits(text, pos, value))
        return value;
    if (pos < text.size() && text[pos] == u'&')
        return radix_number(text, pos);
    // The number's characters without the skipped white space.
    std::string digits;
    if (!append_mantissa(text, pos, digits))
        return 0;
    append_exponent(text, skip_from(text, pos), digits);
    return converted(digits);
}

QString plain_form(double value)
{
    if (value == 0)
        value = 0;  // no "-0"
    return QString::fromLatin1(shortest15(value));
}

QString two_decimals(double value)
{
    const double rounded = std::floor(value * 100 + 0.5) / 100;
    return plain_form(std::isfinite(rounded) ? rounded : value);
}

QString signed_form(double value)
{
    if (value == 0)
        value = 0;
    std::string text = shortest15(std::fabs(value));
    if (text.size() > 1 && text[0] == '0' && text[1] == '.')
        text.erase(0, 1);
    return QString::fromLatin1(value < 0 ? "-" : " ") + QString::fromLatin1(text);
}

QString print_form(double value)
{
    return signed_form(value) + u' ';
}

double round_half_even(double value)
{
    return std::nearbyint(value);
}

QString row_number_fixed(int row)
{
    return QString::number(row).rightJustified(4, u' ');
}

QString row_number_signed(int row)
{
    return signed_form(row);
}

QStringView trim_spaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

bool holds_score(QStringView text, double *score)
{
    // Most marks are one to three digits: read at once, as below they read.
    if (const int digits = short_digits_value(text); digits >= 0) {
        if (score)
            *score = digits;
        return true;
    }
    const QStringView trimmed = trim_spaces(text);
    const double value = leading_number(trimmed);
    if (score)
        *score = value;
    return value != 0 || trimmed.startsWith(u'0');
}

}  // namespace numbers
