#pragma once

#include "support/fixture.h"
#include "ui/palette.h"

#include <QDate>
#include <QString>

// Calendar rows and targets for the closure tests.
class ClosureTest : public DatabaseTest {
protected:
    void addDay(const QString& target, const QDate& date, int flag, const QString& name = QString())
    {
        insert("カレンダー", {{"カレ_番号", target}, {"カレ_年月日", date}, {"カレ_休日FLG", flag}, {"カレ_備考", name}});
    }
    void addTarget(const QString& number, const QString& abbrev)
    {
        insert("設定", {{"設定_番号", number}, {"設定_名称", abbrev + "の名称"}, {"設定_略称", abbrev}});
    }
    // (target, date, flag, name) of every calendar row, in target and date order.
    std::vector<QStringList> calendarRows() const
    {
        return rows("カレンダー", "Key_カレンダー", {"カレ_番号", "カレ_年月日", "カレ_休日FLG", "カレ_備考"});
    }
    static QColor colour(int number) { return ui::qbColor(number); }
};
