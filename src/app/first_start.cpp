#include "app/first_start.h"

#include "base/clock.h"
#include "records/demo_data.h"
#include "store/database.h"
#include "store/file_tools.h"
#include "store/store_error.h"
#include "ui/handlers.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("初回起動");

void createEmpty(const QString& file)
{
    store::createDatabaseFile(file);
}

void createDemo(const QString& file)
{
    records::createDemoDatabase(file, appclock::today());
}

} // namespace

初回起動::初回起動(FirstStartChoice& choice, store::DeskDatabase& where) : Form(kTitle, kTitle), choice_(choice), where_(where)
{
    choice_ = FirstStartChoice::Ended;
    案内 = label(QString(), this, QStringLiteral("案内"));
    案内->setWordWrap(true);
    案内->setMinimumWidth(460);
    新規作成 = button(QStringLiteral("新規作成"), QStringLiteral("新規作成"));
    デモ作成 = button(QStringLiteral("デモ作成"), QStringLiteral("デモ作成"));
    QPushButton* フォルダ選択 = button(QStringLiteral("フォルダ選択"), QStringLiteral("フォルダ選択"));
    QPushButton* 終了 = button(QStringLiteral("終了"), QStringLiteral("終了"));
    ui::onClick(新規作成, [this] { 新規作成_Click(); });
    ui::onClick(デモ作成, [this] { デモ作成_Click(); });
    ui::onClick(フォルダ選択, [this] { フォルダ選択_Click(); });
    ui::onClick(終了, [this] { 終了_Click(); });

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(16);
    page->addWidget(案内);
    page->addLayout(buttonRow({新規作成, デモ作成, フォルダ選択, 終了}));
    ShowFolder();
}

void 初回起動::ShowFolder()
{
    const QString folder = QDir::toNativeSeparators(where_.folder);
    QString text = QStringLiteral("フォルダ「%1」にデータベースファイル「%2」がありません。\n\n"
                                  "新規作成：空のデータベースをこのフォルダに作成します。\n"
                                  "デモ作成：試用のデータが入ったデータベースをこのフォルダに作成します。\n"
                                  "フォルダ選択：データベースのある別のフォルダを選びます。\n"
                                  "終了：何も作成せずに終了します。")
                       .arg(folder, store::kMainFile);
    const bool writable = QFileInfo(where_.folder).isWritable();
    if (!writable)
        text += QStringLiteral("\n\nこのフォルダには書き込めないため、データベースを作成できません。別のフォルダを選んでください。");
    案内->setText(text);
    新規作成->setEnabled(writable);
    デモ作成->setEnabled(writable);
}

void 初回起動::Create(FirstStartChoice choice, void (*make)(const QString& file))
{
    try {
        make(where_.mainFile());
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        ShowFolder();
        return;
    }
    choice_ = choice;
    accept();
}

void 初回起動::新規作成_Click()
{
    Create(FirstStartChoice::NewDatabase, &createEmpty);
}

void 初回起動::デモ作成_Click()
{
    Create(FirstStartChoice::DemoDatabase, &createDemo);
}

void 初回起動::フォルダ選択_Click()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダ選択"), where_.folder);
    if (folder.isEmpty())
        return;
    if (!QFileInfo(folder).isDir() || !QDir(folder).isReadable()) {
        msg::exclaim(QStringLiteral("フォルダ「%1」を開けません。").arg(QDir::toNativeSeparators(folder)), kTitle);
        return;
    }
    // A folder whose settings file names a server opens that server; one with a file opens it.
    try {
        where_ = store::deskDatabaseIn(folder);
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        return;
    }
    if (where_.onServer() || QFileInfo::exists(where_.mainFile())) {
        choice_ = FirstStartChoice::ExistingDatabase;
        accept();
        return;
    }
    ShowFolder();
}

void 初回起動::終了_Click()
{
    choice_ = FirstStartChoice::Ended;
    close();
}
