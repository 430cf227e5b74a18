// The business-hours forms on the generated database: filling the list of bands for each kind,
// saving and deleting a band through the form (checks, write, list filled again), and loading
// the list of specific dates of a target that has 36 of them among some 550 records.

#include "bench.h"

#include "app/startup.h"
#include "hours/business_hours_form.h"
#include "hours/specific_hours_form.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/message_box.h"
#include "store/database.h"
#include "views/hours_grid.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

namespace bench {

namespace {

// Rows of a list grid filled from row 1 on.
int filledRows(const FlexGrid* grid)
{
    int rows = 0;
    while (rows + 1 < grid->rows() && !grid->text(rows + 1, 0).isEmpty())
        ++rows;
    return rows;
}

} // namespace

int hoursBench()
{
    const QString path = scratchCopy("Kelvora.mdb");
    QDir::setCurrent(QFileInfo(path).absolutePath());
    const Desk desk = workingDesk();
    msg::setResponder([](const msg::Shown&) { return true; });
    constexpr int kRuns = 21;

    {
        FlexGrid grid;
        grid.setRows(101);
        grid.setCols(5);
        using records::HoursKind;
        const std::pair<const char*, records::HoursKey> lists[] = {
            {"hours_grid_regular", {HoursKind::Regular, "00004", 1, 0, {}}},
            {"hours_grid_daily_first_day", {HoursKind::Daily, "00005", 1, 0, {}}},
            {"hours_grid_specific", {HoursKind::Specific, "00002", 1, 0, QDate(2026, 12, 1)}},
        };
        for (const auto& [name, key] : lists) {
            printMillis(name, medianMicros(kRuns, [&, key = key] {
                            records::HoursKey k = key;
                            Grid時間帯::FillHoursGrid(desk.database, &grid, k);
                        }));
        }
    }

    {
        営業時間登::openFor(desk, records::HoursKind::Regular);
        営業時間登* form = forms::find<営業時間登>();
        form->findChild<FlexGrid*>("対象登録")->clickCell(5, 0); // 00004, which has two bands
        for (const auto& [name, text] : {std::pair{"開始時", "20"}, {"開始分", "00"}, {"終了時", "21"}, {"終了分", "00"}})
            form->findChild<QLineEdit*>(name)->setText(text);
        auto* save = form->findChild<QPushButton*>("確定");
        auto* remove = form->findChild<QPushButton*>("削除");
        const FlexGrid* bands = form->findChild<FlexGrid*>("時間帯");
        printMillis("hours_save_band", medianMicros(
                                           kRuns, [&] { save->click(); }, [&] { remove->click(); }));
        std::printf("# after a save the list shows %d bands\n", filledRows(bands));
        printMillis("hours_delete_band", medianMicros(
                                             kRuns, [&] { remove->click(); }, [&] { save->click(); }));
        std::printf("# after a deletion the list shows %d bands\n", filledRows(bands));
        delete form;
    }

    {
        特定時間登* form = forms::showModeless<特定時間登>(desk);
        auto* combo = form->findChild<QComboBox*>("対象略称");
        combo->setCurrentIndex(combo->findText("対象2"));
        printMillis("specific_date_list", medianMicros(kRuns, [&] { form->対象略称_Click(); }));
        std::printf("# %d dates listed\n", filledRows(form->findChild<FlexGrid*>("登録日付")));
        delete form;
    }

    msg::clearResponder();
    return 0;
}

} // namespace bench
