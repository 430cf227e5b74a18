#pragma once

#include "base/settings.h"
#include "store/database.h"
#include "store/desk_database.h"

// What a desk hands every form it opens: its database, opened once at start and kept open for the
// desk's life (so every other desk sees it, whatever window it shows), where that database is
// (the data folder, where the reorganisation's backup copy lies too), and the settings read from
// it. A value: handing it on copies a handle, never opens anything.
struct Desk {
    store::Database database;
    store::DeskDatabase where;
    Settings settings;
};
