#include "modal_watchdog.h"
#include "ui/appearance.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs on the offscreen platform with one QApplication for all its tests, and
// no test waits on a modal window that nothing answers.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ui::applyAppearance(app);
    ::testing::InitGoogleTest(&argc, argv);
    modal_watchdog::install();
    return RUN_ALL_TESTS();
}
