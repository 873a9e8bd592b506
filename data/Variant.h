#pragma once

#include "Currency.h"
#include "DateTime.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace precivox {

enum class VariantKind { null, integer, real, currency, text, dateTime };

// A dynamically typed value: what a column or a scalar query delivers, and what a
// statement parameter takes. Texts are Latin-1 bytes.
class Variant {
public:
    Variant() = default;
    Variant(int32_t value) : value_(int64_t{value}) {}
    Variant(int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Currency value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    Variant(DateTime value) : value_(value) {}

    VariantKind kind() const { return static_cast<VariantKind>(value_.index()); }
    bool isNull() const { return kind() == VariantKind::null; }

    // Conversions raise ConversionError where the kinds do not meet (a null into
    // anything, a text that is not a number, a date into a number) and on overflow.
    // A real becomes an integer or a currency by the nearest count, halves to even.
    int64_t toInt64() const;
    int32_t toInt32() const;
    long double toLongDouble() const;
    Currency toCurrency() const;
    std::string toText() const;
    DateTime toDateTime() const;

    // Numbers compare by value across their kinds (an integer exactly, never through a
    // double); a text equals only a text, a date only a date, null only null.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    // The order matches VariantKind.
    std::variant<std::monostate, int64_t, double, Currency, std::string, DateTime> value_;
};

} // namespace precivox
