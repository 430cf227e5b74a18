#include "app/menu.h"
#include "store/store_error.h"
#include "ui/appearance.h"
#include "ui/message_box.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    ui::applyAppearance(application);

    auto* menu = new メニュー;
    try {
        menu->Form_Load();
    } catch (const store::StoreError& error) {
        // Without its database (Kelvora.mdb in the current folder) the program cannot start.
        msg::storeFailure(error.message());
        delete menu;
        return 1;
    }
    menu->show();
    return application.exec();
}
