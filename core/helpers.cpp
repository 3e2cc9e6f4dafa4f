// Assertions, the number formatter and file-name helpers.
#include "core/helpers.hpp"

#include <cmath>
#include <cstdio>

#include "core/strings.hpp"

void RaiseAssertion(const std::string& message) {
    throw AssertException(message, nullptr);
}

void RequireTrue(bool condition, const std::string& message) {
    if (!condition) RaiseAssertion(message);
}

void AssertNotEqualInt(int value, int forbidden, const std::string& message) {
    if (value == forbidden) {
        RaiseAssertion(message + " " + std::to_string(value) + "=" + std::to_string(forbidden));
    }
}

std::string StripExtension(const std::string& path) {
    auto dot = path.rfind('.');
    if (dot == std::string::npos) return path;
    if (path.find('/', dot) != std::string::npos) return path;
    return path.substr(0, dot);
}

std::string StripDirectory(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return path;
    return path.substr(slash + 1);
}

std::string StripPathAndExtension(const std::string& path) {
    return StripDirectory(StripExtension(path));
}

std::string RightAlign(const std::string& text, int width, const std::string& pad) {
    std::string s;
    for (int i = 0; i < width; ++i) s += pad;
    s += text;
    if (width <= 0) return "";
    size_t w = static_cast<size_t>(width);
    return s.size() <= w ? s : s.substr(s.size() - w);
}

std::string FormatNumber(float value, int decimals, int comma, int width) {
    RequireTrue(decimals >= 0 && comma >= 0 && width >= 0, "Negative numbers not allowed in FormatNumber()");
    std::string s = FloatToString(value);
    if (s.find('e') != std::string::npos) {
        // Exponent notation has no digits to cut or group: very large and very small values are
        // written out in full (the digits past the requested decimals are cut anyway).
        char buf[128];
        std::snprintf(buf, sizeof buf, "%.20f", static_cast<double>(value));
        s = buf;
    }
    size_t point = s.find('.');
    if (point == std::string::npos) point = s.size();  // "inf"/"nan" carry no point
    // Missing decimals are padded with zeros rather than cut short of the requested count.
    if (decimals > 0) {
        if (point == s.size()) s += '.';
        size_t have = s.size() - point - 1;
        if (have < static_cast<size_t>(decimals)) s.append(decimals - have, '0');
    }
    if (decimals == 0) decimals = -1;
    s = s.substr(0, point + decimals + 1);
    if (comma > 0 && std::isfinite(value)) {
        // Separators count digits only: a sign is not a digit ("-123,456", never "-,123,456").
        size_t firstDigit = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
        const size_t group = static_cast<size_t>(comma);
        std::string grouped = s.substr(0, firstDigit);
        for (size_t i = firstDigit; i < point; ++i) {
            if (i > firstDigit && (point - i) % group == 0) grouped += ',';
            grouped += s[i];
        }
        grouped.append(s, point, std::string::npos);
        s = std::move(grouped);
    }
    if (width > 0) {
        size_t field = static_cast<size_t>(width + decimals + 1);
        if (s.size() > field) s = "Error";
        return RightAlign(s, static_cast<int>(field), " ");
    }
    return s;
}
