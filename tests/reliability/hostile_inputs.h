#pragma once

#include <QString>
#include <vector>

// What an operator, a paste from another program or a stuck key may put into any entry box.
struct HostileInput {
    QString name; // how the report names it
    QString text;
};

const std::vector<HostileInput>& hostileInputs();
