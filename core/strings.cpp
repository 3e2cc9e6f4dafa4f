// Number <-> text conversions as the game's runtime does them.
#include "core/strings.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

std::string FloatToString(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    std::string s(buf);
    if (s.find('.') != std::string::npos) return s;
    auto e = s.find('e');
    if (e == std::string::npos) return s + ".0";
    s.insert(e, ".0");
    return s;
}

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

namespace {

// Both integer readers share the scan: leading white space, a sign, the base prefix, then digits
// up to the first one that does not fit. The value is kept twice: wrapped to 32 bits, as the
// runtime's arithmetic does, and as a magnitude that stops growing past the int range.
struct ScannedInt {
    bool negative = false;
    uint32_t wrapped = 0;
    int64_t magnitude = 0;
};
constexpr int64_t kMagnitudeLimit = int64_t{std::numeric_limits<int>::max()} + 1;

ScannedInt ScanInt(std::string_view text) {
    ScannedInt result;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) result.negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    } else if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i]);
        if (d >= base) break;
        result.wrapped = result.wrapped * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
        result.magnitude = std::min(result.magnitude * base + d, kMagnitudeLimit);
    }
    return result;
}

}  // namespace

int StringToInt(std::string_view text) {
    ScannedInt scanned = ScanInt(text);
    // Unsigned arithmetic: overlong numbers wrap instead of overflowing a signed int.
    uint32_t value = scanned.negative ? 0u - scanned.wrapped : scanned.wrapped;
    return static_cast<int>(value);
}

int StringToIntSaturating(std::string_view text) {
    ScannedInt scanned = ScanInt(text);
    if (scanned.negative) return static_cast<int>(-scanned.magnitude);
    return scanned.magnitude >= kMagnitudeLimit ? std::numeric_limits<int>::max()
                                                : static_cast<int>(scanned.magnitude);
}

float StringToFloat(std::string_view text) {
    // strtod needs a terminated string; a data-file attribute is short, so the copy is cheap.
    std::string s(text);
    const char* start = s.c_str();
    while (IsSpace(*start)) ++start;
    // Only plain decimal notation: strtod would also take hex floats, "inf" and "nan".
    const char* p = start;
    if (*p == '+' || *p == '-') ++p;
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9'))) return 0.0f;
    if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0f;
    char* end = nullptr;
    double v = std::strtod(start, &end);
    if (end == start) return 0.0f;
    // Beyond the float range the value is an infinity; the plain conversion would be undefined.
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

std::string CharThenNumber(char first, int value) {
    std::string text(1, first);
    text += std::to_string(value);
    return text;
}

std::string PlayTimeText(int seconds) {
    seconds = seconds < 0 ? 0 : seconds;
    std::string text;
    for (int part : {seconds / 3600, seconds / 60 % 60, seconds % 60}) {
        if (!text.empty()) text += ':';
        if (part < 10) text += '0';
        text += std::to_string(part);
    }
    return text;
}
