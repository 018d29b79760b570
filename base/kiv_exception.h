#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// The framework's one exception class, raised by value and caught by reference.
class KivException {
public:
    // Categories of failure carried in the code.
    enum Code : int32_t {
        kFailure = 0,          // synchronisation and other failures
        kNotImplemented = 1,   // the service is not implemented by this object
        kInvalidArgument = 2,
        kInputOutput = 256,    // input/output failure or malformed contents
        kCannotOpen = 257,     // a file cannot be opened or created
        kNotInitialized = 258  // the object is not ready for use
    };

    explicit KivException(const KivString& message, int32_t code = kFailure);
    KivException(const KivString& firstText, const KivString& message, int32_t code);
    virtual ~KivException();

    KivException(const KivException&) = default;
    KivException& operator=(const KivException&) = default;

    const KivString& GetFirstText() const { return firstText_; }
    const KivString& GetMessage() const { return message_; }
    int32_t GetCode() const { return code_; }

    // Raises `format` with {0} replaced by `argument` (brace format language).
    [[noreturn]] static void Raise(int32_t code, const KivString& format, const KivString& argument);
    // Raises "Service "{0}" is not implemented." with code 1.
    [[noreturn]] static void RaiseNotImplemented(const char* service);

private:
    KivString firstText_;
    KivString message_;
    int32_t code_;
};
