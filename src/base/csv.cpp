#include "base/csv.h"

#include <algorithm>

namespace csv {

namespace {

// What a spreadsheet takes for the start of a formula.
const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
// A number, a date, a time, a phone number ("-000001", "03-1234-5678", "(03) 1234"): it names no
// function and no cell, so nothing can run, and the desk's own numbers must read back unchanged.
const QString kPlainCharacters = QStringLiteral("0123456789-() /:.");

bool couldRunAsFormula(const QString& text)
{
    if (text.isEmpty() || !kFormulaStarts.contains(text.front()))
        return false;
    return !std::all_of(text.begin(), text.end(), [](QChar c) { return kPlainCharacters.contains(c); });
}

} // namespace

QString field(const QString& value)
{
    QString text = couldRunAsFormula(value) ? QLatin1Char('\'') + value : value;
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
