#pragma once

#include <stdexcept>
#include <string>

namespace precivox {

// Every error the system raises on purpose. The error reporting shows its message.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not an integer (the settings' password pairs, the display time).
class ConversionError : public Error {
public:
    using Error::Error;
};

// The database refused a statement or could not be reached.
class DatabaseError : public Error {
public:
    using Error::Error;
};

// A division by zero or a value that does not fit a currency.
class ArithmeticError : public Error {
public:
    using Error::Error;
};

// Ends the current handler quietly. Deliberately not an Error: nothing that catches
// Error may swallow it by accident, and the error reporting never shows it.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

} // namespace precivox
