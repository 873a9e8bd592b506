#include "Field.h"

#include "Errors.h"
#include "ValueText.h"

namespace precivox {

namespace {

[[noreturn]] void notAFloat(const std::string& text) {
    throw ConversionError("'" + text + "' is not a valid floating point value");
}

} // namespace

const std::string* Field::raw() const {
    if (!row_)
        return nullptr;
    const auto& cell = rows_->cell(*row_, column_);
    return cell ? &*cell : nullptr;
}

bool Field::isNull() const {
    return raw() == nullptr;
}

int32_t Field::asInteger() const {
    return isNull() ? 0 : value().toInt32();
}

int64_t Field::asLargeInt() const {
    return isNull() ? 0 : value().toInt64();
}

double Field::asFloat() const {
    const std::string* text = raw();
    if (!text)
        return 0;
    if (kind() == ColumnKind::dateTime)
        notAFloat(*text);
    // Read from the text itself: a decimal's digits beyond a currency's four stay.
    if (auto number = parseDouble(*text))
        return *number;
    notAFloat(*text);
}

long double Field::asExtended() const {
    const std::string* text = raw();
    if (!text)
        return 0;
    if (kind() == ColumnKind::dateTime)
        notAFloat(*text);
    if (auto number = parseLongDouble(*text))
        return *number;
    notAFloat(*text);
}

Currency Field::asCurrency() const {
    return isNull() ? Currency{} : value().toCurrency();
}

std::string Field::asString() const {
    const std::string* text = raw();
    return text ? *text : std::string();
}

DateTime Field::asDateTime() const {
    return isNull() ? DateTime{} : value().toDateTime();
}

Variant Field::value() const {
    const std::string* text = raw();
    if (!text)
        return {};
    switch (kind()) {
    case ColumnKind::integer:
        if (auto number = parseInt64(*text))
            return *number;
        // Only an unsigned BIGINT beyond int64 gets here.
        if (auto number = parseDouble(*text))
            return *number;
        break;
    case ColumnKind::real:
        if (auto number = parseDouble(*text))
            return *number;
        break;
    case ColumnKind::decimal:
        try {
            return Currency::fromDecimalText(*text);
        } catch (const ConversionError&) {
            if (auto number = parseDouble(*text))
                return *number;
        }
        break;
    case ColumnKind::dateTime:
        if (auto date = parseDateTime(*text))
            return *date;
        break;
    case ColumnKind::text:
        return *text;
    }
    throw ConversionError("'" + *text + "' is not a valid value of column " + name());
}

} // namespace precivox
