#include "sheets/pdf_text.h"

#include <QRawFont>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace pdf_text {

namespace {

// ---- which character a glyph stands for ---------------------------------------------------------

// The glyph a font draws a character with; 0 when it has none.
quint32 glyphOf(const QRawFont& font, char32_t c)
{
    if (!font.supportsCharacter(c))
        return 0;
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 ? glyphs.front() : 0;
}

// 用 for the radical ⽤, 利 for the compatibility ideograph 利; the character itself when it has no
// such single ordinary form.
char32_t ordinaryForm(char32_t c)
{
    const QList<uint> form = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KC).toUcs4();
    return form.size() == 1 ? form.front() : c;
}

class DrawnCharacters {
public:
    DrawnCharacters(const QString& drawn, const QList<QFont>& fonts)
    {
        const QList<uint> codes = drawn.toUcs4();
        const std::set<char32_t> characters(codes.begin(), codes.end());
        for (const QFont& font : fonts) {
            Font known{QRawFont::fromFont(font), {}};
            for (const char32_t c : characters) {
                const quint32 glyph = glyphOf(known.raw, c);
                if (glyph == 0)
                    continue;
                // Of two drawn characters that share a glyph, the ordinary one.
                const auto [at, added] = known.byGlyph.emplace(glyph, c);
                if (!added && ordinaryForm(c) == c)
                    at->second = c;
            }
            fonts_.push_back(std::move(known));
        }
    }

    // What a reader should get for a glyph that Qt named by `c`.
    char32_t drawnAs(char32_t c) const
    {
        for (const Font& font : fonts_) {
            const quint32 glyph = glyphOf(font.raw, c);
            if (glyph == 0)
                continue;
            if (const auto drawn = font.byGlyph.find(glyph); drawn != font.byGlyph.end())
                return drawn->second;
            if (const char32_t ordinary = ordinaryForm(c); ordinary != c && glyphOf(font.raw, ordinary) == glyph)
                return ordinary;
        }
        return c;
    }

private:
    struct Font {
        QRawFont raw;
        std::map<quint32, char32_t> byGlyph;
    };
    std::vector<Font> fonts_;
};

// ---- the ToUnicode maps -------------------------------------------------------------------------

// Glyph code in the font's encoding -> the text it stands for.
using GlyphTexts = std::map<quint32, QString>;

QList<QByteArray> tokensOf(const QByteArray& text)
{
    QList<QByteArray> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            ++i;
        } else if (c == '<') {
            const qsizetype end = text.indexOf('>', i);
            if (end < 0)
                return {};
            tokens << text.mid(i, end + 1 - i);
            i = end + 1;
        } else if (c == '[' || c == ']') {
            tokens << QByteArray(1, c);
            ++i;
        } else {
            qsizetype end = i;
            while (end < text.size() && std::string_view(" \n\r\t<[]").find(text[end]) == std::string_view::npos)
                ++end;
            tokens << text.mid(i, end - i);
            i = end;
        }
    }
    return tokens;
}

bool isHex(const QByteArray& token)
{
    return token.size() >= 2 && token.front() == '<' && token.back() == '>';
}

std::optional<quint32> codeOf(const QByteArray& token)
{
    bool ok = false;
    const quint32 code = token.mid(1, token.size() - 2).toUInt(&ok, 16);
    return ok ? std::optional(code) : std::nullopt;
}

std::optional<QString> textOf(const QByteArray& token)
{
    const QByteArray hex = token.mid(1, token.size() - 2);
    if (hex.size() % 4 != 0)
        return std::nullopt;
    QString text;
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        bool ok = false;
        text += QChar(char16_t(hex.mid(i, 4).toUShort(&ok, 16)));
        if (!ok)
            return std::nullopt;
    }
    return text;
}

// The entries of the bfchar and bfrange sections of a CMap.
std::optional<GlyphTexts> readEntries(const QByteArray& sections)
{
    const QList<QByteArray> tokens = tokensOf(sections);
    GlyphTexts entries;
    qsizetype i = 0;
    const auto hexAt = [&](qsizetype at) { return at < tokens.size() && isHex(tokens[at]); };
    while (i < tokens.size()) {
        const QByteArray& token = tokens[i++];
        if (token == "beginbfchar") {
            while (hexAt(i) && hexAt(i + 1)) {
                const std::optional<quint32> code = codeOf(tokens[i]);
                const std::optional<QString> text = textOf(tokens[i + 1]);
                if (!code || !text)
                    return std::nullopt;
                entries[*code] = *text;
                i += 2;
            }
        } else if (token == "beginbfrange") {
            while (hexAt(i) && hexAt(i + 1) && i + 2 < tokens.size()) {
                const std::optional<quint32> first = codeOf(tokens[i]);
                const std::optional<quint32> last = codeOf(tokens[i + 1]);
                if (!first || !last || *last < *first)
                    return std::nullopt;
                i += 2;
                if (tokens[i] == "[") {
                    ++i;
                    for (quint32 code = *first; code <= *last; ++code, ++i) {
                        const std::optional<QString> text = hexAt(i) ? textOf(tokens[i]) : std::nullopt;
                        if (!text)
                            return std::nullopt;
                        entries[code] = *text;
                    }
                    if (i >= tokens.size() || tokens[i] != "]")
                        return std::nullopt;
                    ++i;
                } else {
                    std::optional<QString> text = hexAt(i) ? textOf(tokens[i]) : std::nullopt;
                    if (!text || text->isEmpty())
                        return std::nullopt;
                    for (quint32 code = *first; code <= *last; ++code) {
                        entries[code] = *text;
                        (*text).back() = QChar(char16_t(text->back().unicode() + 1));
                    }
                    ++i;
                }
            }
        } else if (token != "endbfchar" && token != "endbfrange" && !(token.front() >= '0' && token.front() <= '9')) {
            return std::nullopt;
        }
    }
    return entries;
}

QByteArray hexOf(const QString& text)
{
    QByteArray hex;
    for (const QChar unit : text)
        hex += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}

QString redrawn(const QString& text, const DrawnCharacters& drawn)
{
    const QList<uint> codes = text.toUcs4();
    if (codes.size() != 1)
        return text;
    const char32_t c = drawn.drawnAs(codes.front());
    return QString::fromUcs4(&c, 1);
}

// The CMap with its entries read back as drawn, written one glyph an entry.
std::optional<QByteArray> rewriteCMap(const QByteArray& cmap, const DrawnCharacters& drawn)
{
    const qsizetype firstSection = cmap.indexOf("beginbf");
    const qsizetype end = cmap.indexOf("endcmap");
    if (firstSection < 0 || end < firstSection)
        return std::nullopt;
    const qsizetype sectionsStart = cmap.lastIndexOf('\n', firstSection) + 1;
    const std::optional<GlyphTexts> entries = readEntries(cmap.mid(sectionsStart, end - sectionsStart));
    if (!entries)
        return std::nullopt;

    QByteArray sections;
    const auto write = [&](const std::vector<std::pair<quint32, QString>>& chunk) {
        sections += QByteArray::number(qsizetype(chunk.size())) + " beginbfchar\n";
        for (const auto& [code, text] : chunk)
            sections += "<" + QByteArray::number(code, 16).rightJustified(4, '0').toUpper() + "> <" + hexOf(text) + ">\n";
        sections += "endbfchar\n";
    };
    std::vector<std::pair<quint32, QString>> chunk;
    for (const auto& [code, text] : *entries) {
        chunk.emplace_back(code, redrawn(text, drawn));
        if (chunk.size() == 100) { // a section holds at most 100 entries
            write(chunk);
            chunk.clear();
        }
    }
    if (!chunk.empty())
        write(chunk);
    return cmap.left(sectionsStart) + sections + cmap.mid(end);
}

// ---- the file -----------------------------------------------------------------------------------

bool startsAt(const QByteArray& pdf, qsizetype at, QByteArrayView prefix)
{
    return at >= 0 && at <= pdf.size() && QByteArrayView(pdf).sliced(at).startsWith(prefix);
}

struct CrossReference {
    qsizetype at = 0;
    struct Entry {
        qsizetype offset;
        QByteArray generation;
        char kind; // 'n' in use, 'f' free
    };
    std::vector<Entry> entries;
    QByteArray trailer; // from "trailer" up to "startxref"
};

std::optional<CrossReference> readCrossReference(const QByteArray& pdf)
{
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0)
        return std::nullopt;
    bool ok = false;
    CrossReference xref;
    xref.at = pdf.mid(start + 9, 32).trimmed().split('\n').front().trimmed().toLongLong(&ok);
    if (!ok || xref.at <= 0 || xref.at >= start || !startsAt(pdf, xref.at, "xref"))
        return std::nullopt;
    const qsizetype trailer = pdf.indexOf("trailer", xref.at);
    if (trailer < 0 || trailer > start)
        return std::nullopt;
    xref.trailer = pdf.mid(trailer, start - trailer);
    if (xref.trailer.contains("/Prev") || xref.trailer.contains("/XRefStm"))
        return std::nullopt;
    const QList<QByteArray> tokens = tokensOf(pdf.mid(xref.at + 4, trailer - xref.at - 4));
    if (tokens.size() < 2 || tokens[0] != "0")
        return std::nullopt;
    const qsizetype count = tokens[1].toLongLong(&ok);
    if (!ok || tokens.size() != 2 + 3 * count)
        return std::nullopt;
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray& kind = tokens[2 + 3 * i + 2];
        const qsizetype offset = tokens[2 + 3 * i].toLongLong(&ok);
        if (!ok || (kind != "n" && kind != "f"))
            return std::nullopt;
        xref.entries.push_back({offset, tokens[2 + 3 * i + 1], kind.front()});
    }
    return xref;
}

// The numbers of the objects that are ToUnicode maps.
std::set<qsizetype> toUnicodeObjects(const QByteArray& pdf)
{
    std::set<qsizetype> objects;
    static const QRegularExpression reference(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    for (const QRegularExpressionMatch& match : reference.globalMatch(QString::fromLatin1(pdf)))
        objects.insert(match.captured(1).toLongLong());
    return objects;
}

struct Edit {
    qsizetype start;
    qsizetype end;
    QByteArray replacement;
};

// The object's dictionary and stream, as Qt writes a ToUnicode map ("<< /Length 486 >>", the
// text uncompressed), replaced by the rewritten map.
std::optional<Edit> rewriteObject(const QByteArray& pdf, qsizetype offset, qsizetype number, const DrawnCharacters& drawn)
{
    if (!startsAt(pdf, offset, QByteArray::number(number) + " 0 obj"))
        return std::nullopt;
    const qsizetype dictionary = pdf.indexOf("<<", offset);
    const qsizetype dictionaryEnd = pdf.indexOf(">>", dictionary);
    if (dictionary < 0 || dictionaryEnd < 0)
        return std::nullopt;
    static const QRegularExpression lengthOnly(QStringLiteral("^<<\\s*/Length\\s+(\\d+)\\s*$"));
    const QRegularExpressionMatch length = lengthOnly.match(QString::fromLatin1(pdf.mid(dictionary, dictionaryEnd - dictionary)));
    qsizetype stream = pdf.indexOf("stream", dictionaryEnd);
    if (!length.hasMatch() || stream < 0 || !pdf.mid(dictionaryEnd + 2, stream - dictionaryEnd - 2).trimmed().isEmpty())
        return std::nullopt;
    stream += 6;
    stream += startsAt(pdf, stream, "\r\n") ? 2 : startsAt(pdf, stream, "\n") ? 1 : 0;
    const qsizetype size = length.captured(1).toLongLong();
    if (stream + size > pdf.size())
        return std::nullopt;
    const std::optional<QByteArray> cmap = rewriteCMap(pdf.mid(stream, size), drawn);
    if (!cmap)
        return std::nullopt;
    return Edit{dictionary, stream + size, "<< /Length " + QByteArray::number(cmap->size()) + " >>\nstream\n" + *cmap};
}

} // namespace

QByteArray withDrawnCharacters(const QByteArray& pdf, const QString& drawn, const QList<QFont>& fonts)
{
    const std::optional<CrossReference> xref = readCrossReference(pdf);
    if (!xref)
        return pdf;
    const DrawnCharacters characters(drawn, fonts);
    std::vector<Edit> edits;
    for (const qsizetype number : toUnicodeObjects(pdf)) {
        if (number >= qsizetype(xref->entries.size()) || xref->entries[size_t(number)].kind != 'n')
            return pdf;
        std::optional<Edit> edit = rewriteObject(pdf, xref->entries[size_t(number)].offset, number, characters);
        if (!edit || edit->end > xref->at)
            return pdf;
        edits.push_back(std::move(*edit));
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });

    // Every object after an edit moves by what the edits before it added.
    QByteArray out;
    qsizetype copied = 0;
    std::vector<std::pair<qsizetype, qsizetype>> shifts; // from this offset on, moved by
    for (const Edit& edit : edits) {
        out += pdf.mid(copied, edit.start - copied) + edit.replacement;
        copied = edit.end;
        shifts.emplace_back(edit.end, out.size() - edit.end);
    }
    out += pdf.mid(copied, xref->at - copied);
    const auto moved = [&](qsizetype offset) {
        qsizetype by = 0;
        for (const auto& [from, shift] : shifts) {
            if (offset >= from)
                by = shift;
        }
        return offset + by;
    };

    const qsizetype xrefAt = out.size();
    out += "xref\n0 " + QByteArray::number(qsizetype(xref->entries.size())) + "\n";
    for (const CrossReference::Entry& entry : xref->entries) {
        const qsizetype offset = entry.kind == 'n' ? moved(entry.offset) : entry.offset;
        out += QByteArray::number(offset).rightJustified(10, '0') + " " + entry.generation + " " + entry.kind + " \n";
    }
    out += xref->trailer + "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

} // namespace pdf_text
