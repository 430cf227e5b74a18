#pragma once

#include <QString>
#include <QStringList>

namespace store {

// What the store has to tell the operator about an action that went through after all (a save
// whose answer the network lost, found saved once the desk connected again). Each is told once:
// the program shows them when the action is over (ui::guarded).
void noteForOperator(const QString& text);
QStringList takeNotesForOperator();

} // namespace store
