#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>

#include <array>

// Code page 932, the Shift-JIS of Windows in which sheet files are written,
// through Qt's converter, with every control code kept as Windows keeps it.
namespace cp932 {

inline constexpr char kName[] = "Windows-31J";

// A stateless encoder; fix_encoded must then go over what it wrote. Keep it
// where it is made: a moved or assigned encoder no longer counts its errors.
QStringEncoder encoder();
// Text of ASCII only written as that encoder writes it, far quicker; returns
// the end of what was written.
char *put_ascii(QStringView text, char *out);
// The byte that encoder writes for each ASCII character, as put_ascii writes it.
const std::array<unsigned char, 128> &encoder_ascii_bytes();
void fix_encoded(QByteArray &bytes);

// Encodes; false when some character has no code in the code page.
bool encode_clean(QStringView text, QByteArray &out);
bool encodable(QStringView text);
// The first character of text that cannot be encoded, or -1.
qsizetype first_unencodable(QStringView text);
// The text with "?" for every character the code page lacks.
QString with_question_marks(QStringView text);
// One character: a surrogate pair, or a single UTF-16 unit (a lone surrogate
// included).
qsizetype char_length(QStringView text, qsizetype i);

// Decodes a line; a bad byte sequence becomes U+FFFD, and a lead byte without
// its trail byte is bad on its own, so a following comma survives.
QString decode_line(QByteArrayView line);

// Decodes line after line into one buffer: a file is read one line at a time,
// and a single conversion of the whole would cost more in fresh memory than it
// saves in calls. The code page keeps no state from one line to the next.
class LineDecoder
{
public:
    // Valid until the next call.
    QStringView decode(QByteArrayView line);

private:
    QStringDecoder decoder_{kName, QStringConverter::Flag::Stateless};
    QString buffer_;
};

}  // namespace cp932
