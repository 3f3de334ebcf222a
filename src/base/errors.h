#pragma once
// Failures are exceptions that carry only a message; whoever called the event handler shows it.
#include <stdexcept>
#include <string>

namespace kelvaro {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a number or not a rule criterion, or a date or time that cannot be encoded.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace kelvaro
