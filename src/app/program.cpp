#include "app/program.h"

#include "app/first_start.h"
#include "app/menu.h"
#include "store/database.h"
#include "store/file_system.h"
#include "store/store_error.h"
#include "ui/message_box.h"
#include "ui/work_progress.h"

#include <QApplication>
#include <QFileInfo>

std::optional<int> startProgram()
{
    FirstStartChoice start = FirstStartChoice::ExistingDatabase;
    // A desk whose Kelvora.ini names a server has no file of its own to make.
    const bool onFile = !store::isServerAddress(store::mainDatabase());
    if (onFile && !QFileInfo::exists(store::kMainFile)) {
        (new 初回起動(start))->exec();
        if (start == FirstStartChoice::Ended)
            return 0;
    }
    auto* menu = new メニュー;
    try {
        menu->Form_Load();
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        delete menu;
        return 1;
    }
    menu->show();
    // SQLite's locks do not hold on a network file system: said once, at start.
    if (onFile && store::onNetworkFileSystem(store::kMainFile)) {
        msg::exclaim(QStringLiteral("データベース「%1」はネットワーク上のフォルダにあります。ここで複数の端末から使うと、"
                                    "ファイルが壊れることがあります。README の「Several desks」をご覧下さい。")
                         .arg(store::kMainFile),
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
