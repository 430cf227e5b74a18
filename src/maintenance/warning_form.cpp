#include "maintenance/warning_form.h"

#include "maintenance/reorganise.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

警告::警告() : Form(QStringLiteral("警告"), QStringLiteral("警告"))
{
    確定 = button(QStringLiteral("確定"), QStringLiteral("確定"));
    CANCEL = button(QStringLiteral("CANCEL"), QStringLiteral("ＣＡＮＣＥＬ"));
    // Enter takes the safe way out; the rebuild needs a deliberate click on 確定.
    CANCEL->setDefault(true);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(24, 20, 24, 16);
    page->setSpacing(6);
    const QStringList lines = {
        QStringLiteral("バックアップの準備は終了していますか？"),
        QStringLiteral("準備なしに実行すると今までのデータが失われます。"),
        QStringLiteral("処理を続行しますか？"),
        QStringLiteral("１．続行するのであれば確定ボタンを押して下さい"),
        QStringLiteral("２．準備が出来ていなけれぱ"),
        QStringLiteral("      ＣＡＮＣＥＬボタンを押して下さい"),
    };
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* line = label(lines[i]);
        if (i < 2) {
            QFont bold = line->font();
            bold.setBold(true);
            line->setFont(bold);
        }
        page->addWidget(line);
        if (i == 2)
            page->addSpacing(10);
    }

    QBoxLayout* buttons = buttonRow({確定, CANCEL});
    page->addSpacing(12);
    page->addLayout(buttons);

    ui::onClick(確定, [this] { 確定_Click(); });
    ui::onClick(CANCEL, [this] { CANCEL_Click(); });
}

void 警告::確定_Click()
{
    if (!msg::ask(DB再編成::kConfirmation, DB再編成::kTitle))
        return;
    DB再編成::ReorganiseDatabase(database(), desk().where.backupFile());
    close();
}

void 警告::CANCEL_Click()
{
    close();
}
