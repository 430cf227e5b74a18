#include "closures/individual_closures_form.h"

#include "base/input.h"
#include "records/calendar.h"
#include "ui/calendar_layout.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "views/closure_calendar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("個別休業日登録");
}

個休業登録::個休業登録(const records::Target& target)
    : MonthCalendarForm(QStringLiteral("個休業登録"), kTitle, kTitle, Grid休業::IndividualClosures, true),
      Frame2(frame(QStringLiteral("Frame2"), QStringLiteral("休日区分"))),
      休日(option(QStringLiteral("休日"), QStringLiteral("休業日"), Frame2)),
      勤務(option(QStringLiteral("勤務"), QStringLiteral("営業日"), Frame2)), 休日名(textBox(QStringLiteral("休日名"))),
      確定(button(QStringLiteral("確定"), QStringLiteral("確定"))), 削除(button(QStringLiteral("削除"), QStringLiteral("削除"))),
      終了(button(QStringLiteral("終了"), QStringLiteral("終了"))), handed_(target)
{
    picker_.setRowReceivers(休日名, 休日, 勤務);
    layOut();
    休日->setChecked(true);

    ui::onClick(表示, [this] { 表示_Click(); });
    確定->setDefault(true); // Enter registers the day, after the usual question
    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 個休業登録::layOut()
{
    休日名->setMinimumWidth(calendar_layout::boxWidth(休日名, 20));

    auto* target = new QHBoxLayout;
    target->addWidget(label(QStringLiteral("対象略称")));
    target->addWidget(対象略称);
    target->addStretch();

    auto* options = new QHBoxLayout(Frame2);
    options->addWidget(休日);
    options->addWidget(勤務);

    auto* entry = new QGridLayout;
    entry->addLayout(dateRow(QStringLiteral("設定日")), 0, 0, 1, 2);
    entry->addWidget(Frame2, 1, 0, 1, 2);
    entry->addWidget(label(QStringLiteral("登録名")), 2, 0);
    entry->addWidget(休日名, 2, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(monthRow());
    left->addWidget(日付, 0, Qt::AlignLeft);
    left->addLayout(entry);
    left->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(休業日);

    auto* page = new QVBoxLayout(this);
    page->addLayout(target);
    page->addLayout(body);
    page->addLayout(buttonRow({確定, 削除, 終了}));
}

void 個休業登録::openFor(const Desk& desk, const records::Target& target)
{
    if (個休業登録* open = forms::find<個休業登録>()) {
        open->handed_ = target;
        if (!forms::load(open))
            return;
    }
    forms::showModeless<個休業登録>(desk, target);
}

void 個休業登録::Form_Load()
{
    startAtThisMonth();
    chooseTarget(handed_);
    picker_.draw();
    calendar_layout::fitGrids(日付, 休業日);
}

void 個休業登録::表示_Click()
{
    if (months_.checkYear() && months_.checkMonth())
        showMonth(*months_.typedMonth());
}

void 個休業登録::takeDate(const QDate& date)
{
    MonthCalendarForm::takeDate(date);
    dateCheck_.pass(設定日);
}

void 個休業登録::確定_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date || !hasTarget())
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    records::saveClosureDays(database(), picker_.state().Target, {*date}, {休日->isChecked(), 休日名->text()});
    picker_.draw();
    msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰの登録･更新を終了しました。"), kTitle);
}

void 個休業登録::削除_Click()
{
    const std::optional<QDate> date = checkedDate();
    if (!date || !hasTarget())
        return;
    if (!msg::ask(QStringLiteral("ｶﾚﾝﾀﾞｰを削除します。"), kTitle))
        return;
    if (records::removeClosureDays(database(), picker_.state().Target, {*date}) == 0) {
        msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰは登録されていません"), kTitle);
        return;
    }
    picker_.draw();
    msg::exclaim(QStringLiteral("ｶﾚﾝﾀﾞｰを削除しました。"), kTitle);
}

void 個休業登録::終了_Click()
{
    close();
}

bool 個休業登録::hasTarget()
{
    if (!picker_.state().Target.isEmpty())
        return true;
    msg::exclaim(QStringLiteral("対象略称を選択して下さい。"), kTitle);
    return false;
}

std::optional<QDate> 個休業登録::checkedDate()
{
    dateCheck_.clear();
    if (const std::optional<QDate> date = input::date(設定日->text())) {
        dateCheck_.pass(設定日);
        return date;
    }
    dateCheck_.fail(設定日, QStringLiteral("設定日に正しく(YYYY/MM/DD)入力してください"));
    dateCheck_.reportFailure(kTitle);
    return std::nullopt;
}
