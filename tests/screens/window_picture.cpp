#include "window_picture.h"

#include "ui/flex_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace {

// The control's name, or for a caption without one its text.
QString nameOf(const QWidget* w)
{
    QString name = w->objectName();
    if (const auto* caption = qobject_cast<const QLabel*>(w); caption && name.isEmpty())
        name = caption->text();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), name);
}

QString sizeText(const QSize& size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The text of a button as drawn: without the "&" of a shortcut.
QString shownText(const QAbstractButton* button)
{
    QString text = button->text();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

// A button's text must fit the part of the button the style draws text in.
QString clippedButton(const QAbstractButton* button)
{
    const QString text = shownText(button);
    if (text.isEmpty())
        return {};
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const int needed = button->fontMetrics().horizontalAdvance(text);
    if (room.width() >= needed && room.height() >= button->fontMetrics().height())
        return {};
    return QStringLiteral("%1: text \"%2\" needs %3 px, has %4").arg(nameOf(button), text).arg(needed).arg(room.width());
}

// A box's text must show whole, without scrolling.
QString clippedBox(const QLineEdit* box)
{
    if (box->text().isEmpty())
        return {};
    const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    const QMargins margins = box->textMargins();
    const int room = box->width() - 2 * frame - margins.left() - margins.right() - 4; // 2 px each side
    const int needed = box->fontMetrics().horizontalAdvance(box->text());
    if (needed <= room)
        return {};
    return QStringLiteral("%1: text \"%2\" needs %3 px, has %4").arg(nameOf(box), box->text()).arg(needed).arg(room);
}

// Every cell's text must fit its cell, or the run of equal cells a merged row shows as one.
QStringList clippedCells(const FlexGrid* grid)
{
    QStringList problems;
    for (int row = 0; row < grid->rows(); ++row) {
        for (int col = 0; col < grid->cols(); ++col) {
            const QString text = grid->text(row, col);
            if (text.isEmpty())
                continue;
            int first = col;
            int last = col;
            while (first > 0 && grid->text(row, first - 1) == text)
                --first;
            while (last + 1 < grid->cols() && grid->text(row, last + 1) == text)
                ++last;
            const int room = grid->cellRect(row, last).right() - grid->cellRect(row, first).left() + 1 - 3;
            QFont font = grid->font();
            if (const int points = grid->cellFontSize(row, col); points > 0)
                font.setPointSize(points);
            const int needed = QFontMetrics(font).horizontalAdvance(text);
            if (needed > room) {
                problems << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 px, has %6")
                                .arg(nameOf(grid))
                                .arg(row)
                                .arg(col)
                                .arg(text)
                                .arg(needed)
                                .arg(room);
            }
            col = last;
        }
    }
    return problems;
}

// The controls an operator reads or works, as opposed to the parts they are made of.
bool isControl(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QGroupBox*>(w) || qobject_cast<const QListWidget*>(w) ||
           qobject_cast<const FlexGrid*>(w);
}

} // namespace

QStringList problemsOf(QWidget* window)
{
    QStringList problems;
    const QRect screen = window->screen()->availableGeometry();
    if (window->frameGeometry().width() > screen.width() || window->frameGeometry().height() > screen.height())
        problems << QStringLiteral("window %1 with its frame does not fit the %2 screen")
                        .arg(sizeText(window->frameGeometry().size()), sizeText(screen.size()));
    const QSize least = window->minimumSizeHint();
    if (window->width() < least.width() || window->height() < least.height())
        problems << QStringLiteral("window %1 is smaller than its contents need (%2)").arg(sizeText(window->size()), sizeText(least));

    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // A tooltip is a window of its own over the controls, not one of them.
        if (!w->isVisibleTo(window) || !isControl(w) || w->isWindow())
            continue;
        // The line edit inside a combo box is the combo box's.
        if (qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        controls << w;
        QString problem;
        if (const auto* button = qobject_cast<QAbstractButton*>(w)) {
            problem = clippedButton(button);
        } else if (const auto* box = qobject_cast<QLineEdit*>(w)) {
            problem = clippedBox(box);
        } else if (const auto* grid = qobject_cast<FlexGrid*>(w)) {
            problems << clippedCells(grid);
        } else if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w) || qobject_cast<QComboBox*>(w)) {
            const QSize need = w->minimumSizeHint();
            if (w->width() < need.width() || w->height() < need.height())
                problem = QStringLiteral("%1 is %2, its text needs %3").arg(nameOf(w), sizeText(w->size()), sizeText(need));
        }
        if (!problem.isEmpty())
            problems << problem;
    }

    // Controls must neither cover nor touch each other, wherever in the window they were laid out.
    const auto onWindow = [window](const QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            const QRect a = onWindow(controls[i]);
            const QRect b = onWindow(controls[j]);
            const bool sideBySide = a.top() <= b.bottom() && b.top() <= a.bottom();
            const int gap = std::max(a.left(), b.left()) - std::min(a.right(), b.right()) - 1;
            if (a.intersects(b))
                problems << QStringLiteral("%1 and %2 overlap").arg(nameOf(controls[i]), nameOf(controls[j]));
            else if (sideBySide && gap < 3)
                problems << QStringLiteral("%1 and %2 touch").arg(nameOf(controls[i]), nameOf(controls[j]));
        }
    }
    return problems;
}

bool savePicture(QWidget* window, const QString& folder, const QString& name)
{
    QImage image = window->grab().toImage();
    // A tooltip is a window of its own: painted where it shows over the window.
    for (QWidget* tip : QApplication::topLevelWidgets()) {
        if (tip->isVisible() && tip->inherits("QTipLabel")) {
            QPainter painter(&image);
            painter.drawPixmap(tip->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0)), tip->grab());
        }
    }
    if (image.isNull() || image.width() < 100 || image.height() < 100)
        return false;
    // A picture of one colour shows nothing of the window.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 3; y += 7) {
        for (int x = 0; x < image.width() && colours.size() < 3; x += 7)
            colours.insert(image.pixel(x, y));
    }
    if (colours.size() < 3)
        return false;
    return QDir().mkpath(folder) && image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
