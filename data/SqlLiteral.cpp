#include "SqlLiteral.h"

#include "Errors.h"
#include "ValueText.h"

#include <cmath>

namespace precivox {

namespace {

std::string number(std::string text) {
    return text.front() == '-' ? "(" + text + ")" : text;
}

} // namespace

std::string sqlLiteral(Connection& connection, const Variant& value) {
    switch (value.kind()) {
    case VariantKind::null:
        return "NULL";
    case VariantKind::real:
        if (!std::isfinite(value.toLongDouble()))
            throw ConversionError("'" + value.toText() + "' is not a valid floating point value");
        return number(value.toText());
    case VariantKind::integer:
    case VariantKind::currency:
        return number(value.toText());
    case VariantKind::text:
        return "\"" + connection.escape(value.toText()) + "\"";
    case VariantKind::dateTime:
        return "\"" + value.toText() + "\"";
    }
    return "NULL";
}

} // namespace precivox
