#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <utility>

// What the commands of kelvora-db share in reading their arguments and saying what went wrong.

// The value after an option, and whether a flag is there; the arguments left over stay in `rest`.
struct Options {
    explicit Options(QStringList arguments) : rest(std::move(arguments)) {}
    std::optional<QString> value(const QString& option)
    {
        const qsizetype at = rest.indexOf(option);
        if (at < 0 || at + 1 >= rest.size())
            return std::nullopt;
        const QString found = rest[at + 1];
        rest.remove(at, 2);
        return found;
    }
    bool flag(const QString& option) { return rest.removeOne(option); }
    QStringList rest;
};

// Says why the command failed, on one line, and returns its exit code.
inline int fail(const QString& message)
{
    QTextStream(stderr) << "kelvora-db: " << message << '\n';
    return 1;
}
