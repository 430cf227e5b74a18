#include "master/master_settings_form.h"

#include "base/input.h"
#include "records/master_items.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"

#include <iterator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("ﾏｽﾀｰ登録");

struct MasterItem {
    const char* labelName;
    const char* caption;
    const char* explanation;
};

// Items 1 to 7: the clickable label and the line that says what to type.
const MasterItem kItems[] = {
    {"保持年数", "保持期限", "保持期限を月数で入力してください"},
    {"特定日設定", "特定日設定", "1：曜日で特定　2：日付 DDで設定  で入力してください"},
    {"年度開始日", "年度開始日", "MM/DD  で入力してください"},
    {"表示開始", "表示開始時間", "表示開始時間を XX(時～) を入力してください"},
    {"表示終了", "表示終了時間", "表示終了時間を (時～)XX を入力してください"},
    {"プリフィックス", "予約NOﾌﾟﾘﾌｨｯｸｽ", "年を使用する場合は 半角で\"YYYY\" と入力してください"},
    {"予約NO区分", "予約NO設定区分", "1：共通で設定　2：予約対象ごとに設定で入力してください"},
};
constexpr int kItemCount = int(std::size(kItems));

QString explanationOf(int item)
{
    return item >= 1 && item <= kItemCount ? QString::fromUtf8(kItems[item - 1].explanation) : QString();
}

// Item 2 says the same in a slightly different wording once a stored value is shown.
QString storedExplanationOf(int item)
{
    return item == 2 ? QStringLiteral("1：曜日で特定　2：日付 DDで設定で入力してください") : explanationOf(item);
}

} // namespace

マスター登::マスター登() : Form(QStringLiteral("マスター登"), QStringLiteral("マスター登録"))
{
    QGroupBox* kinds = frame("Frame1", "マスター種類");
    auto* kindColumn = new QVBoxLayout(kinds);
    kindColumn->setSpacing(6);
    for (int item = 1; item <= kItemCount; ++item) {
        QLabel* itemLabel = label(QString::fromUtf8(kItems[item - 1].caption), kinds, QString::fromUtf8(kItems[item - 1].labelName));
        itemLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        itemLabel->setMargin(6);
        itemLabel->setMinimumWidth(170);
        itemLabel->setAutoFillBackground(true);
        ui::onClick(itemLabel, [this, item] { pickItem(item); });
        kindColumn->addWidget(itemLabel);
        items_ << itemLabel;
    }
    kindColumn->addStretch();

    // The number is the picked item's; it is not typed.
    登録NO = displayBox("登録NO");
    登録NO->setFixedWidth(60);
    登録内容 = textBox("登録内容");
    登録内容->setMinimumWidth(200);
    備考 = textBox("備考");
    備考->setMinimumWidth(360);
    登録説明 = label(QString(), this, "登録説明");
    登録説明->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    登録説明->setMargin(6);
    登録説明->setMinimumWidth(400);
    登録説明->setMinimumHeight(登録説明->fontMetrics().height() + 16);

    QPushButton* save = button("確定", "確定");
    save->setDefault(true); // Enter saves, after the usual question
    QPushButton* close = button("終了", "終了");
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(label("登録NO"), 登録NO);
    fields->addRow(label("登録内容"), 登録内容);
    fields->addRow(label("備考"), 備考);

    QBoxLayout* buttons = buttonRow({save, close});

    auto* entry = new QVBoxLayout;
    entry->addLayout(fields);
    entry->addWidget(登録説明);
    entry->addStretch();
    entry->addLayout(buttons);

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(16);
    page->addWidget(kinds);
    page->addLayout(entry, 1);
}

void マスター登::Form_Load()
{
    check_.clear();
    currentItem_ = 0;
}

void マスター登::pickItem(int item)
{
    currentItem_ = item;
    for (int i = 0; i < items_.size(); ++i) {
        // The picked item stands out like a selected grid row.
        QPalette palette = items_[i]->palette();
        palette.setColor(QPalette::Window, i + 1 == item ? ui::qbColor(10) : items_[i]->parentWidget()->palette().color(QPalette::Window));
        items_[i]->setPalette(palette);
    }
    登録NO->setText(QString::number(item));
    登録説明->setText(explanationOf(item));
    ShowMasterItem();
}

void マスター登::ShowMasterItem()
{
    const std::optional<records::MasterItem> item = records::findMasterItem(database(), currentItem_);
    if (!item) {
        登録内容->clear();
        備考->clear();
        return;
    }
    登録NO->setText(QString::number(item->number));
    登録内容->setText(item->content);
    備考->setText(item->remark);
    登録説明->setText(storedExplanationOf(input::wholeNumber16(登録NO->text()).value_or(0)));
}

void マスター登::ValidateMasterInput()
{
    check_.clear();
    const QString value = 登録内容->text();
    const auto fail = [this] { check_.fail(登録内容, QStringLiteral("登録内容に正しく入力してください")); };
    if (value.isEmpty() && currentItem_ != 6) {
        check_.fail(登録内容, QStringLiteral("登録内容に入力してください"));
        return;
    }
    // Items 1, 2, 4 and 5 are read back as 16-bit integers.
    const std::optional<int> number = input::wholeNumber16(value);
    switch (currentItem_) {
    case 1:
        // A number of months to keep: a negative one would put the purge's cut-off in the future.
        if (!number || *number < 0)
            return fail();
        break;
    case 4:
        if (!number)
            return fail();
        break;
    case 2:
        if (number != 1 && number != 2)
            return fail();
        break;
    case 3:
        // "MM/DD" must name a day of a year without 29 February.
        if (!input::dateOfParts({QStringLiteral("2003"), value}))
            return fail();
        break;
    case 5:
        if (!number)
            return fail();
        CheckDisplayHours(*number);
        if (check_.failed())
            return;
        break;
    case 6:
        if (value.size() > 4)
            return check_.fail(登録内容, QStringLiteral("MAX 6桁で入力してください"));
        break;
    case 7:
        if (value != QLatin1String("1") && value != QLatin1String("2"))
            return fail();
        break;
    default: return;
    }
    check_.pass(登録内容);
}

void マスター登::CheckDisplayHours(int endHour)
{
    const std::optional<records::MasterItem> start = records::findMasterItem(database(), 4);
    if (!start) {
        登録説明->setText(QStringLiteral("表示開始時間を XX(時～) を登録してください"));
        return;
    }
    // A start hour that is no number is not held against the end: start-up reads it as its default.
    const std::optional<double> startHour = input::number(start->content);
    if (startHour && endHour < *startHour)
        check_.fail(登録内容, QStringLiteral("表示開始･終了時間の関係を正しく入力してください"));
}

void マスター登::確定_Click()
{
    if (currentItem_ == 0) {
        msg::exclaim(QStringLiteral("項目を選択してください"), kTitle);
        return;
    }
    ValidateMasterInput();
    if (check_.reportFailure(kTitle))
        return;
    if (!msg::ask(QStringLiteral("入力内容で登録・更新します。"), kTitle))
        return;
    currentItem_ = input::wholeNumber16(登録NO->text()).value_or(0);
    // Numbers and the year start are stored with half-width digits, as every reader expects them;
    // the number prefix is text and stays as typed.
    const QString content = currentItem_ == 6 ? 登録内容->text() : input::normalized(登録内容->text());
    records::saveMasterItem(database(), {currentItem_, content, 備考->text()});
    msg::exclaim(QStringLiteral("登録･更新しました。"), kTitle);
}

void マスター登::終了_Click()
{
    close();
}
