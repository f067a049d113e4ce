#include "codepage932.h"

#include <array>
#include <cstring>

namespace cp932 {

namespace {

// ICU's table for this code page follows IBM's PC habit of rotating three
// control codes (0x1A, 0x1C, 0x7F), while Windows keeps all of ASCII as it is.
// The rotation is learnt from the converter once and undone on the bytes:
// bytes below 0x40 and 0x7F are never trail bytes, so they always stand alone.

struct AsciiFix {
    std::array<unsigned char, 128> to_icu{};    // file byte -> byte ICU reads as it
    std::array<unsigned char, 128> from_icu{};  // byte ICU wrote -> file byte
    QByteArray moved;                           // bytes the fix changes
};

const AsciiFix &ascii_fix()
{
    static const AsciiFix fix = [] {
        AsciiFix f;
        for (int b = 0; b < 128; ++b)
            f.to_icu[b] = f.from_icu[b] = static_cast<unsigned char>(b);
        std::array<int, 128> read_as{};  // what ICU makes of byte b
        QStringDecoder decoder(kName, QStringConverter::Flag::Stateless);
        for (int b = 0; b < 128; ++b) {
            const char byte = static_cast<char>(b);
            const QString s = decoder(QByteArrayView(&byte, 1));
            read_as[b] = s.size() == 1 && s[0].unicode() < 128 ? s[0].unicode() : -1;
        }
        // Only a clean permutation of ASCII can be undone byte for byte.
        std::array<bool, 128> hit{};
        for (int b = 0; b < 128; ++b) {
            if (read_as[b] < 0 || hit[read_as[b]])
                return f;
            hit[read_as[b]] = true;
        }
        for (int b = 0; b < 128; ++b) {
            if (read_as[b] == b)
                continue;
            f.to_icu[read_as[b]] = static_cast<unsigned char>(b);
            f.from_icu[b] = static_cast<unsigned char>(read_as[b]);
            f.moved += static_cast<char>(b);
        }
        return f;
    }();
    return fix;
}

bool holds_moved_byte(QByteArrayView bytes)
{
    for (char b : ascii_fix().moved) {
        if (std::memchr(bytes.data(), b, size_t(bytes.size())))
            return true;
    }
    return false;
}

void remap(QByteArray &bytes, const std::array<unsigned char, 128> &table)
{
    for (char &c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 128)
            c = static_cast<char>(table[b]);
    }
}

// Decodes without any substitute; false when a sequence could not be read.
bool decode_clean(QByteArrayView bytes, QString &out)
{
    QStringDecoder decoder(kName, QStringConverter::Flag::Stateless);
    if (holds_moved_byte(bytes)) {
        QByteArray fixed = bytes.toByteArray();
        remap(fixed, ascii_fix().to_icu);
        out = decoder(fixed);
    } else {
        out = decoder(bytes);
    }
    return !decoder.hasError();
}

bool is_lead_byte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool is_trail_byte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// A line with bad bytes, one character at a time. A lead byte without its
// trail byte is bad on its own, so a following comma or line end survives.
// ICU drops a lone lead byte at the end and marks other bad characters with
// U+001A or U+FFFD; no byte from 0x80 up legitimately reads as either.
QString decode_by_character(QByteArrayView line)
{
    QString out;
    out.reserve(line.size());
    QStringDecoder decoder(kName, QStringConverter::Flag::Stateless);
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b < 0x80) {
            out += QChar(char16_t(b));
            ++i;
            continue;
        }
        const qsizetype len =
            is_lead_byte(b) && i + 1 < n && is_trail_byte(static_cast<unsigned char>(line[i + 1]))
                ? 2
                : 1;
        const QString ch = decoder(line.sliced(i, len));
        const bool good = ch.size() == 1 && ch[0] != QChar::ReplacementCharacter
                          && ch[0] != QChar(0x1A);
        if (good) {
            out += ch[0];
            i += len;
            continue;
        }
        out += QChar(QChar::ReplacementCharacter);
        // An ASCII byte after a bad lead byte is a character of its own.
        i += len == 2 && static_cast<unsigned char>(line[i + 1]) < 0x80 ? 1 : len;
    }
    return out;
}

}  // namespace

QString decode_line(QByteArrayView line)
{
    QString out;
    if (decode_clean(line, out))
        return out;
    return decode_by_character(line);
}

bool encode_clean(QStringView text, QByteArray &out)
{
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    out = encoder(text);
    if (encoder.hasError())
        return false;
    fix_encoded(out);
    return true;
}

bool encodable(QStringView text)
{
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    const QByteArray ignored = encoder(text);
    return !encoder.hasError();
}

qsizetype char_length(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                            : 1;
}

qsizetype first_unencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); i += char_length(text, i)) {
        if (text[i].unicode() >= 0x80 && !encodable(text.sliced(i, char_length(text, i))))
            return i;
    }
    return -1;
}

QString with_question_marks(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QStringView ch = text.sliced(i, char_length(text, i));
        if (ch[0].unicode() < 0x80 || encodable(ch))
            out += ch;
        else
            out += u'?';
        i += ch.size();
    }
    return out;
}

// ASCII reads as itself, so only the runs of other bytes go through the
// converter; marks and separators, nearly all of a sheet, are widened
// directly. A run ends at an ASCII byte that is not the trail byte of a
// pair. Anything the converter cannot read sends the whole line the slow way.
QStringView LineDecoder::decode(QByteArrayView line)
{
    const qsizetype n = line.size();
    buffer_.resize(n);
    QChar *out = buffer_.data();
    qsizetype i = 0;
    const char *const bytes = line.data();
    while (i < n) {
        // Eight bytes at a time while they are all ASCII.
        for (quint64 word; i + 8 <= n; i += 8, out += 8) {
            std::memcpy(&word, bytes + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            for (int b = 0; b < 8; ++b)
                out[b] = QChar(char16_t(bytes[i + b]));
        }
        if (i == n)
            break;
        if (static_cast<unsigned char>(line[i]) < 0x80) {
            *out++ = QChar(char16_t(line[i]));
            ++i;
            continue;
        }
        const qsizetype from = i;
        while (i < n && static_cast<unsigned char>(line[i]) >= 0x80)
            i += is_lead_byte(static_cast<unsigned char>(line[i])) ? 2 : 1;
        i = qMin(i, n);
        // The converter may ask for more room than the run's bytes; the rest
        // of the line needs at most a unit a byte.
        decoder_.resetState();
        const qsizetype at = out - buffer_.constData();
        const QByteArrayView run = line.sliced(from, i - from);
        if (decoder_.requiredSpace(run.size()) > n - at) {
            buffer_.resize(at + decoder_.requiredSpace(run.size()) + (n - i));
            out = buffer_.data() + at;
        }
        out = decoder_.appendToBuffer(out, run);
        if (decoder_.hasError() || holds_moved_byte(run)) {
            buffer_ = decode_line(line);
            return buffer_;
        }
    }
    return QStringView(buffer_.constData(), out);
}

QStringEncoder encoder()
{
    return QStringEncoder(kName, QStringConverter::Flag::Stateless);
}

const std::array<unsigned char, 128> &encoder_ascii_bytes()
{
    return ascii_fix().to_icu;
}

char *put_ascii(QStringView text, char *out)
{
    const std::array<unsigned char, 128> &to_icu = ascii_fix().to_icu;
    for (const QChar c : text) {
        Q_ASSERT(c.unicode() < 0x80);
        *out++ = static_cast<char>(to_icu[c.unicode() & 0x7F]);
    }
    return out;
}

void fix_encoded(QByteArray &bytes)
{
    if (holds_moved_byte(bytes))
        remap(bytes, ascii_fix().from_icu);
}

}  // namespace cp932
