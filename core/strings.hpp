#pragma once
// The runtime's number <-> text conversions, shared by every layer that stores numbers as text
// (flags, data-file attributes, formatted numbers).
#include <string>
#include <string_view>

// Nine significant digits with a decimal point always present: 1 -> "1.0", 0.5 -> "0.5",
// 1234567.5 -> "1234567.5", 1e10 -> "1.0e+10". NaN and infinities print as "nan", "inf", "-inf".
std::string FloatToString(double value);

// Leading white space, an optional sign, then a "%" prefix for binary, "$" for hexadecimal or
// decimal digits; reading stops at the first character that does not fit. No digits give 0.
// Values beyond 32 bits wrap, as the runtime's integer arithmetic does.
int StringToInt(std::string_view text);
// The same reading, except that a number beyond the int range reads as INT_MAX or INT_MIN.
int StringToIntSaturating(std::string_view text);

// Leading white space, sign, digits, an optional fraction and exponent; text that does not start
// with a number gives 0.
float StringToFloat(std::string_view text);

// A character and a whole number after it: ('+', 12) reads "+12", ('$', 5) "$5".
std::string CharThenNumber(char first, int value);

// Seconds as hours, minutes and seconds of two digits each: 3725 reads "01:02:05". A negative
// time (a damaged save's) reads as none.
std::string PlayTimeText(int seconds);
