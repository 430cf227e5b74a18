#include "store/notices.h"

namespace store {

namespace {

QStringList& notes()
{
    static QStringList kept;
    return kept;
}

} // namespace

void noteForOperator(const QString& text)
{
    notes() << text;
}

QStringList takeNotesForOperator()
{
    return std::exchange(notes(), {});
}

} // namespace store
