// The desk's own work on the generated database: one booking through the entry form's save (the
// checks, the reserver row, a reserver number for a new reserver, the reservation row, all
// committed before it returns), for a new and for a known reserver, and opening the time inquiry
// by day over the 100 targets.

#include "bench.h"

#include "app/startup.h"
#include "reservations/entry_form.h"
#include "reservations/time_inquiry_form.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/message_box.h"
#include "views/target_list.h"

#include <QLineEdit>
#include <cstdio>

namespace bench {

namespace {

constexpr int kRuns = 21;

int reservationCount(const QString& target, const QString& date)
{
    store::Table reservations = workingDesk().database.table("予約", "Idx_期限");
    int n = 0;
    for (reservations.seek("=", {target, date}); !reservations.eof(); reservations.moveNext()) {
        if (reservations.text("予約_設定番号") != target || reservations.text("予約_年月日") != date)
            break;
        ++n;
    }
    return n;
}

void measureBookings(const BenchDatabase& where)
{
    // The running program keeps its connection open (the open screens watch the database), so
    // no measurement pays for connecting.
    const Desk desk = workingDesk();
    // A database on a server keeps the bookings of earlier runs: new reservers get names no run
    // has used yet, and known ones are others than any run booked there.
    const int before = reservationCount("00001", "2027/01/15");
    {
        BookingSlot slot;
        slot.target = {"00001", "対象1", "対象1", QString()};
        slot.date = QDate(2027, 1, 15);
        slot.start = {10, 0};
        slot.end = {10, 30};
        slot.overlapAllowed = true;
        EntryOutcome outcome;
        予約者登 form(slot, outcome);
        form.takeDesk(desk);
        auto* name = form.findChild<QLineEdit*>("予約者名");
        auto* kana = form.findChild<QLineEdit*>("予約者カナ");
        int n = 0;
        const auto bookAs = [&](const QString& who, const QString& whoKana) {
            form.Form_Load();
            name->setText(who);
            kana->setText(whoKana);
        };
        printMillis("booking_new_reserver" + where.suffix, medianMicros(
                                                               kRuns, [&] { form.確定_Click(); },
                                                               [&] {
                                                                   ++n;
                                                                   bookAs(QString("新規予約者%1").arg(before + n),
                                                                          QString("シンキヨヤクシャ%1").arg(before + n));
                                                               }));
        printMillis("booking_known_reserver" + where.suffix, medianMicros(
                                                                 kRuns, [&] { form.確定_Click(); },
                                                                 [&] {
                                                                     ++n;
                                                                     bookAs(QString("予約者%1").arg((before + n) * 97),
                                                                            QString("ヨヤクシャ%1").arg((before + n) * 97));
                                                                 }));
    }
    std::printf("# %d reservations written on 2027/01/15, %d expected\n", reservationCount("00001", "2027/01/15") - before, 2 * kRuns);

    const InquiryRequest byDay{InquiryKind::ByDay, QDate(2026, 12, 8), QDate(2026, 12, 8), {}, CMB対象::LoadTargetList(desk.database)};
    int gridRows = 0;
    printMillis("inquiry_by_day_open" + where.suffix, medianMicros(kRuns, [&] {
                    時間照会 form(byDay);
                    form.takeDesk(desk);
                    form.Form_Load();
                    gridRows = form.findChild<FlexGrid*>("時間帯")->rows();
                }));
    std::printf("# %d targets, %d grid rows\n", int(byDay.targets.numbers.size()), gridRows);
    std::fflush(stdout);
}

} // namespace

int bookingBench(const StoreOptions& options)
{
    // A copy of its own, so that no other benchmark's copy is touched.
    const std::vector<BenchDatabase> databases = benchDatabases(scratchCopy("booking.mdb"), options);
    msg::setResponder([](const msg::Shown&) { return true; });
    const int status = measureInWorkingFolders(databases, "booking", measureBookings);
    msg::clearResponder();
    return status;
}

} // namespace bench
