#include "app/program.h"
#include "app/test_driver.h"
#include "ui/appearance.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    ui::applyAppearance(application);
    test_driver::startWhenAsked();
    return runProgram(application);
}
