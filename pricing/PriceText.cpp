#include "PriceText.h"

#include "Errors.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace precivox {

namespace {

constexpr int kSignificantDigits = 15;

// A separator beyond Latin-1 (a narrow no-break space) reaches the terminal as a blank.
std::string latin1Separator(const QString& separator) {
    std::string bytes;
    for (QChar c : separator)
        bytes += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : ' ';
    return bytes;
}

// Adds one to a text of decimal digits.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The magnitude in hundredths, as decimal digits without leading zeros ("" for zero).
std::string roundedHundredths(double magnitude) {
    char text[64];
    // d.dddddddddddddde±x: the value's decimal form at 15 significant digits.
    std::snprintf(text, sizeof text, "%.*e", kSignificantDigits - 1, magnitude);
    std::string digits;
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int exponent = std::atoi(p + 1);
    // digits * 10^shift is the value in hundredths.
    const int shift = exponent + 2 - (kSignificantDigits - 1);
    if (shift >= 0)
        digits.append(static_cast<size_t>(shift), '0');
    else if (-shift > kSignificantDigits) {
        digits.clear();
    } else {
        const size_t kept = digits.size() - static_cast<size_t>(-shift);
        const bool roundUp = digits[kept] >= '5';
        digits.resize(kept);
        if (roundUp)
            increment(digits);
    }
    const size_t firstNonZero = digits.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string() : digits.substr(firstNonZero);
}

} // namespace

NumberSeparators systemNumberSeparators() {
    const QLocale locale = QLocale::system();
    return {latin1Separator(locale.decimalPoint()), latin1Separator(locale.groupSeparator())};
}

std::string formatPrice(double value, const NumberSeparators& separators) {
    if (!std::isfinite(value))
        throw ArithmeticError("Invalid floating point operation");
    std::string hundredths = roundedHundredths(std::fabs(value));
    const bool negative = value < 0 && !hundredths.empty();
    if (hundredths.size() < 3)
        hundredths.insert(0, 3 - hundredths.size(), '0');
    const std::string whole = hundredths.substr(0, hundredths.size() - 2);

    std::string text = negative ? "-" : "";
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += separators.thousands;
        text += whole[i];
    }
    text += separators.decimal;
    text += hundredths.substr(hundredths.size() - 2);
    return text;
}

} // namespace precivox
