// The number a cell's text begins with, and the forms a number is written in.
#include "fuzz_check.h"
#include "numbers.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = text_of(data, size);
    const double value = numbers::leading_number(text);
    check(std::isfinite(value), "leading_number is finite", text);

    double score = -1;
    numbers::holds_score(text, &score);
    // Spaces are skipped wherever they are, so trimming them changes nothing.
    check(score == value, "holds_score reads the same number as leading_number", text);

    // Sheet files hold numbers in the signed form and read them back with
    // leading_number: both forms must give the number again to 15 digits.
    const QString plain = numbers::plain_form(value);
    const QString sign = numbers::signed_form(value);
    check(sign.startsWith(u' ') || sign.startsWith(u'-'), "the signed form starts with a space or a minus",
          sign);
    const double from_plain = numbers::leading_number(plain);
    const double from_signed = numbers::leading_number(sign);
    const QString detail = QStringLiteral("text %1 value %2 plain %3 signed %4 reads %5 / %6")
                               .arg(text, QString::number(value, 'g', 17), plain, sign,
                                    QString::number(from_plain, 'g', 17),
                                    QString::number(from_signed, 'g', 17));
    check(from_plain == from_signed, "plain and signed forms read back alike", detail);
    check(std::fabs(from_plain - value) <= 2e-14 * std::fabs(value),
          "a written number reads back to 15 digits", detail);
    return 0;
}
