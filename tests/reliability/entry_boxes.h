#pragma once

#include <QString>
#include <utility>
#include <vector>

// Every entry box of every form, with what its checks let through and where what passes ends up.
namespace entry_boxes {

enum class Rule {
    AnyText,      // every input passes and is written exactly as typed
    RequiredText, // as AnyText, but empty text and blanks only are refused
    Name,         // written without the blanks around it; refused when that leaves nothing or more than 25 characters
    Listed,       // only the inputs listed in `passes` pass; each reads back in its stored form
    NeverWritten, // never stops the action and never reaches the file: `passes` holds what is read back
};

// Where what passed is read back: a field of a record the action added or changed (or removed,
// for a deletion) in a table of the file, or a box of a window (the scene's own form, or the
// modal window the action opened).
struct Place {
    QString where; // a table, or the name of a window
    QString field; // a field, or the objectName of a box
    bool removed = false;
};

struct EntryBox {
    QString scene;
    QString box;
    Rule rule;
    std::vector<Place> places;
    // Typed text and its value as read back. For NeverWritten, one entry with empty typed text.
    std::vector<std::pair<QString, QString>> passes;
};

const std::vector<EntryBox>& all();

// Entry boxes no operator types into, with the reason.
const std::vector<std::pair<QString, QString>>& untyped();

} // namespace entry_boxes
