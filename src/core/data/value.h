// A database value as the programs see it: Null, integer, double, text or date.
// Dates are kept as QDateTime (local, no zone); the database stores them as ISO text
// "YYYY-MM-DD HH:MM:SS" in columns declared DATETIME.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <variant>

namespace qz {

class Value final {
public:
    enum class Kind { Null, Integer, Double, Text, Date };

    Value() = default;
    Value(std::int64_t v) : data_(v) {}
    Value(int v) : data_(std::int64_t{v}) {}
    Value(double v) : data_(v) {}
    Value(const QString &v) : data_(v) {}
    Value(const char *v) : data_(QString::fromUtf8(v)) {}
    Value(const QDateTime &v) : data_(v) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Integer || kind() == Kind::Double; }

    std::int64_t toInt() const; // numbers truncated toward zero; text read by Val; else 0
    double toDouble() const;    // numbers as they are; text read by Val; else 0
    QString toText() const;     // Null gives empty text; numbers in plain decimal; dates ISO
    QDateTime toDate() const;   // dates; ISO text parsed; else invalid

    bool operator==(const Value &other) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, QString, QDateTime> data_;
};

// Text of a date as the database stores it.
QString isoDateText(const QDateTime &dt);

} // namespace qz
