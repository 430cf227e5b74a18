#include "records/targets.h"

#include "base/input.h"
#include "store/database.h"

#include <QRegularExpression>

namespace targets {

namespace {

const QString kCommon = QStringLiteral("00000");

bool isRegistered(store::Table& table, const QString& number)
{
    table.seek("=", {number});
    return !table.noMatch();
}

} // namespace

std::optional<QString> paddedNumber(const QString& typed)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const QString plain = input::normalized(typed);
    if (!digits.match(plain).hasMatch())
        return std::nullopt;
    return plain.rightJustified(5, u'0');
}

bool HasFutureReservations(const QString& number, const QString& workingDate)
{
    // The working date may be held without leading zeros; the reservation dates have them.
    const std::optional<QDate> from = input::date(workingDate);
    const QString fromText = from ? input::dateText(*from) : workingDate;
    const QString query = QStringLiteral("SELECT 予約.* ") + QStringLiteral("From 予約  ") +
                          QStringLiteral("WHERE 予約.予約_設定番号 =  ") + store::sqlLiteral(number) + QStringLiteral(" ") +
                          QStringLiteral("AND 予約.予約_年月日 >=  ") + store::sqlLiteral(fromText) + QStringLiteral(" ") +
                          QStringLiteral("ORDER BY 予約.予約_年月日 DESC ; ");
    return store::Database::open().queryHasRows(query);
}

void DeleteTargetBasic(const QString& number)
{
    store::Table basic = store::Database::open().table("基本");
    basic.setIndex("Key_基本");
    basic.seek("=", {number});
    if (!basic.noMatch())
        basic.remove();
}

void EnsureCommonTarget(const QString& target)
{
    store::Table table = store::Database::open().table("設定");
    table.setIndex("Key_設定");
    if (isRegistered(table, target) || isRegistered(table, kCommon))
        return;
    table.addNew();
    table.set("設定_番号", kCommon);
    table.set("設定_名称", QStringLiteral("共通基本情報"));
    table.set("設定_略称", QStringLiteral("共通基本情報"));
    table.set("設定_備考", QString());
    table.update();
}

} // namespace targets
