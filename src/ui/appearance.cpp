#include "ui/appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

namespace {

// Qt's own windows (the file dialog, the print dialog and its preview, the buttons of standard
// boxes) in Japanese like the rest of the program, whatever language the desktop is set to.
void translateQtWindows(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void applyAppearance(QApplication& application)
{
    QFont font = application.font();
    for (const QString& family : {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSize(9);
    application.setFont(font);
    application.setStyle(QStringLiteral("Fusion"));
    translateQtWindows(application);
}

} // namespace ui
