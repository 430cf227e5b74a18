// The closure calendar on the generated database: drawing one month of a target that has rows of
// its own, and registering and deleting the Saturdays and Sundays of a fiscal year through the
// regular holidays form (each run writes or deletes about 104 rows and redraws).

#include "bench.h"

#include "app/startup.h"
#include "closures/regular_holidays_form.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/message_box.h"
#include "views/closure_calendar.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace bench {

int closuresBench()
{
    QTemporaryDir folder;
    QFile::copy(generatedDatabase(), folder.filePath("Kelvora.mdb"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const Desk desk = workingDesk();
    msg::setResponder([](const msg::Shown&) { return true; });

    {
        FlexGrid calendar;
        FlexGrid list;
        CalendarState state;
        state.Target = "00008";
        state.CalendarMonthStart = QDate(2026, 12, 1);
        printMillis("closure_draw_month", medianMicros(20, [&] {
                        Grid休業::DrawClosureCalendar(desk.database, Grid休業::IndividualClosures, &calendar, &list, state);
                    }));
    }

    {
        定休日登録* form = forms::showModeless<定休日登録>(desk);
        form->findChild<QLineEdit*>("年度")->setText("2025");
        form->年度_LostFocus();
        form->findChild<QCheckBox*>("日")->setChecked(true);
        form->findChild<QCheckBox*>("土")->setChecked(true);
        auto* save = form->findChild<QPushButton*>("確定");
        auto* remove = form->findChild<QPushButton*>("削除");
        printMillis("holidays_year_register", medianMicros(
                                                  5, [&] { save->click(); }, [&] { remove->click(); }));
        printMillis("holidays_year_delete", medianMicros(
                                                5, [&] { remove->click(); }, [&] { save->click(); }));
        delete form;
    }

    msg::clearResponder();
    QDir::setCurrent(previous);
    return 0;
}

} // namespace bench
