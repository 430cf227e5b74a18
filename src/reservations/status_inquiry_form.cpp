#include "reservations/status_inquiry_form.h"

#include "base/app_state.h"
#include "base/input.h"
#include "reservations/time_inquiry_form.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "views/closure_calendar.h"
#include "views/target_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("予約状照会");
}

予約状照会::予約状照会()
    : MonthCalendarForm(QStringLiteral("予約状照会"), QStringLiteral("予約状況照会"), kTitle, Grid休業::StatusInquiry,
                        false),
      Label11(label(QStringLiteral("対象略称"), nullptr, QStringLiteral("Label11"))),
      Label対象略称(label(QStringLiteral("(照会する予約対象)"), nullptr, QStringLiteral("Label対象略称"))),
      照会(button(QStringLiteral("照会"), QStringLiteral("照会"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了")))
{
    layOut();
    照会->setDefault(true);
    ui::onClick(照会, [this] { 照会_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 予約状照会::layOut()
{
    auto* target = new QHBoxLayout;
    target->addWidget(Label11);
    target->addWidget(対象略称);
    target->addWidget(Label対象略称);
    target->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(monthRow(QStringLiteral("表示年月")));
    left->addWidget(日付, 0, Qt::AlignLeft);
    left->addLayout(dateRow(QStringLiteral("照会日")));
    left->addStretch();

    auto* list = new QVBoxLayout;
    list->addWidget(label(QStringLiteral("休日・行事")));
    list->addWidget(休業日);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(list);

    auto* page = new QVBoxLayout(this);
    page->addLayout(target);
    page->addLayout(body);
    page->addLayout(buttonRow({照会, 終了}));
}

bool 予約状照会::byTarget() const
{
    return app().modes.InquiryKind == 1;
}

void 予約状照会::Form_Load()
{
    startAtThisMonth();
    Label11->setVisible(byTarget());
    対象略称->setVisible(byTarget());
    Label対象略称->setVisible(byTarget());
    if (byTarget()) {
        chooseCurrentTarget();
    } else {
        CMB対象::FillTargetList();
        // The day of every target: the calendar shows the common closures.
        picker_.state().Target = QStringLiteral("00000");
    }
    picker_.draw();
    calendar_layout::fitGrids(日付, 休業日);
}

void 予約状照会::照会_Click()
{
    const std::optional<QDate> date = input::date(設定日->text());
    if (!date) {
        msg::exclaim(QStringLiteral("照会日付を選択して下さい。"), kTitle);
        return;
    }
    BookingHandOff& booking = app().booking;
    booking.SelectedDate = *date;
    booking.SelectedLastDate = *date;
    if (byTarget()) {
        if (対象略称->currentText().isEmpty()) {
            msg::exclaim(QStringLiteral("照会対象略称を選択して下さい。"), kTitle);
            return;
        }
        CMB対象::FindTargetByAbbrev(対象略称->currentText());
        booking.SelectedLastDate = date->addDays(6);
    }
    forms::showModal<時間照会>();
}

void 予約状照会::終了_Click()
{
    close();
}
