#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QString>

// Qt's PDF writer finds the text behind each glyph by asking the font which
// character gives that glyph, lowest first. Fonts draw several characters
// with one glyph: a Kangxi radical and its ideograph (⽥ and 田), the em
// space and the ideographic space (U+2003 and U+3000), so the file's text
// said ⽥ where the sheet says 田, and names could not be searched or copied.
// This puts the characters that were actually printed back into the text
// maps (ToUnicode), as an incremental update appended to the file.
namespace pdftextmap {

// Character in the map → the printed character the font draws with the same glyph.
using Corrections = QHash<char32_t, char32_t>;

// The font for text that goes into a PDF file. Shaped text may use glyphs
// no character maps to (digits after Latin letters, the fi ligature), which
// the writer leaves out of the file's text; plain glyphs keep every character.
QFont unshaped(QFont font);

// The corrections for the characters of printed, drawn in font.
Corrections corrections_for(const QString &printed, const QFont &font);

// The update to append to pdf (empty when nothing needs correcting).
QByteArray update_for(const QByteArray &pdf, const Corrections &corrections);

// Reads the file, appends the update; false when it could not be done.
bool correct_file(const QString &path, const Corrections &corrections);
bool correct_file(const QString &path, const QString &printed, const QFont &font);

}  // namespace pdftextmap
