#include "ui/appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace ui {

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
}

} // namespace ui
