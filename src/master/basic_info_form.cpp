#include "master/basic_info_form.h"

#include "base/input.h"
#include "records/targets.h"
#include "records/basic.h"
#include "store/database.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("ｺｰﾄﾞﾏｽﾀｰ情報");

} // namespace

基本登::基本登(const records::Target& edited) : Form(QStringLiteral("基本登"), QStringLiteral("基本情報登録")), target_(edited)
{
    // The target is chosen before the form opens; these two only show which one it is.
    対象番号 = displayBox("対象番号");
    対象名称 = displayBox("対象名称");
    対象番号->setFixedWidth(80);
    対象名称->setMinimumWidth(260);

    QGroupBox* units = frame("Frame2", "時間の単位");
    分単位 = option("分単位", "分単位", units);
    時間単位 = option("時間単位", "時間単位", units);
    日単位 = option("日単位", "日単位", units);
    単位時間 = textBox("単位時間", units);
    単位時間->setFixedWidth(70);
    分表示 = frame("分表示", "分の選択", units);
    min10 = checkBox("min10", "10分", 分表示);
    min15 = checkBox("min15", "15分", 分表示);
    min20 = checkBox("min20", "20分", 分表示);
    min30 = checkBox("min30", "30分", 分表示);
    // Hiding the quick choices for hour and day units leaves the form as it is.
    QSizePolicy keepSpace = 分表示->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    分表示->setSizePolicy(keepSpace);

    QGroupBox* overlap = frame("Frame1", "重複予約");
    可能 = option("可能", "可能", overlap);
    不可能 = option("不可能", "不可能", overlap);
    重複数 = textBox("重複数", overlap);
    重複数->setFixedWidth(70);

    備考 = textBox("備考");
    QPushButton* save = button("確定", "確定");
    save->setDefault(true); // Enter saves, after the usual question
    QPushButton* close = button("終了", "終了");

    ui::onClick(分単位, [this] { 分単位_Click(); });
    ui::onClick(時間単位, [this] { nonMinuteUnit_Click(); });
    ui::onClick(日単位, [this] { nonMinuteUnit_Click(); });
    ui::onClick(min10, [this] { quickChoice_Click(min10, "10"); });
    ui::onClick(min15, [this] { quickChoice_Click(min15, "15"); });
    ui::onClick(min20, [this] { quickChoice_Click(min20, "20"); });
    ui::onClick(min30, [this] { quickChoice_Click(min30, "30"); });
    ui::onClick(不可能, [this] { 不可能_Click(); });
    ui::onLostFocus(単位時間, [this] { CheckUnitTime(); });
    ui::onLostFocus(重複数, [this] { CheckOverlapCount(); });
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* choices = new QHBoxLayout(分表示);
    for (QCheckBox* box : {min10, min15, min20, min30})
        choices->addWidget(box);

    auto* unitGrid = new QGridLayout(units);
    auto* unitKinds = new QHBoxLayout;
    for (QRadioButton* kind : {分単位, 時間単位, 日単位})
        unitKinds->addWidget(kind);
    unitKinds->addStretch();
    unitGrid->addLayout(unitKinds, 0, 0, 1, 3);
    unitGrid->addWidget(label("単位時間", units), 1, 0);
    unitGrid->addWidget(単位時間, 1, 1);
    unitGrid->addWidget(分表示, 1, 2);
    unitGrid->setColumnStretch(2, 1);

    auto* overlapGrid = new QGridLayout(overlap);
    auto* overlapKinds = new QHBoxLayout;
    overlapKinds->addWidget(可能);
    overlapKinds->addWidget(不可能);
    overlapKinds->addStretch();
    overlapGrid->addLayout(overlapKinds, 0, 0, 1, 3);
    overlapGrid->addWidget(label("重複数", overlap), 1, 0);
    overlapGrid->addWidget(重複数, 1, 1);
    overlapGrid->addWidget(label("（重複可能を設定した場合に入力してください）", overlap), 1, 2);
    overlapGrid->setColumnStretch(2, 1);

    auto* target = new QGridLayout;
    target->addWidget(label("対象番号"), 0, 0);
    target->addWidget(対象番号, 0, 1);
    target->addWidget(label("対象名称"), 0, 2);
    target->addWidget(対象名称, 0, 3);
    target->setColumnStretch(3, 1);

    auto* remark = new QHBoxLayout;
    remark->addWidget(label("備考"));
    remark->addWidget(備考, 1);

    QBoxLayout* buttons = buttonRow({save, close});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(12);
    page->addLayout(target);
    page->addWidget(units);
    page->addWidget(overlap);
    page->addLayout(remark);
    page->addLayout(buttons);
}

void 基本登::openFor(const Desk& desk, const records::Target& target, bool modal)
{
    if (基本登* open = forms::find<基本登>()) {
        open->target_ = target;
        if (!forms::load(open))
            return;
    }
    if (modal)
        forms::showModal<基本登>(desk, target);
    else
        forms::showModeless<基本登>(desk, target);
}

void 基本登::Form_Load()
{
    check_.clear();
    check_.pass(単位時間);
    check_.pass(重複数);
    LoadBasicInfo();
    対象番号->setText(target_.number);
    対象名称->setText(target_.name);
}

void 基本登::LoadBasicInfo()
{
    const std::optional<records::BasicRecord> basic = records::findBasic(database(), target_.number);
    if (!basic) {
        分単位->setChecked(true);
        分単位_Click();
        setQuickChoices(QString());
        単位時間->clear();
        不可能->setChecked(true);
        重複数->setText(QStringLiteral("0"));
        備考->clear();
        return;
    }
    if (basic->unit.kind == records::UnitKind::Minutes) {
        分単位->setChecked(true);
        分単位_Click();
    } else {
        (basic->unit.kind == records::UnitKind::Hours ? 時間単位 : 日単位)->setChecked(true);
        分表示->hide();
    }
    単位時間->setText(basic->unit.setting ? QString::number(*basic->unit.setting) : basic->unit.settingAsStored);
    setQuickChoices(単位時間->text());
    const int count = basic->overlapCount;
    (count == 0 ? 不可能 : 可能)->setChecked(true);
    重複数->setText(QString::number(count));
    備考->setText(basic->remark);
}

void 基本登::setQuickChoices(const QString& unitTime)
{
    min10->setChecked(unitTime == QLatin1String("10"));
    min15->setChecked(unitTime == QLatin1String("15"));
    min20->setChecked(unitTime == QLatin1String("20"));
    min30->setChecked(unitTime == QLatin1String("30"));
}

void 基本登::quickChoice_Click(QCheckBox* box, const QString& minutes)
{
    単位時間->setText(box->isChecked() ? minutes : QString());
    // The box may have been marked when the focus left it for this choice; the choice is valid.
    check_.pass(単位時間);
}

void 基本登::分単位_Click()
{
    分表示->show();
}

void 基本登::nonMinuteUnit_Click()
{
    setQuickChoices(QString());
    分表示->hide();
}

void 基本登::不可能_Click()
{
    重複数->setText(QStringLiteral("0"));
    check_.pass(重複数);
}

void 基本登::CheckUnitTime()
{
    // 基本_設定 is an integer field: the unit time is a whole number, and at least 1.
    const std::optional<int> unit = input::wholeNumber16(単位時間->text());
    bool valid = unit && *unit >= 1;
    if (valid && 分単位->isChecked())
        valid = *unit == 10 || *unit == 15 || *unit == 20 || *unit == 30;
    else if (valid && 時間単位->isChecked())
        valid = *unit <= 24;
    else if (valid && 日単位->isChecked())
        valid = *unit <= 1;
    if (valid)
        check_.pass(単位時間);
    else
        check_.fail(単位時間, QStringLiteral("単位時間に正しく入力してください"));
}

void 基本登::CheckOverlapCount()
{
    const std::optional<int> count = input::wholeNumber16(重複数->text());
    if (!count || (可能->isChecked() && *count <= 0))
        check_.fail(重複数, QStringLiteral("重複数に正しく入力してください"));
    else if (不可能->isChecked() && *count != 0)
        check_.fail(重複数, QStringLiteral("重複数は 0 以外の入力は不可能です"));
    else
        check_.pass(重複数);
}

void 基本登::確定_Click()
{
    check_.clear();
    CheckUnitTime();
    CheckOverlapCount();
    if (check_.reportFailure(kTitle))
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;

    records::BasicRecord basic;
    basic.target = target_.number;
    basic.unit.kind = 分単位->isChecked()     ? records::UnitKind::Minutes
                      : 時間単位->isChecked() ? records::UnitKind::Hours
                                              : records::UnitKind::Day;
    basic.unit.setting = *input::wholeNumber16(単位時間->text());
    basic.overlapAllowed = !不可能->isChecked();
    basic.overlapCount = basic.overlapAllowed ? *input::wholeNumber16(重複数->text()) : 0;
    basic.remark = 備考->text();

    store::Database db = database();
    store::Transaction transaction(db);
    records::saveBasic(db, basic);
    records::EnsureCommonTarget(db, target_.number);
    transaction.commit();

    msg::exclaim(QStringLiteral("更新(登録)しました。"), kTitle);
}

void 基本登::終了_Click()
{
    close();
}
