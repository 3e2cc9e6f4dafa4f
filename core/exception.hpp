#pragma once
// The game's family of thrown objects. Every programming or data error the game detects itself is
// one of these; each carries a message, an optional cause and its type name, and prints itself
// with its chain of causes.
//
// A cause may be any thrown object (a platform::RuntimeError, a std::exception, another member of
// this family), so it is held as a std::exception_ptr: it keeps the cause alive for as long as the
// exception that names it, whatever its type. Typical use inside a handler:
//     catch (...) { throw XMLParseException("...", std::current_exception()); }
#include <exception>
#include <string>

#include "platform/app.hpp"

// The game's exception. Numbered names: Message2 and Cause2 set what Message and Cause read;
// ToString2 is the text with or without the chain of causes.
class BriskException : public platform::ThrowableObject {
  public:
    explicit BriskException(std::string message = "", std::exception_ptr cause = nullptr)
        : BriskException("brisk.exception.BriskException", std::move(message), std::move(cause)) {}

    const std::string& Message() const { return message; }
    void Message2(std::string text) { message = std::move(text); }

    const std::exception_ptr& Cause() const { return cause; }
    // Naming the exception itself as its cause stores Null: a self-cycle would never end.
    void Cause2(std::exception_ptr newCause);
    // The cause when it belongs to this family, else nullptr (also for a Null cause).
    const BriskException* BriskCause() const;

    const std::string& Type() const { return type; }
    const std::string& FullType() const { return fullType; }

    // "Type: message"; with `full`, one "Caused by" line per cause, ten at most.
    std::string ToString2(bool full) const;

    // The report printed when such an object escapes every guard names the whole chain.
    std::string Describe() const override { return ToString2(true); }

  protected:
    // Subclasses pass their qualified class name: the constructor of the base cannot see the
    // dynamic type of the object being built.
    BriskException(const char* qualifiedType, std::string message, std::exception_ptr cause);

  private:
    std::string message;
    std::exception_ptr cause;
    std::string type;
    std::string fullType;
};

#define BRISK_EXCEPTION_CLASS(Name)                                                             \
    class Name : public BriskException {                                                        \
      public:                                                                                   \
        explicit Name(std::string message = "", std::exception_ptr cause = nullptr)             \
            : BriskException("brisk.exception." #Name, std::move(message), std::move(cause)) {} \
    };

BRISK_EXCEPTION_CLASS(AssertException)
BRISK_EXCEPTION_CLASS(ConcurrentModificationException)
BRISK_EXCEPTION_CLASS(IndexOutOfBoundsException)
BRISK_EXCEPTION_CLASS(IllegalArgumentException)
BRISK_EXCEPTION_CLASS(XMLParseException)
BRISK_EXCEPTION_CLASS(UnsupportedOperationException)
BRISK_EXCEPTION_CLASS(FormatException)

#undef BRISK_EXCEPTION_CLASS
