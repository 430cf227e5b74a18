#include "reservations/bulk_delete_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/reservations.h"
#include "records/series.h"
#include "records/targets.h"
#include "store/database.h"
#include "ui/busy_cursor.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "ui/work_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kTitle = QStringLiteral("予約一括削除");
const QString kBadMonths = QStringLiteral("削除月数に正しく入力してください");
const QString kNothingToDelete = QStringLiteral("削除対象はありません");
constexpr int kMaxCandidates = 100;
constexpr int kLargestMonthCount = 32767;
constexpr int kColumnWidths[] = {600, 1500, 2000, 2500}; // twips

// A month count: a number from 0 up, a fraction rounded to whole months. A negative count is
// refused: it would put the cut-off date after today and delete bookings still to come.
std::optional<int> monthCount(const QString& text)
{
    const std::optional<double> months = input::number(text);
    if (!months || *months < 0 || *months > kLargestMonthCount)
        return std::nullopt;
    return int(std::lround(*months));
}

} // namespace

予約削除::予約削除() : Form(QStringLiteral("予約削除"), kTitle)
{
    削除月数 = textBox(QStringLiteral("削除月数"));
    削除月数->setMaximumWidth(70);
    削除月数->setAlignment(Qt::AlignRight);
    削除候補 = grid(QStringLiteral("削除候補"));
    // Wide enough for every column beside the vertical scroll bar.
    int gridWidth = 2 * 削除候補->frameWidth() + 削除候補->verticalScrollBar()->sizeHint().width();
    for (int twips : kColumnWidths)
        gridWidth += ui::twips(twips);
    削除候補->setMinimumWidth(gridWidth);
    削除 = button(QStringLiteral("削除"), QStringLiteral("削除"));
    終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* months = new QHBoxLayout;
    months->addWidget(label(QStringLiteral("削除期限")));
    months->addWidget(削除月数);
    months->addWidget(label(QStringLiteral("ｹ月間以前の予約")));
    months->addStretch();

    QBoxLayout* buttons = buttonRow({削除, 終了});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addLayout(months);
    page->addWidget(label(QStringLiteral("予約の削除対象")));
    page->addWidget(削除候補, 1);
    page->addLayout(buttons);

    ui::onLostFocus(削除月数, [this] { 削除月数_LostFocus(); });
    ui::onClick(削除候補, [this] { 削除候補_Click(); });
    ui::onClick(削除, [this] { 削除_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 予約削除::Form_Load()
{
    削除月数->setText(QString::number(settings().RetentionMonths));
    CheckMonths();
    InitCandidateGrid();
    FillCandidates();
}

void 予約削除::InitCandidateGrid()
{
    FlexGrid* g = 削除候補;
    g->startLayout(kMaxCandidates + 1, 4, 1, 0);
    g->setRow(0);
    g->setCol(0);
    const QString headers[] = {QStringLiteral("削除F"), QStringLiteral("予約対象NO"), QStringLiteral("予約対象略称"),
                               QStringLiteral("備考")};
    for (int col = 0; col < 4; ++col) {
        g->setColWidth(col, kColumnWidths[col]);
        g->setCol(col);
        g->setText(headers[col]);
        g->setCellAlignment(FlexGrid::CenterBottom);
    }
    g->setRow(1);
    g->setCol(1);
    g->setRowSel(kMaxCandidates);
    g->setColSel(3);
    g->setCellAlignment(FlexGrid::LeftCenter);
    g->setRow(0);
    g->setCol(0);
}

void 予約削除::FillCandidates()
{
    CandidateCount = 0;
    for (const records::Target& target : records::listTargets(database())) {
        // "00000" is the common record, never a candidate.
        if (target.number <= records::kCommonTarget)
            continue;
        if (CandidateCount == kMaxCandidates)
            break;
        const int row = ++CandidateCount;
        削除候補->setTextMatrix(row, 0, QStringLiteral("1"));
        削除候補->setTextMatrix(row, 1, target.number);
        削除候補->setTextMatrix(row, 2, target.abbrev);
        削除候補->setTextMatrix(row, 3, target.remark);
    }
    if (CandidateCount == 0)
        msg::exclaim(kNothingToDelete, kTitle);
}

void 予約削除::CheckMonths()
{
    check_.clear();
    const std::optional<int> months = monthCount(削除月数->text());
    if (!months) {
        check_.fail(削除月数, kBadMonths);
        return;
    }
    check_.pass(削除月数);
    CutOffMonths = *months;
}

void 予約削除::削除月数_LostFocus()
{
    CheckMonths();
    check_.reportFailure(kTitle);
}

void 予約削除::削除候補_Click()
{
    const int row = 削除候補->row();
    if (row < 1 || row > CandidateCount) {
        msg::exclaim(QStringLiteral("指定対象が有効範囲外です｡ "), kTitle);
        return;
    }
    削除候補->setTextMatrix(row, 0, 削除候補->text(row, 0) == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1"));
}

void 予約削除::削除_Click()
{
    QStringList marked;
    for (int row = 1; row <= CandidateCount; ++row) {
        if (削除候補->text(row, 0) == QLatin1String("1"))
            marked << 削除候補->text(row, 1);
    }
    if (marked.isEmpty()) {
        msg::exclaim(kNothingToDelete, kTitle);
        return;
    }
    // The box is read again, so the deletion never runs on a count that was not checked.
    CheckMonths();
    const QString question =
        check_.failed() ? QStringLiteral("入力にｴﾗｰがあります処理を続行しますか？") : QStringLiteral("削除F=1 の予約を削除します。");
    if (!msg::ask(question, kTitle, msg::Icon::Exclamation))
        return;
    if (!CutOffMonths) {
        msg::exclaim(kBadMonths, kTitle);
        return;
    }
    try {
        ui::BusyCursor busy;
        ui::WorkProgress progress(kTitle, ui::WorkProgress::Stop::Allowed);
        store::Database db = database();
        store::Transaction transaction(db);
        // Counted back from the day of the deletion, which may not be the day the form opened.
        const QDate lastDate = appclock::today().addMonths(-*CutOffMonths);
        for (const QString& target : marked) {
            const store::Progress report = progress.report(QStringLiteral("対象「%1」の予約を削除しています").arg(target));
            records::removeTargetReservationsThrough(db, target, lastDate, report);
            // The dates of series those bookings were, and a series left without a date.
            records::removeTargetSeriesDatesThrough(db, target, lastDate, report);
        }
        transaction.commit();
    } catch (const store::Cancelled&) {
        msg::exclaim(QStringLiteral("削除を中止しました。予約は削除されていません。"), kTitle);
        return;
    }
    msg::exclaim(QStringLiteral("削除F=1 の予約は削除されました"), QString());
}

void 予約削除::終了_Click()
{
    close();
}
