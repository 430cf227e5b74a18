#pragma once

#include <QString>
#include <initializer_list>

class FlexGrid;
class QBoxLayout;
class QLineEdit;
class QPushButton;

// Sizes and arrangements shared by the calendar forms.
namespace calendar_layout {

// Captions of the month-stepping buttons 前月 and 次月.
inline const QString kPreviousArrow = QStringLiteral("◀");
inline const QString kNextArrow = QStringLiteral("▶");

// Small square arrow buttons, with their names as tool tips.
void styleStepButtons(QPushButton* previous, QPushButton* next);
// Width of a box that shows `chars` characters.
int boxWidth(const QLineEdit* box, int chars);
// The calendar at its drawn size; the list as wide as its columns and a dozen rows high.
void fitGrids(FlexGrid* calendar, FlexGrid* list);

} // namespace calendar_layout
