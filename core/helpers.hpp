#pragma once
// Assertions that throw AssertException, the number formatter and file-name helpers used across
// the framework. The helpers that call the engine layer (asserting loaders, ExitApp) live in
// core/loaders.hpp.
#include <string>

#include "core/exception.hpp"

[[noreturn]] void RaiseAssertion(const std::string& message);

template <class P>
void RequireNotNull(const P& value, const std::string& message) {
    if (value == nullptr) RaiseAssertion(message);
}

void RequireTrue(bool condition, const std::string& message);
// Raises message + " " + value + "=" + forbidden when the two are equal.
void AssertNotEqualInt(int value, int forbidden, const std::string& message);

// "a/b.c" -> "a/b"; a "." inside a folder name is not an extension: "data.old/file" is unchanged.
std::string StripExtension(const std::string& path);
std::string StripDirectory(const std::string& path);
std::string StripPathAndExtension(const std::string& path);

// The last `width` characters of `pad` repeated width times followed by `text`.
std::string RightAlign(const std::string& text, int width, const std::string& pad);

// `decimals` digits after the point (cut, not rounded; 0 drops the point), a "," every `comma`
// digits left of the point (0: none), right-aligned in a field of width + decimals + 1 characters
// when width > 0 ("Error" when the number does not fit). Negative arguments raise an assertion.
std::string FormatNumber(float value, int decimals, int comma, int width);
