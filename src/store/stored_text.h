#pragma once

#include <QString>
#include <QStringDecoder>
#include <cstring>

namespace store::detail {

// Text as the database holds it in UTF-8, every character kept; bytes that are not UTF-8 read as
// U+FFFD. QString::fromUtf8 drops a byte-order mark at the start: only such a text takes the
// slower decoder that keeps it.
inline QString storedText(const char* utf8, qsizetype size)
{
    if (size < 3 || std::memcmp(utf8, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(utf8, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8, size));
}

} // namespace store::detail
