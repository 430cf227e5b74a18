#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

// The text a reader gets from a PDF that Qt wrote. Qt tells a reader which character a glyph
// stands for (each font's ToUnicode map) by the lowest code point the font draws with that glyph,
// and Noto CJK draws many look-alike characters with one glyph: 用 and the Kangxi radical ⽤
// (U+2F64), ・ and ‧, ～ and 〜, the ideographic space and the em space. A reader of a sheet then
// finds "利⽤者" where "利用者" was printed, and a search for a name finds nothing.
namespace pdf_text {

// The PDF with each glyph of its ToUnicode maps read back as the character that was drawn with it:
// one of `drawn` that the font draws with that glyph, else, for a glyph the font shares with a
// character's compatibility form (a radical, a compatibility ideograph), the ordinary character.
// `fonts` are the fonts the text was drawn in. A file not laid out as Qt writes it (one classic
// cross-reference table, uncompressed maps) is returned unchanged.
QByteArray withDrawnCharacters(const QByteArray& pdf, const QString& drawn, const QList<QFont>& fonts);

} // namespace pdf_text
