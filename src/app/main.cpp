#include "app/program.h"
#include "ui/appearance.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    ui::applyAppearance(application);
    return runProgram(application);
}
