#include "app/program.h"

#include "app/first_start.h"
#include "app/menu.h"
#include "store/database.h"
#include "store/desk_database.h"
#include "store/file_system.h"
#include "store/store_error.h"
#include "ui/message_box.h"
#include "ui/work_progress.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

std::optional<int> startProgram()
{
    // The process's current folder is read here, once: the data folder, unless the first start
    // chooses another. The database is opened once and kept open for the desk's life.
    store::DeskDatabase where;
    std::optional<store::Database> database;
    FirstStartChoice start = FirstStartChoice::ExistingDatabase;
    try {
        where = store::deskDatabaseIn(QDir::currentPath());
        // A desk whose Kelvora.ini names a server has no file of its own to make.
        if (!where.onServer() && !QFileInfo::exists(where.mainFile())) {
            (new 初回起動(start, where))->exec();
            if (start == FirstStartChoice::Ended)
                return 0;
        }
        database = store::openDeskDatabase(where);
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        return 1;
    }
    auto* menu = new メニュー(*database, where);
    try {
        menu->Form_Load();
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        delete menu;
        return 1;
    }
    menu->show();
    // SQLite's locks do not hold on a network file system: said once, at start.
    if (!where.onServer() && store::onNetworkFileSystem(where.mainFile())) {
        msg::exclaim(QStringLiteral("データベース「%1」はネットワーク上のフォルダにあります。ここで複数の端末から使うと、"
                                    "ファイルが壊れることがあります。README の「Several desks」をご覧下さい。")
                         .arg(where.mainFile()),
                     menu->windowTitle());
    }
    if (start == FirstStartChoice::NewDatabase)
        menu->leadFirstSteps();
    return std::nullopt;
}

int runProgram(QApplication& application)
{
    ui::repaintWhileWaitingForTheFile();
    if (const std::optional<int> ended = startProgram())
        return *ended;
    return application.exec();
}
