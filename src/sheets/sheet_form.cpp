#include "sheets/sheet_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "sheets/sheet_output.h"
#include "store/database.h"
#include "ui/busy_cursor.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "views/target_list.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("予約一覧表");
const QString kAllTargets = QStringLiteral("全対象");

} // namespace

予約一覧表::予約一覧表() : Form(QStringLiteral("予約一覧表"), kTitle)
{
    QGroupBox* kinds = frame(QStringLiteral("Frame1"), QStringLiteral("一覧の種類"));
    日別 = option(QStringLiteral("日別"), QStringLiteral("日別一覧"), kinds);
    週間 = option(QStringLiteral("週間"), QStringLiteral("週間一覧"), kinds);
    確認 = option(QStringLiteral("確認"), QStringLiteral("確認電話一覧"), kinds);
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->addWidget(日別);
    kindRow->addWidget(週間);
    kindRow->addWidget(確認);
    kindRow->addStretch();

    照会日 = textBox(QStringLiteral("照会日"));
    照会日->setMaximumWidth(110);
    対象略称 = comboBox(QStringLiteral("対象略称"));
    対象略称->setMinimumWidth(200);
    プレビュー = button(QStringLiteral("プレビュー"), QStringLiteral("プレビュー"));
    印刷 = button(QStringLiteral("印刷"), QStringLiteral("印刷"));
    PDF出力 = button(QStringLiteral("PDF出力"), QStringLiteral("PDF出力"));
    CSV出力 = button(QStringLiteral("CSV出力"), QStringLiteral("CSV出力"));
    終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* date = new QHBoxLayout;
    date->addWidget(label(QStringLiteral("照会日")));
    date->addWidget(照会日);
    date->addWidget(label(QStringLiteral("(YYYY/MM/DD)")));
    date->addStretch();
    auto* target = new QHBoxLayout;
    target->addWidget(label(QStringLiteral("対象略称")));
    target->addWidget(対象略称);
    target->addStretch();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addWidget(kinds);
    page->addLayout(date);
    page->addLayout(target);
    page->addStretch();
    page->addLayout(buttonRow({プレビュー, 印刷, PDF出力, CSV出力, 終了}));

    ui::onClick(プレビュー, [this] { プレビュー_Click(); });
    ui::onClick(印刷, [this] { 印刷_Click(); });
    ui::onClick(PDF出力, [this] { PDF出力_Click(); });
    ui::onClick(CSV出力, [this] { CSV出力_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 予約一覧表::Form_Load()
{
    日別->setChecked(true);
    照会日->setText(input::dateText(appclock::today()));
    CMB対象::FillTargetCombo(database(), 対象略称);
    対象略称->insertItem(0, kAllTargets);
    対象略称->setCurrentIndex(0);
}

std::optional<sheets::Sheet> 予約一覧表::BuildSheet()
{
    check_.clear();
    const std::optional<QDate> date = input::date(照会日->text());
    if (date) {
        照会日->setText(input::dateText(*date));
        check_.pass(照会日);
    } else
        check_.fail(照会日, QStringLiteral("照会日に正しく入力してください"));
    if (check_.reportFailure(kTitle))
        return std::nullopt;

    std::optional<records::Target> target;
    if (対象略称->currentIndex() > 0) {
        target = CMB対象::FindTargetByAbbrev(database(), 対象略称->currentText());
        if (!target) {
            msg::exclaim(QStringLiteral("予約対象「%1」は登録されていません。").arg(対象略称->currentText()), kTitle);
            return std::nullopt;
        }
    }
    if (週間->isChecked() && !target) {
        msg::exclaim(QStringLiteral("週間一覧の予約対象を選択して下さい。"), kTitle);
        return std::nullopt;
    }

    ui::BusyCursor busy;
    const store::Database db = database();
    if (週間->isChecked())
        return sheets::BuildWeekSheet(db, settings(), *date, *target);
    if (確認->isChecked())
        return sheets::BuildCallSheet(db, *date, target);
    return sheets::BuildDaySheet(db, settings(), *date, target);
}

void 予約一覧表::プレビュー_Click()
{
    if (const std::optional<sheets::Sheet> sheet = BuildSheet())
        sheets::previewSheet(this, kTitle, *sheet);
}

void 予約一覧表::印刷_Click()
{
    if (const std::optional<sheets::Sheet> sheet = BuildSheet())
        sheets::printSheet(this, kTitle, *sheet);
}

void 予約一覧表::PDF出力_Click()
{
    if (const std::optional<sheets::Sheet> sheet = BuildSheet())
        sheets::saveSheet(this, kTitle, *sheet, sheets::FileKind::Pdf);
}

void 予約一覧表::CSV出力_Click()
{
    if (const std::optional<sheets::Sheet> sheet = BuildSheet())
        sheets::saveSheet(this, kTitle, *sheet, sheets::FileKind::Csv);
}

void 予約一覧表::終了_Click()
{
    close();
}
