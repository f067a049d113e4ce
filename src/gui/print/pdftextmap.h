#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class QFont;

// Qt's PDF writer finds the text behind each glyph by asking the font which
// character gives that glyph, lowest first. CJK fonts draw a Kangxi radical
// and its ideograph with one glyph (⽥ and 田), so the file's text said ⽥
// where the sheet says 田, and names could not be searched or copied.
// This puts the characters that were actually printed back into the text
// maps (ToUnicode), as an incremental update appended to the file.
namespace pdftextmap {

// Radical → the printed character the font draws with the same glyph.
using Corrections = QHash<char32_t, char32_t>;

// The corrections for the characters of printed, drawn in font.
Corrections corrections_for(const QString &printed, const QFont &font);

// The update to append to pdf (empty when nothing needs correcting).
QByteArray update_for(const QByteArray &pdf, const Corrections &corrections);

// Reads the file, appends the update; false when it could not be done.
bool correct_file(const QString &path, const Corrections &corrections);
bool correct_file(const QString &path, const QString &printed, const QFont &font);

}  // namespace pdftextmap
