#include "master/targets_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "closures/individual_closures_form.h"
#include "master/basic_info_form.h"
#include "records/targets.h"
#include "records/basic.h"
#include "records/reservations.h"
#include "records/targets.h"
#include "store/database.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "views/target_list.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <iterator>

namespace {

const QString kTitle = QStringLiteral("予約対象登録");

struct Column {
    const char* header;
    int twips;
};
const Column kColumns[] = {{"番号", 600}, {"略称", 1800}, {"名称", 3200}, {"備考", 2450}};
constexpr int kColumnCount = int(std::size(kColumns));

} // namespace

対象登::対象登() : Form(QStringLiteral("対象登"), QStringLiteral("予約対象登録"))
{
    対象登録 = grid("対象登録");
    対象番号 = textBox("対象番号");
    対象略称 = textBox("対象略称");
    対象名称 = textBox("対象名称");
    備考 = textBox("備考");
    対象番号->setFixedWidth(90);
    対象略称->setMinimumWidth(200);
    対象名称->setMinimumWidth(280);
    備考->setMinimumWidth(280);

    QGroupBox* specific = frame("Frame1", "特定情報登録");
    QPushButton* basicInfo = button("基本情報登録", "基本情報登録", specific);
    QPushButton* closures = button("個別休業登録", "個別休業登録", specific);
    QPushButton* save = button("確定", "確定");
    save->setDefault(true); // Enter saves, after the usual question
    QPushButton* remove = button("削除", "削除");
    QPushButton* close = button("終了", "終了");

    ui::onClick(対象登録, [this] { 対象登録_Click(); });
    ui::onLostFocus(対象番号, [this] { CheckTargetNumber(); });
    ui::onLostFocus(対象名称, [this] { CheckTargetName(); });
    ui::onLostFocus(対象略称, [this] { CheckTargetAbbrev(); });
    ui::onClick(save, [this] { 確定_Click(); });
    ui::onClick(remove, [this] { 削除_Click(); });
    ui::onClick(basicInfo, [this] { 基本情報登録_Click(); });
    ui::onClick(closures, [this] { 個別休業登録_Click(); });
    ui::onClick(close, [this] { 終了_Click(); });

    SetUpTargetGrid();
    // Wide enough for every column and the scroll bar; tall enough for about twenty rows.
    対象登録->setMinimumSize(対象登録->sizeHint().width() + 対象登録->verticalScrollBar()->sizeHint().width(), 440);

    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(label("対象番号"), 対象番号);
    fields->addRow(label("対象略称"), 対象略称);
    fields->addRow(label("対象名称"), 対象名称);
    fields->addRow(label("備考"), 備考);

    auto* specificRow = new QHBoxLayout(specific);
    for (QPushButton* opener : {basicInfo, closures}) {
        opener->setMinimumSize(kCommandButton);
        specificRow->addWidget(opener);
    }
    specificRow->addStretch();

    QBoxLayout* buttons = buttonRow({save, remove, close});

    auto* entry = new QVBoxLayout;
    entry->addLayout(fields);
    entry->addSpacing(8);
    entry->addWidget(specific);
    entry->addStretch();
    entry->addLayout(buttons);

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(16);
    page->addWidget(対象登録, 1);
    page->addLayout(entry);
}

void 対象登::Form_Load()
{
    check_.clear();
    FillTargetGrid();
}

void 対象登::SetUpTargetGrid()
{
    対象登録->startLayout(CMB対象::kMaxTargets + 1, kColumnCount, 1, 0);
    for (int col = 0; col < kColumnCount; ++col) {
        対象登録->setTextMatrix(0, col, QString::fromUtf8(kColumns[col].header));
        対象登録->setColWidth(col, kColumns[col].twips);
    }
}

void 対象登::FillTargetGrid()
{
    SetUpTargetGrid();
    lastRow_ = 0;
    selectedRow_ = 0;
    int row = 0;
    for (const records::Target& target : records::listTargets(database())) {
        // Five blanks sort before every target number.
        if (target.number < QLatin1String("     "))
            continue;
        if (++row > CMB対象::kMaxTargets)
            break;
        対象登録->setTextMatrix(row, 0, target.number);
        対象登録->setRow(row);
        対象登録->setCol(1);
        対象登録->setCellAlignment(FlexGrid::LeftCenter);
        対象登録->setText(target.abbrev);
        対象登録->setTextMatrix(row, 2, target.name);
        対象登録->setTextMatrix(row, 3, target.remark);
        lastRow_ = row;
    }
}

void 対象登::対象登録_Click()
{
    const int row = 対象登録->row();
    if (row < 1 || row > lastRow_) {
        msg::exclaim(QStringLiteral("指定対象が有効範囲外です｡ "), kTitle);
        return;
    }
    if (selectedRow_ > 0)
        対象登録->paintRow(selectedRow_, 0, -1, ui::qbColor(15));
    対象登録->paintRow(row, 0, -1, ui::qbColor(10));
    selectedRow_ = row;
    対象番号->setText(対象登録->text(row, 0));
    対象略称->setText(対象登録->text(row, 1));
    対象名称->setText(対象登録->text(row, 2));
    備考->setText(対象登録->text(row, 3));
    // A box marked when the focus left it empty now holds the row's value.
    for (QLineEdit* box : {対象番号, 対象略称, 対象名称})
        check_.pass(box);
}

void 対象登::requireText(QLineEdit* box, const QString& message)
{
    if (input::normalized(box->text()).isEmpty())
        check_.fail(box, message);
    else
        check_.pass(box);
}

void 対象登::CheckTargetNumber()
{
    if (input::normalized(対象番号->text()).isEmpty())
        check_.fail(対象番号, QStringLiteral("対象番号に入力してください"));
    else if (!records::paddedNumber(対象番号->text()))
        check_.fail(対象番号, QStringLiteral("対象番号は数字5桁以内で入力してください"));
    else
        check_.pass(対象番号);
}

void 対象登::CheckTargetName()
{
    requireText(対象名称, QStringLiteral("対象名称に入力してください"));
}

void 対象登::CheckTargetAbbrev()
{
    requireText(対象略称, QStringLiteral("対象略称に入力してください"));
}

void 対象登::確定_Click()
{
    check_.clear();
    CheckTargetNumber();
    CheckTargetName();
    CheckTargetAbbrev();
    if (check_.reportFailure(kTitle))
        return;
    if (!msg::ask(QStringLiteral("入力内容で更新します。"), kTitle))
        return;
    const QString number = *records::paddedNumber(対象番号->text());
    records::saveTarget(database(), {number, 対象名称->text(), 対象略称->text(), 備考->text()});
    対象番号->setText(number);
    msg::exclaim(QStringLiteral("予約対象は更新(登録)されました。"), kTitle);
    FillTargetGrid();
}

void 対象登::削除_Click()
{
    check_.clear();
    CheckTargetNumber();
    if (check_.reportFailure(kTitle))
        return;
    const QString number = *records::paddedNumber(対象番号->text());
    store::Database db = database();
    const QString question = records::targetHasReservationsFrom(db, number, appclock::today())
                                 ? QStringLiteral("未来日に予約が存在します。対象を削除しますか？")
                                 : QStringLiteral("予約対象を削除します。");
    if (!msg::ask(question, kTitle))
        return;

    store::Transaction transaction(db);
    const bool registered = records::removeTarget(db, number);
    // The basic record goes even when the target itself was not registered.
    records::removeBasic(db, number);
    transaction.commit();

    if (!registered) {
        msg::exclaim(QStringLiteral("予約対象は登録されていません。"), kTitle);
        return;
    }
    msg::exclaim(QStringLiteral("予約対象は削除されました。"), kTitle);
    FillTargetGrid();
}

std::optional<records::Target> 対象登::targetInBoxes()
{
    check_.clear();
    CheckTargetNumber();
    if (check_.reportFailure(kTitle))
        return std::nullopt;
    return records::Target{*records::paddedNumber(対象番号->text()), 対象名称->text(), 対象略称->text(), 備考->text()};
}

void 対象登::基本情報登録_Click()
{
    if (const std::optional<records::Target> target = targetInBoxes())
        基本登::openFor(desk(), *target, false);
}

void 対象登::個別休業登録_Click()
{
    if (const std::optional<records::Target> target = targetInBoxes())
        個休業登録::openFor(desk(), *target);
}

void 対象登::終了_Click()
{
    close();
}
