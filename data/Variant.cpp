#include "Variant.h"

#include "Errors.h"
#include "ValueText.h"

namespace precivox {

namespace {

const char* kindName(VariantKind kind) {
    switch (kind) {
    case VariantKind::null:
        return "Null";
    case VariantKind::integer:
        return "Int64";
    case VariantKind::real:
        return "Double";
    case VariantKind::currency:
        return "Currency";
    case VariantKind::text:
        return "String";
    case VariantKind::dateTime:
        return "Date";
    }
    return "Unknown";
}

[[noreturn]] void cannotConvert(VariantKind from, const char* to) {
    throw ConversionError(std::string("Could not convert variant of type (") + kindName(from) +
                          ") into type (" + to + ")");
}

[[noreturn]] void overflow(VariantKind from, const char* to) {
    throw ConversionError(std::string("Overflow while converting variant of type (") +
                          kindName(from) + ") into type (" + to + ")");
}

// count / kScale to the nearest integer, halves to even, in integers only.
int64_t nearestWhole(Currency value) {
    int64_t quotient = value.count / Currency::kScale;
    int64_t remainder = value.count % Currency::kScale;
    int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
    int64_t away = value.count < 0 ? -1 : 1;
    if (twice > Currency::kScale || (twice == Currency::kScale && quotient % 2 != 0))
        quotient += away;
    return quotient;
}

bool isNumber(VariantKind kind) {
    return kind == VariantKind::integer || kind == VariantKind::real ||
           kind == VariantKind::currency;
}

} // namespace

int64_t Variant::toInt64() const {
    switch (kind()) {
    case VariantKind::integer:
        return std::get<int64_t>(value_);
    case VariantKind::real:
        return nearestInteger(std::get<double>(value_));
    case VariantKind::currency:
        return nearestWhole(std::get<Currency>(value_));
    case VariantKind::text:
        if (auto number = parseInt64(std::get<std::string>(value_)))
            return *number;
        throw ConversionError("'" + std::get<std::string>(value_) +
                              "' is not a valid integer value");
    default:
        break;
    }
    cannotConvert(kind(), "Int64");
}

int32_t Variant::toInt32() const {
    int64_t value = toInt64();
    if (value < INT32_MIN || value > INT32_MAX)
        overflow(kind(), "Integer");
    return static_cast<int32_t>(value);
}

long double Variant::toLongDouble() const {
    switch (kind()) {
    case VariantKind::integer:
        return static_cast<long double>(std::get<int64_t>(value_));
    case VariantKind::real:
        return std::get<double>(value_);
    case VariantKind::currency:
        return std::get<Currency>(value_).amount();
    case VariantKind::text:
        if (auto number = parseLongDouble(std::get<std::string>(value_)))
            return *number;
        throw ConversionError("'" + std::get<std::string>(value_) +
                              "' is not a valid floating point value");
    default:
        break;
    }
    cannotConvert(kind(), "Extended");
}

Currency Variant::toCurrency() const {
    switch (kind()) {
    case VariantKind::integer:
        // Exact: a count within range is below 2^63, inside long double's 64-bit mantissa.
        return Currency::fromAmount(static_cast<long double>(std::get<int64_t>(value_)));
    case VariantKind::real:
        return Currency::fromAmount(std::get<double>(value_));
    case VariantKind::currency:
        return std::get<Currency>(value_);
    case VariantKind::text:
        return Currency::fromDecimalText(std::get<std::string>(value_));
    default:
        cannotConvert(kind(), "Currency");
    }
}

std::string Variant::toText() const {
    switch (kind()) {
    case VariantKind::integer:
        return std::to_string(std::get<int64_t>(value_));
    case VariantKind::real:
        return formatDouble(std::get<double>(value_));
    case VariantKind::currency:
        return formatCurrency(std::get<Currency>(value_));
    case VariantKind::text:
        return std::get<std::string>(value_);
    case VariantKind::dateTime:
        return formatDateTime(std::get<DateTime>(value_));
    default:
        cannotConvert(kind(), "String");
    }
}

DateTime Variant::toDateTime() const {
    if (kind() == VariantKind::dateTime)
        return std::get<DateTime>(value_);
    if (kind() == VariantKind::text)
        if (auto value = parseDateTime(std::get<std::string>(value_)))
            return *value;
    cannotConvert(kind(), "Date");
}

bool operator==(const Variant& a, const Variant& b) {
    VariantKind ka = a.kind(), kb = b.kind();
    if (ka == kb || !isNumber(ka) || !isNumber(kb))
        return a.value_ == b.value_;
    if (ka != VariantKind::currency && kb != VariantKind::currency)
        return a.toLongDouble() == b.toLongDouble(); // exact for int64 and double alike
    // A currency against an integer or a real: at the currency's precision. A number
    // that no currency can hold equals none.
    try {
        return a.toCurrency() == b.toCurrency();
    } catch (const ArithmeticError&) {
        return false;
    }
}

} // namespace precivox
