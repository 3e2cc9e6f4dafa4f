// The game's exceptions: their causes and the text they print.
#include "core/exception.hpp"

namespace {

// The family member an exception_ptr holds, or nullptr for Null and for foreign objects. The
// reference stays valid for as long as the exception_ptr that owns the object.
const BriskException* AsBrisk(const std::exception_ptr& p) {
    if (!p) return nullptr;
    try {
        std::rethrow_exception(p);
    } catch (const BriskException& e) {
        return &e;
    } catch (...) {
        return nullptr;
    }
}

constexpr int kMaxCausesPrinted = 10;

}  // namespace

BriskException::BriskException(const char* qualifiedType, std::string message, std::exception_ptr cause)
    : message(std::move(message)), fullType(qualifiedType) {
    auto dot = fullType.rfind('.');
    type = dot == std::string::npos ? fullType : fullType.substr(dot + 1);
    Cause2(std::move(cause));
}

void BriskException::Cause2(std::exception_ptr newCause) {
    if (AsBrisk(newCause) == this) newCause = nullptr;
    cause = std::move(newCause);
}

const BriskException* BriskException::BriskCause() const {
    return AsBrisk(cause);
}

std::string BriskException::ToString2(bool full) const {
    std::string result = type + ": " + message;
    if (!full) return result;
    const std::exception_ptr* next = &cause;
    for (int printed = 0; printed < kMaxCausesPrinted && *next; ++printed) {
        const BriskException* e = AsBrisk(*next);
        if (!e) {
            result += "\nCaused by a non-Brisk exception.";
            break;
        }
        result += "\nCaused by " + e->Type() + ": " + e->Message();
        next = &e->Cause();
    }
    return result;
}
