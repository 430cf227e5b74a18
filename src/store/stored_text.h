#pragma once

#include <QString>
#include <QStringDecoder>

namespace store::detail {

// Text as the database holds it in UTF-8, every character kept (QString::fromUtf8 drops a
// byte-order mark at the start); bytes that are not UTF-8 read as U+FFFD.
inline QString storedText(const char* utf8, qsizetype size)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8, size));
}

} // namespace store::detail
