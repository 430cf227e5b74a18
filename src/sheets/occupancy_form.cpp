#include "sheets/occupancy_form.h"

#include "base/clock.h"
#include "base/input.h"
#include "records/targets.h"
#include "sheets/sheet_output.h"
#include "ui/busy_cursor.h"
#include "ui/flex_grid.h"
#include "ui/handlers.h"
#include "ui/message_box.h"
#include "ui/palette.h"
#include "ui/picture_view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("稼働状況");
const QString kAllTargets = QStringLiteral("全対象");
constexpr int kWidths[] = {900, 1700, 1500, 1000, 1000, 1000, 1000, 1000}; // twips
const QColor kTotalColour(235, 235, 235);

} // namespace

稼働状況::稼働状況() : Form(QStringLiteral("稼働状況"), kTitle)
{
    開始年月 = textBox(QStringLiteral("開始年月"));
    終了年月 = textBox(QStringLiteral("終了年月"));
    for (QLineEdit* box : {開始年月, 終了年月})
        box->setMaximumWidth(90);
    対象略称 = comboBox(QStringLiteral("対象略称"));
    対象略称->setMinimumWidth(200);
    QGroupBox* views = frame(QStringLiteral("Frame1"), QStringLiteral("集計の種類"));
    対象別 = option(QStringLiteral("対象別"), QStringLiteral("対象別"), views);
    曜日時間帯別 = option(QStringLiteral("曜日時間帯別"), QStringLiteral("曜日時間帯別"), views);
    auto* viewRow = new QHBoxLayout(views);
    viewRow->addWidget(対象別);
    viewRow->addWidget(曜日時間帯別);
    QPushButton* 集計 = button(QStringLiteral("集計"), QStringLiteral("集計"));
    集計->setDefault(true);
    稼働一覧 = grid(QStringLiteral("稼働一覧"));
    int gridWidth = 2 * 稼働一覧->frameWidth() + 24;
    for (const int twips : kWidths)
        gridWidth += ui::twips(twips);
    稼働一覧->setMinimumSize(gridWidth, 360);
    稼働図 = new PictureView(this);
    稼働図->setObjectName(QStringLiteral("稼働図"));
    稼働図->setMinimumSize(420, 360);
    QPushButton* プレビュー = button(QStringLiteral("プレビュー"), QStringLiteral("プレビュー"));
    QPushButton* 印刷 = button(QStringLiteral("印刷"), QStringLiteral("印刷"));
    QPushButton* PDF出力 = button(QStringLiteral("PDF出力"), QStringLiteral("PDF出力"));
    QPushButton* CSV出力 = button(QStringLiteral("CSV出力"), QStringLiteral("CSV出力"));
    QPushButton* 終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));

    auto* choices = new QHBoxLayout;
    choices->addWidget(label(QStringLiteral("開始年月")));
    choices->addWidget(開始年月);
    choices->addWidget(label(QStringLiteral("～　終了年月")));
    choices->addWidget(終了年月);
    choices->addWidget(label(QStringLiteral("(YYYY/MM)")));
    choices->addSpacing(16);
    choices->addWidget(label(QStringLiteral("対象略称")));
    choices->addWidget(対象略称);
    choices->addSpacing(16);
    choices->addWidget(views);
    choices->addSpacing(16);
    choices->addWidget(集計);
    choices->addStretch();

    auto* shown = new QHBoxLayout;
    shown->addWidget(稼働一覧, 3);
    shown->addWidget(稼働図, 2);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(10);
    page->addLayout(choices);
    page->addLayout(shown, 1);
    page->addLayout(buttonRow({プレビュー, 印刷, PDF出力, CSV出力, 終了}));

    ui::onClick(集計, [this] { 集計_Click(); });
    ui::onClick(対象別, [this] { 対象別_Click(); });
    ui::onClick(曜日時間帯別, [this] { 曜日時間帯別_Click(); });
    ui::onClick(プレビュー, [this] { プレビュー_Click(); });
    ui::onClick(印刷, [this] { 印刷_Click(); });
    ui::onClick(PDF出力, [this] { PDF出力_Click(); });
    ui::onClick(CSV出力, [this] { CSV出力_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });
}

void 稼働状況::Form_Load()
{
    対象別->setChecked(true);
    const QDate lastMonth = appclock::today().addMonths(-1);
    開始年月->setText(input::monthText(lastMonth));
    終了年月->setText(input::monthText(lastMonth));
    対象略称->clear();
    対象略称->addItem(kAllTargets);
    for (const records::Target& target : records::listTargets(database())) {
        if (target.number != records::kCommonTarget)
            対象略称->addItem(target.abbrev);
    }
    Tally();
}

void 稼働状況::集計_Click()
{
    Tally();
}

void 稼働状況::対象別_Click()
{
    ShowPicture();
}

void 稼働状況::曜日時間帯別_Click()
{
    ShowPicture();
}

bool 稼働状況::Tally()
{
    check_.clear();
    const auto monthIn = [this](QLineEdit* box, const QString& message) {
        const std::optional<QDate> month = input::month(box->text());
        if (month) {
            box->setText(input::monthText(*month));
            check_.pass(box);
        } else {
            check_.fail(box, message);
        }
        return month;
    };
    const std::optional<QDate> first = monthIn(開始年月, QStringLiteral("開始年月に正しく入力してください"));
    const std::optional<QDate> last = monthIn(終了年月, QStringLiteral("終了年月に正しく入力してください"));
    if (first && last && *last < *first)
        check_.fail(終了年月, QStringLiteral("終了年月は開始年月以降を入力してください"));
    else if (first && last && first->addMonths(occupancy::kMaxMonths) <= *last)
        check_.fail(終了年月, QStringLiteral("期間は%1か月以内で入力してください").arg(occupancy::kMaxMonths));
    if (check_.reportFailure(kTitle))
        return false;

    const store::Database db = database();
    QString target;
    if (対象略称->currentIndex() > 0) {
        const std::optional<records::Target> chosen = records::findTargetByAbbrev(db, 対象略称->currentText());
        if (!chosen) {
            msg::exclaim(QStringLiteral("予約対象「%1」は登録されていません。").arg(対象略称->currentText()), kTitle);
            return false;
        }
        target = chosen->number;
    }
    ui::BusyCursor busy;
    figures_ = occupancy::BuildOccupancy(db, settings(), {*first, *last, target});
    ShowFigures();
    return true;
}

std::optional<sheets::Sheet> 稼働状況::TalliedSheet()
{
    if (!Tally())
        return std::nullopt;
    return sheets::occupancySheet(*figures_, ChosenPicture());
}

void 稼働状況::ShowFigures()
{
    const QStringList captions = occupancy::TableCaptions();
    const std::vector<QStringList> rows = occupancy::TableRows(*figures_);
    FlexGrid* g = 稼働一覧;
    g->startLayout(int(rows.size()) + 1, int(captions.size()), 1, 0);
    g->paintRow(0, 0, -1, ui::qbColor(14));
    for (int col = 0; col < int(captions.size()); ++col) {
        g->setTextMatrix(0, col, captions[col]);
        g->setColWidth(col, kWidths[col]);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int col = 0; col < int(captions.size()); ++col)
            g->setTextMatrix(int(r) + 1, col, rows[r][col]);
    }
    // The figures stand right, as numbers do.
    g->setRow(1);
    g->setCol(3);
    g->setRowSel(g->rows() - 1);
    g->setColSel(g->cols() - 1);
    g->setCellAlignment(FlexGrid::RightCenter);
    g->paintRow(g->rows() - 1, 0, -1, kTotalColour);
    g->setRow(0);
    g->setCol(0);
    ShowPicture();
}

void 稼働状況::ShowPicture()
{
    if (!figures_)
        return;
    稼働図->setPicture(sheets::occupancyPicture(*figures_, ChosenPicture()));
}

sheets::OccupancyPicture 稼働状況::ChosenPicture() const
{
    return 曜日時間帯別->isChecked() ? sheets::OccupancyPicture::HeatMap : sheets::OccupancyPicture::RateChart;
}

void 稼働状況::プレビュー_Click()
{
    if (const std::optional<sheets::Sheet> sheet = TalliedSheet())
        sheets::previewSheet(this, kTitle, *sheet);
}

void 稼働状況::印刷_Click()
{
    if (const std::optional<sheets::Sheet> sheet = TalliedSheet())
        sheets::printSheet(this, kTitle, *sheet);
}

void 稼働状況::PDF出力_Click()
{
    if (const std::optional<sheets::Sheet> sheet = TalliedSheet())
        sheets::saveSheet(this, kTitle, *sheet, sheets::FileKind::Pdf);
}

void 稼働状況::CSV出力_Click()
{
    if (const std::optional<sheets::Sheet> sheet = TalliedSheet())
        sheets::saveSheet(this, kTitle, *sheet, sheets::FileKind::Csv);
}

void 稼働状況::終了_Click()
{
    close();
}
