#pragma once

// What the booking tests share: two targets, a common unit of 30 minutes shown from 8:00 to 20:59,
// reservations and reservers put straight into the file, and the time inquiry opened as the
// status inquiry opens it.

#include "reservations/time_inquiry_form.h"
#include "support/fixture.h"
#include "ui/flex_grid.h"

#include <QLineEdit>
#include <QPushButton>

class BookingTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        settings.DisplayStartHour = 8;
        settings.DisplayEndHour = 20;
        settings.UnitMinutes = 30;
        insert("設定", {{"設定_番号", "00001"}, {"設定_名称", "第一会議室"}, {"設定_略称", "会議室A"}});
        insert("設定", {{"設定_番号", "00002"}, {"設定_名称", "第二会議室"}, {"設定_略称", "会議室B"}});
    }

    static records::Target roomA() { return {"00001", "第一会議室", "会議室A", ""}; }

    // The overlap rule of a target: a limit of 0 means no overlap.
    void basic(const QString& target, int limit)
    {
        insert("基本",
               {{"基本_番号", target}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", limit > 0 ? 1 : 0}, {"基本_重複数", limit}});
    }
    void book(const QString& target, const QString& date, const QString& start, const QString& end, const QString& number,
              const QString& name = "予約者", const QString& remark = "")
    {
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", date},
                        {"予約_開始時間", start},
                        {"予約_終了時間", end},
                        {"予約_予約者NO", number},
                        {"予約_予約者名", name},
                        {"予約_備考", remark}});
    }
    void reserver(const QString& number, const QString& name, const QString& kana, const QString& latest = "", const QString& remark = "")
    {
        insert("予約者", {{"予約者_予約者NO", number},
                          {"予約者_予約者名", name},
                          {"予約者_予約者名カナ", kana},
                          {"予約者_性別", 1},
                          {"予約者_最新予約日", latest},
                          {"予約者_備考", remark}});
    }
    void closedFrom(const QString& target, const QString& start, const QString& end)
    {
        insert("営業", {{"営業_番号", target}, {"営業_開始時間", start}, {"営業_終了時間", end}, {"営業_営業フラグ", "1"}});
    }

    // Seven days of 00001, from 2026/12/08 unless said otherwise.
    時間照会* openByTarget(const QDate& first = QDate(2026, 12, 8))
    {
        InquiryRequest request;
        request.kind = InquiryKind::ByTarget;
        request.firstDate = first;
        request.lastDate = first.addDays(6);
        request.target = roomA();
        return inquiry = open<時間照会>(request);
    }
    // Every target on 2026/12/08.
    時間照会* openByDay()
    {
        InquiryRequest request;
        request.kind = InquiryKind::ByDay;
        request.firstDate = request.lastDate = QDate(2026, 12, 8);
        request.targets = {{"00001", "00002"}, {"会議室A", "会議室B"}};
        return inquiry = open<時間照会>(request);
    }

    // Grid column of the slot starting at hh:mm.
    static int column(int hour, int minute) { return (hour - 8) * 2 + minute / 30 + 1; }

    QLineEdit* box(QWidget* form, const QString& name) const { return form->findChild<QLineEdit*>(name); }
    void press(QWidget* form, const QString& name) const { form->findChild<QPushButton*>(name)->click(); }
    FlexGrid* slotGrid() const { return inquiry->findChild<FlexGrid*>("時間帯"); }
    FlexGrid* list() const { return inquiry->findChild<FlexGrid*>("予約一覧"); }
    // The reservations listed for the chosen slot: number, start and end of each.
    QStringList listed() const
    {
        QStringList rows;
        for (int row = 1; row < list()->rows() && !list()->text(row, 0).isEmpty(); ++row)
            rows << list()->text(row, 0) + " " + list()->text(row, 2) + "-" + list()->text(row, 3);
        return rows;
    }

    時間照会* inquiry = nullptr;
};
