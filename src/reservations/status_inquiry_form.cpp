#include "reservations/status_inquiry_form.h"

#include "base/input.h"
#include "reservations/time_inquiry_form.h"
#include "ui/calendar_layout.h"
#include "ui/database_watch.h"
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

予約状照会::予約状照会(InquiryKind kind)
    : MonthCalendarForm(QStringLiteral("予約状照会"), QStringLiteral("予約状況照会"), kTitle, Grid休業::StatusInquiry, false),
      Label11(label(QStringLiteral("対象略称"), nullptr, QStringLiteral("Label11"))),
      Label対象略称(label(QStringLiteral("(照会する予約対象)"), nullptr, QStringLiteral("Label対象略称"))),
      照会(button(QStringLiteral("照会"), QStringLiteral("照会"))), 終了(button(QStringLiteral("終了"), QStringLiteral("終了"))),
      kind_(kind)
{
    layOut();
    照会->setDefault(true);
    ui::onClick(照会, [this] { 照会_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
    new DatabaseWatch(this, [this] { picker_.redraw(); });
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

void 予約状照会::openFor(const Desk& desk, InquiryKind kind)
{
    // One status inquiry form serves both inquiries: an open one turns to this kind.
    if (予約状照会* open = forms::find<予約状照会>()) {
        open->kind_ = kind;
        if (!forms::load(open))
            return;
    }
    forms::showModeless<予約状照会>(desk, kind);
}

bool 予約状照会::byTarget() const
{
    return kind_ == InquiryKind::ByTarget;
}

void 予約状照会::Form_Load()
{
    startAtThisMonth();
    Label11->setVisible(byTarget());
    対象略称->setVisible(byTarget());
    Label対象略称->setVisible(byTarget());
    if (byTarget()) {
        chooseTarget(target_);
    } else {
        // The day of every target: the calendar shows the common closures.
        picker_.state().Target = records::kCommonTarget;
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
    InquiryRequest request{kind_, *date, *date, {}, {}};
    if (byTarget()) {
        if (対象略称->currentText().isEmpty()) {
            msg::exclaim(QStringLiteral("照会対象略称を選択して下さい。"), kTitle);
            return;
        }
        // An abbreviation no target has is looked for under the common number.
        target_ = CMB対象::FindTargetByAbbrev(database(), 対象略称->currentText())
                      .value_or(records::Target{records::kCommonTarget, target_.name, target_.abbrev, QString()});
        request.target = target_;
        request.lastDate = date->addDays(6);
    } else {
        request.targets = CMB対象::LoadTargetList(database());
    }
    forms::showModal<時間照会>(desk(), request);
}

void 予約状照会::終了_Click()
{
    close();
}
