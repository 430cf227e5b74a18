#pragma once

#include <QDate>
#include <QString>
#include <variant>

namespace store {

// One field value or seek value: text, an integer or a date. Fields are read back as text or
// integers; callers convert at once with text(), integer() or date(). A default Value is the
// empty text, which as a seek value sorts below every value of any field type.
class Value {
public:
    Value() = default;
    Value(const QString& text) : data_(text) {}
    Value(const char* utf8) : data_(QString::fromUtf8(utf8)) {}
    Value(int number) : data_(qint64(number)) {}
    Value(qint64 number) : data_(number) {}
    Value(const QDate& date) : data_(date) {}

    bool isText() const { return std::holds_alternative<QString>(data_); }
    bool isInteger() const { return std::holds_alternative<qint64>(data_); }
    bool isDate() const { return std::holds_alternative<QDate>(data_); }
    bool isEmptyText() const { return isText() && std::get<QString>(data_).isEmpty(); }

    // Integers as decimal text, dates as "yyyy/mm/dd".
    QString text() const;
    // Integers as they are; numeric text rounded to a whole number. Throws StoreError otherwise.
    qint64 integer() const;
    // Dates as they are; date text parsed. Throws StoreError otherwise.
    QDate date() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<QString, qint64, QDate> data_;
};

} // namespace store
