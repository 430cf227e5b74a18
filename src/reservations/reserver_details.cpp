#include "reservations/reserver_details.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/reservers.h"
#include "rules/reserver_lookup.h"
#include "store/database.h"
#include "ui/database_watch.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kLongestName = 25; // characters of a name or its kana

// Characters as the operator counts them (a character outside the basic plane is one).
int characterCount(const QString& text)
{
    return int(text.toUcs4().size());
}

// Wide enough to show the longest name without scrolling.
int nameBoxWidth(const QLineEdit* box)
{
    return box->fontMetrics().horizontalAdvance(QString(kLongestName, QChar(0x3042))) + 16;
}

} // namespace

ReserverDetailsForm::ReserverDetailsForm(const QString& formName, const QString& caption, const QString& title)
    : Form(formName, caption), title_(title)
{
    予約者NO = textBox("予約者NO");
    予約者名 = textBox("予約者名");
    予約者カナ = textBox("予約者カナ");
    予約者一覧 = listBox("予約者一覧");
    Frame4 = frame("Frame4", QString());
    Frame4->setStyleSheet("QGroupBox { border: none; margin: 0; }");
    男 = option("男", "男", Frame4);
    女 = option("女", "女", Frame4);
    生年月日 = textBox("生年月日");
    年齢 = label(QString(), nullptr, "年齢");
    電話番号 = textBox("電話番号");
    携帯番号 = textBox("携帯番号");
    住所 = textBox("住所");
    備考 = textBox("備考");

    予約者NO->setFixedWidth(140);
    for (QLineEdit* box : {予約者名, 予約者カナ})
        box->setMinimumWidth(nameBoxWidth(box));
    生年月日->setFixedWidth(110);
    年齢->setMinimumWidth(60);
    for (QLineEdit* box : {電話番号, 携帯番号})
        box->setFixedWidth(180);
    予約者一覧->setMinimumWidth(220);

    auto* sexes = new QHBoxLayout(Frame4);
    sexes->setContentsMargins(0, 0, 0, 0);
    sexes->addWidget(男);
    sexes->addWidget(女);
    sexes->addStretch();

    ui::onChange(予約者カナ, [this] { 予約者カナ_Change(); });
    ui::onClick(予約者一覧, [this] { 予約者一覧_Click(); });
    ui::onLostFocus(予約者名, [this] { 予約者名_LostFocus(); });
    ui::onLostFocus(予約者カナ, [this] { 予約者カナ_LostFocus(); });
    ui::onLostFocus(生年月日, [this] { 生年月日_LostFocus(); });
    new DatabaseWatch(this, [this] { FollowReserverList(); });
}

QBoxLayout* ReserverDetailsForm::reserverLayout(Particulars shown)
{
    auto* reserver = new QHBoxLayout;
    reserver->setSpacing(16);
    reserver->addLayout(particularsLayout(shown), 3);
    reserver->addLayout(listLayout(), 2);
    return reserver;
}

QGridLayout* ReserverDetailsForm::particularsLayout(Particulars shown)
{
    auto* fields = new QGridLayout;
    // One spacing both ways, so that the rows laid out inside the grid keep it between their boxes.
    fields->setSpacing(10);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* after = nullptr) {
        fields->addWidget(label(caption), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        auto* line = new QHBoxLayout;
        line->addWidget(field);
        if (after)
            line->addWidget(after);
        line->addStretch();
        fields->addLayout(line, row++, 1);
    };
    const auto addWideRow = [&](const QString& caption, QWidget* box) {
        fields->addWidget(label(caption), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        fields->addWidget(box, row++, 1);
    };
    addRow("予約者NO", 予約者NO);
    addRow("予約者名", 予約者名);
    addRow("予約者名カナ", 予約者カナ);
    if (shown == Particulars::All) {
        addRow("性別", Frame4);
        auto* birth = new QWidget;
        auto* birthLine = new QHBoxLayout(birth);
        birthLine->setContentsMargins(0, 0, 0, 0);
        birthLine->addWidget(label("YYYY/MM/DD"));
        birthLine->addSpacing(16);
        birthLine->addWidget(label("年齢"));
        birthLine->addWidget(年齢);
        addRow("生年月日", 生年月日, birth);
    }
    addRow("電話番号", 電話番号);
    if (shown == Particulars::All) {
        addRow("携帯番号", 携帯番号);
        addWideRow("住所", 住所);
    } else {
        for (QWidget* unused : std::initializer_list<QWidget*>{Frame4, 生年月日, 年齢, 携帯番号, 住所})
            unused->hide();
    }
    addWideRow("備考", 備考);
    fields->setRowStretch(row, 1);
    fields->setColumnStretch(1, 1);
    return fields;
}

QLayout* ReserverDetailsForm::listLayout()
{
    auto* list = new QVBoxLayout;
    list->addWidget(label("予約者一覧"));
    list->addWidget(予約者一覧, 1);
    return list;
}

void ReserverDetailsForm::予約者カナ_Change()
{
    予約者一覧->clear();
    予約者一覧->addItems(reserver_lookup::namesByKana(database(), 予約者カナ->text()));
}

void ReserverDetailsForm::FollowReserverList()
{
    const QString picked = 予約者一覧->currentItem() ? 予約者一覧->currentItem()->text() : QString();
    予約者カナ_Change();
    const QList<QListWidgetItem*> same = 予約者一覧->findItems(picked, Qt::MatchExactly);
    if (!picked.isEmpty() && !same.isEmpty())
        予約者一覧->setCurrentItem(same.front());
}

void ReserverDetailsForm::予約者一覧_Click()
{
    const QListWidgetItem* picked = 予約者一覧->currentItem();
    if (!picked)
        return;
    if (!ShowReserverByName(picked->text()))
        msg::exclaim(QStringLiteral("指定された予約者は登録されていません。"), title_);
}

void ReserverDetailsForm::予約者名_LostFocus()
{
    CheckReserverName();
}

void ReserverDetailsForm::予約者カナ_LostFocus()
{
    CheckReserverKana();
}

void ReserverDetailsForm::生年月日_LostFocus()
{
    CheckBirthDate();
}

void ReserverDetailsForm::CheckReserverName()
{
    const QString name = reserverName();
    if (name.isEmpty())
        check_.fail(予約者名, QStringLiteral("予約者名に入力してください"));
    else if (characterCount(name) > kLongestName)
        check_.fail(予約者名, QStringLiteral("予約者名は漢字25桁以内で入力して下さい"));
    else
        check_.pass(予約者名);
}

void ReserverDetailsForm::CheckReserverKana()
{
    const QString kana = 予約者カナ->text().trimmed();
    if (kana.isEmpty())
        check_.fail(予約者カナ, QStringLiteral("予約者カナに入力してください"));
    else if (characterCount(kana) > kLongestName)
        check_.fail(予約者カナ, QStringLiteral("予約者カナは25桁以内で入力して下さい"));
    else
        check_.pass(予約者カナ);
}

void ReserverDetailsForm::CheckBirthDate()
{
    年齢->clear();
    const QString text = 生年月日->text().trimmed();
    if (text.isEmpty()) {
        check_.pass(生年月日);
        return;
    }
    const QDate today = appclock::today();
    const std::optional<QDate> birth = input::date(text);
    // A birth date still to come would give a negative age.
    if (!birth || *birth > today) {
        check_.fail(生年月日, QStringLiteral("生年月日に正しく入力してください"));
        return;
    }
    check_.pass(生年月日);
    // Years counted by their numbers: the birthday within the year does not matter.
    年齢->setText(QString::number(today.year() - birth->year()) + QStringLiteral("才"));
}

bool ReserverDetailsForm::ShowReserverByName(const QString& name)
{
    return ShowReserver(records::findReserverByName(database(), name));
}

bool ReserverDetailsForm::ShowReserverByNumber(const QString& number)
{
    return ShowReserver(records::findReserver(database(), number));
}

bool ReserverDetailsForm::ShowReserver(const std::optional<records::Reserver>& reserver)
{
    if (!reserver)
        return false;
    const records::Reserver& r = *reserver;
    予約者NO->setText(r.number);
    予約者名->setText(r.name);
    {
        // The list keeps what the operator searched for.
        const QSignalBlocker keepList(予約者カナ);
        予約者カナ->setText(r.kana);
    }
    住所->setText(r.address);
    電話番号->setText(r.phone);
    携帯番号->setText(r.mobile);
    ShowSex(r.sex);
    生年月日->setText(r.birth ? input::dateText(*r.birth) : QString());
    備考->setText(r.remark);
    CheckReserverName();
    CheckReserverKana();
    CheckBirthDate();
    QList<QListWidgetItem*> same = 予約者一覧->findItems(r.name, Qt::MatchExactly);
    if (same.isEmpty()) {
        予約者カナ_Change();
        same = 予約者一覧->findItems(r.name, Qt::MatchExactly);
    }
    if (!same.isEmpty())
        予約者一覧->setCurrentItem(same.first());
    return true;
}

void ReserverDetailsForm::ClearReserver()
{
    const QSignalBlocker noSearch(予約者カナ);
    for (QLineEdit* box : {予約者カナ, 予約者NO, 予約者名, 住所, 電話番号, 携帯番号, 生年月日, 備考})
        box->clear();
    年齢->clear();
    ShowSex(records::Sex::NotChosen);
}

void ReserverDetailsForm::ShowSex(records::Sex sex)
{
    // Two exclusive options cannot both be cleared while they exclude each other.
    for (QRadioButton* option : {男, 女})
        option->setAutoExclusive(false);
    男->setChecked(sex == records::Sex::Male);
    女->setChecked(sex == records::Sex::Female);
    for (QRadioButton* option : {男, 女})
        option->setAutoExclusive(true);
}

QString ReserverDetailsForm::reserverName() const
{
    return 予約者名->text().trimmed();
}

records::Reserver ReserverDetailsForm::ReserverToSave(const store::Database& db, const std::function<QString()>& newNumber) const
{
    records::Reserver r = records::findReserverByName(db, reserverName()).value_or(records::Reserver{});
    if (r.number.isEmpty())
        r.number = newNumber();
    r.kana = 予約者カナ->text().trimmed();
    r.name = reserverName();
    r.address = 住所->text();
    r.phone = 電話番号->text();
    r.mobile = 携帯番号->text();
    r.birth = input::date(生年月日->text());
    r.sex = 男->isChecked() ? records::Sex::Male : 女->isChecked() ? records::Sex::Female : records::Sex::NotChosen;
    r.remark = 備考->text();
    return r;
}
