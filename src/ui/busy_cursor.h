#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace ui {

// The wait cursor, shown while a long action over many records runs; the window cannot answer
// until it ends, and the cursor tells the operator so.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace ui
