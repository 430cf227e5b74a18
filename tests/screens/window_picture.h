#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What an operator would stumble on in a window as it is drawn on the desk's 1366x768 screen:
// a window larger than the screen or squeezed below its minimum, a caption, label, button or
// box text cut off, a grid cell whose text does not fit its column, an empty picture.
// Each problem is one line naming the control.
QStringList problemsOf(QWidget* window);

// Draws the window, with a tooltip showing over it, and saves it as <folder>/<name>.png; false
// when nothing could be drawn or saved.
bool savePicture(QWidget* window, const QString& folder, const QString& name);
