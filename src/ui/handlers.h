#pragma once

#include <QString>
#include <functional>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QObject;
class QWidget;
class FlexGrid;

// Wiring of control events to a form's handlers. Every handler runs through guarded(), so a
// failure of the database is shown to the operator and the program keeps running.
namespace ui {

// Runs the handler; false when it failed (the failure has been shown).
bool guarded(const std::function<void()>& handler);

// Click of a button, option button or check box.
void onClick(QAbstractButton* button, std::function<void()> handler);
// Click on a grid cell, after Row and Col have moved to it.
void onClick(FlexGrid* grid, std::function<void()> handler);
// The user picked an item of a combo box.
void onClick(QComboBox* combo, std::function<void()> handler);
// The user picked an item of a list.
void onClick(QListWidget* list, std::function<void()> handler);
// Click on a label that serves as a choice (a pointing-hand cursor shows it can be clicked).
void onClick(QLabel* label, std::function<void()> handler);
// The text of a box changed (typing or the program).
void onChange(QLineEdit* box, std::function<void()> handler);
// Focus left the control for another control of the same window (not when another window, such
// as a message box, took the focus).
void onLostFocus(QWidget* control, std::function<void()> handler);

} // namespace ui
