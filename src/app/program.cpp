#include "app/program.h"

#include "app/menu.h"
#include "store/store_error.h"
#include "ui/message_box.h"

#include <QApplication>

int runProgram(QApplication& application)
{
    auto* menu = new メニュー;
    try {
        menu->Form_Load();
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        delete menu;
        return 1;
    }
    menu->show();
    return application.exec();
}
