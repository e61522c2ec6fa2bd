#pragma once
#include <string>

// Base of the framework's exceptions. They are thrown by value and caught by
// const reference; the text is what a message box would show the user.
class CException {
public:
    virtual ~CException() = default;
    virtual std::string GetErrorMessage() const = 0;
};
