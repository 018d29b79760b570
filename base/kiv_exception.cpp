#include "base/kiv_exception.h"

#include "base/kiv_format.h"

KivException::KivException(const KivString& message, int32_t code) : message_(message), code_(code) {}

KivException::KivException(const KivString& firstText, const KivString& message, int32_t code)
    : firstText_(firstText), message_(message), code_(code) {}

KivException::~KivException() = default;

void KivException::Raise(int32_t code, const KivString& format, const KivString& argument) {
    throw KivException(KivFormat(format).Argument(argument).Result(), code);
}

void KivException::RaiseNotImplemented(const char* service) {
    Raise(kNotImplemented, "Service \"{0}\" is not implemented.", KivString(service));
}
