#include "print/pdftextmap.h"

#include <QFile>
#include <QFontDatabase>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace pdftextmap {

namespace {

bool is_radical(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x2EFF) || (c >= 0x2F00 && c <= 0x2FDF);
}

quint32 glyph_of(const QRawFont &font, char32_t c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 ? glyphs.first() : 0;
}

QByteArray hex(const QString &text)
{
    QByteArray out;
    for (QChar unit : text)
        out += QByteArray::number(unit.unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

QString from_hex(QByteArrayView digits)
{
    QString out;
    for (qsizetype i = 0; i + 4 <= digits.size(); i += 4)
        out += QChar(char16_t(digits.sliced(i, 4).toUInt(nullptr, 16)));
    return out;
}

// The code → text entries of a CMap's bfchar and bfrange sections.
QMap<uint, QString> read_cmap(const QByteArray &cmap)
{
    QMap<uint, QString> map;
    static const QRegularExpression section(u"begin(bfchar|bfrange)(.*?)end\\1"_s,
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression token(u"<([0-9A-Fa-f]*)>|\\[|\\]"_s);
    const QString text = QString::fromLatin1(cmap);
    for (auto sections = section.globalMatch(text); sections.hasNext();) {
        const auto match = sections.next();
        const bool range = match.captured(1) == u"bfrange"_s;
        QStringList tokens;
        for (auto it = token.globalMatch(match.captured(2)); it.hasNext();)
            tokens += it.next().captured(0);
        for (qsizetype i = 0; i < tokens.size();) {
            auto value = [&](qsizetype at) { return tokens.value(at).mid(1).chopped(1); };
            if (!range) {
                map.insert(value(i).toUInt(nullptr, 16), from_hex(value(i + 1).toLatin1()));
                i += 2;
                continue;
            }
            const uint first = value(i).toUInt(nullptr, 16), last = value(i + 1).toUInt(nullptr, 16);
            i += 2;
            if (tokens.value(i) == u"["_s) {
                ++i;
                for (uint code = first; i < tokens.size() && tokens[i] != u"]"_s; ++i, ++code)
                    map.insert(code, from_hex(value(i).toLatin1()));
                ++i;
            } else {
                QString start = from_hex(value(i).toLatin1());
                ++i;
                for (uint code = first; code <= last && !start.isEmpty(); ++code) {
                    map.insert(code, start);
                    start.back() = QChar(char16_t(start.back().unicode() + 1));
                }
            }
        }
    }
    return map;
}

QByteArray write_cmap(const QMap<uint, QString> &map)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most a hundred entries to a section.
    for (auto it = map.cbegin(); it != map.cend();) {
        QByteArray entries;
        int n = 0;
        for (; it != map.cend() && n < 100; ++it, ++n)
            entries += '<' + QByteArray::number(it.key(), 16).toUpper().rightJustified(4, '0') + "> <" +
                       hex(it.value()) + ">\n";
        out += QByteArray::number(n) + " beginbfchar\n" + entries + "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

// The unfiltered stream of object number, or nothing.
std::optional<QByteArray> stream_of(const QByteArray &pdf, int number)
{
    const QByteArray head = '\n' + QByteArray::number(number) + " 0 obj";
    const qsizetype at = pdf.lastIndexOf(head);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = pdf.indexOf("stream", at);
    const qsizetype end_of_object = pdf.indexOf("endobj", at);
    if (start < 0 || end_of_object < start)
        return std::nullopt;
    const QByteArray dictionary = pdf.mid(at, start - at);
    static const QRegularExpression length(u"/Length (\\d+)"_s);
    const auto match = length.match(QString::fromLatin1(dictionary));
    if (!match.hasMatch() || dictionary.contains("/Filter"))
        return std::nullopt;
    qsizetype data = start + 6;
    if (pdf.mid(data, 2) == "\r\n")
        data += 2;
    else if (pdf.mid(data, 1) == "\n")
        data += 1;
    return pdf.mid(data, match.captured(1).toLongLong());
}

}  // namespace

QFont unshaped(QFont font)
{
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

Corrections corrections_for(const QString &printed, const QFont &font)
{
    Corrections corrections;
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
    const QList<uint> all = printed.toUcs4();
    const QSet<char32_t> characters(all.cbegin(), all.cend());
    QHash<quint32, char32_t> printed_by_glyph;
    for (char32_t c : characters) {
        const quint32 glyph = raw.isValid() ? glyph_of(raw, c) : 0;
        // A radical typed as such stays one.
        if (glyph != 0 && !is_radical(c) && (!printed_by_glyph.contains(glyph) ||
                                             printed_by_glyph.value(glyph) > c))
            printed_by_glyph.insert(glyph, c);
    }
    if (raw.isValid()) {
        // The writer gives each glyph the lowest character the font draws
        // with it (U+2003 for U+3000, ⽥ for 田): every basic-plane
        // character is asked once.
        QString plane;
        for (char32_t c = 1; c <= 0xFFFF; ++c)
            if (!QChar::isSurrogate(c))
                plane += QChar(char16_t(c));
        const QList<quint32> glyphs = raw.glyphIndexesForString(plane);
        for (qsizetype i = 0; i < plane.size() && i < glyphs.size(); ++i) {
            const char32_t c = plane[i].unicode();
            const auto printed_one = printed_by_glyph.constFind(glyphs[i]);
            if (printed_one == printed_by_glyph.cend())
                continue;
            if (*printed_one != c && !characters.contains(c))
                corrections.insert(c, *printed_one);
            // Only the lowest counts.
            printed_by_glyph.erase(printed_one);
        }
        return corrections;
    }
    // Without the font's answer, the character a radical stands for.
    for (char32_t r = 0x2E80; r <= 0x2FDF; ++r) {
        const QList<uint> folded =
            QString::fromUcs4(&r, 1).normalized(QString::NormalizationForm_KC).toUcs4();
        if (!characters.contains(r) && folded.size() == 1 && folded.first() != r &&
            characters.contains(folded.first()))
            corrections.insert(r, folded.first());
    }
    return corrections;
}

QByteArray update_for(const QByteArray &pdf, const Corrections &corrections)
{
    static const QRegularExpression to_unicode(u"/ToUnicode (\\d+) 0 R"_s);
    static const QRegularExpression start_xref(u"startxref\\s+(\\d+)\\s+%%EOF\\s*$"_s);
    const QString text = QString::fromLatin1(pdf);
    const auto xref = start_xref.match(text);
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    if (corrections.isEmpty() || !xref.hasMatch() || trailer < 0)
        return {};
    const qsizetype open = pdf.indexOf("<<", trailer), close = pdf.indexOf(">>", trailer);
    if (open < 0 || close < open)
        return {};

    QByteArray update = pdf.endsWith('\n') ? QByteArray() : QByteArray("\n");
    QList<std::pair<int, qsizetype>> offsets;
    QList<int> seen;
    for (auto it = to_unicode.globalMatch(text); it.hasNext();) {
        const int number = it.next().captured(1).toInt();
        if (seen.contains(number))
            continue;
        seen += number;
        const std::optional<QByteArray> cmap = stream_of(pdf, number);
        if (!cmap)
            continue;
        QMap<uint, QString> map = read_cmap(*cmap);
        bool changed = false;
        for (QString &value : map) {
            const QList<uint> units = value.toUcs4();
            if (units.size() == 1 && corrections.contains(units.first())) {
                const char32_t c = corrections.value(units.first());
                value = QString::fromUcs4(&c, 1);
                changed = true;
            }
        }
        if (!changed)
            continue;
        const QByteArray body = write_cmap(map);
        offsets.append({number, pdf.size() + update.size()});
        update += QByteArray::number(number) + " 0 obj\n<< /Length " + QByteArray::number(body.size()) +
                  " >>\nstream\n" + body + "endstream\nendobj\n";
    }
    if (offsets.isEmpty())
        return {};
    const qsizetype xref_at = pdf.size() + update.size();
    update += "xref\n";
    for (const auto &[number, offset] : offsets)
        update += QByteArray::number(number) + " 1\n" +
                  QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<" + pdf.mid(open + 2, close - open - 2) + "/Prev " +
              xref.captured(1).toLatin1() + "\n>>\nstartxref\n" + QByteArray::number(xref_at) +
              "\n%%EOF\n";
    return update;
}

bool correct_file(const QString &path, const QString &printed, const QFont &font)
{
    return correct_file(path, corrections_for(printed, font));
}

bool correct_file(const QString &path, const Corrections &corrections)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray update = update_for(file.readAll(), corrections);
    file.close();
    if (update.isEmpty())
        return true;
    return file.open(QIODevice::Append) && file.write(update) == update.size() && file.flush();
}

}  // namespace pdftextmap
