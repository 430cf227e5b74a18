#include "base/csv.h"

namespace csv {

namespace {

const QString kFormulaStarts = QStringLiteral("=+-@");
const QString kGuardedStarts = QStringLiteral("＝＋－＠");

} // namespace

QString field(const QString& value)
{
    QString text = value;
    if (const qsizetype at = kFormulaStarts.indexOf(text.left(1)); !text.isEmpty() && at >= 0)
        text[0] = kGuardedStarts[at];
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n')) ||
                        text.contains(QLatin1Char('\r'));
    if (!quoted)
        return text;
    text.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

File::File(const QString& path) : file_(path)
{
    opened_ = file_.open(QIODevice::WriteOnly);
    if (opened_)
        file_.write("\xEF\xBB\xBF");
}

void File::writeRow(const QStringList& values)
{
    if (!opened_)
        return;
    QStringList fields;
    fields.reserve(values.size());
    for (const QString& value : values)
        fields << field(value);
    file_.write(fields.join(QLatin1Char(',')).toUtf8());
    file_.write("\r\n");
}

bool File::commit()
{
    return opened_ && file_.commit();
}

} // namespace csv
