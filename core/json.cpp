// Reading JSON text into values.
#include "core/json.hpp"

#include <cctype>
#include <cmath>
#include <cstdlib>

const JsonValue* JsonValue::Member(const std::string& key) const {
    for (size_t i = 0; i < memberNames.size(); ++i) {
        if (memberNames[i] == key) return &memberValues[i];
    }
    return nullptr;
}

double JsonValue::Num(const std::string& key) const {
    const JsonValue* v = Member(key);
    if (!v || v->kind != Number || !std::isfinite(v->number)) return 0;
    return v->number;
}

std::string JsonValue::Str(const std::string& key) const {
    const JsonValue* v = Member(key);
    return v && v->kind == String ? v->text : "";
}

JsonValue JsonReader::Read(int depth) {
    JsonValue v;
    Skip();
    // Nesting this deep is never an atlas; stopping keeps the stack bounded.
    if (pos >= s.size() || depth > 64) return v;
    char c = s[pos];
    if (c == '{') {
        v.kind = JsonValue::Object;
        ++pos;
        for (;;) {
            Skip();
            if (pos >= s.size()) break;
            if (s[pos] == '}') {
                ++pos;
                break;
            }
            if (s[pos] == ',') {
                ++pos;
                continue;
            }
            if (s[pos] != '"') break;
            std::string key = ReadString();
            Skip();
            if (pos >= s.size() || s[pos] != ':') break;
            ++pos;
            JsonValue member = Read(depth + 1);
            v.memberNames.push_back(std::move(key));
            v.memberValues.push_back(std::move(member));
        }
    } else if (c == '[') {
        v.kind = JsonValue::Array;
        ++pos;
        for (;;) {
            Skip();
            if (pos >= s.size()) break;
            if (s[pos] == ']') {
                ++pos;
                break;
            }
            if (s[pos] == ',') {
                ++pos;
                continue;
            }
            size_t before = pos;
            v.items.push_back(Read(depth + 1));
            if (pos == before) break;
        }
    } else if (c == '"') {
        v.kind = JsonValue::String;
        v.text = ReadString();
    } else if (s.compare(pos, 4, "true") == 0) {
        v.kind = JsonValue::Bool;
        v.boolean = true;
        pos += 4;
    } else if (s.compare(pos, 5, "false") == 0) {
        v.kind = JsonValue::Bool;
        pos += 5;
    } else if (s.compare(pos, 4, "null") == 0) {
        pos += 4;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
        size_t start = pos;
        while (pos < s.size() && (std::isdigit(static_cast<unsigned char>(s[pos])) || s[pos] == '-' ||
                                  s[pos] == '+' || s[pos] == '.' || s[pos] == 'e' || s[pos] == 'E'))
            ++pos;
        v.kind = JsonValue::Number;
        v.number = std::strtod(s.substr(start, pos - start).c_str(), nullptr);
    }
    return v;
}

void JsonReader::Skip() {
    while (pos < s.size() && static_cast<unsigned char>(s[pos]) <= 32) ++pos;
}

std::string JsonReader::ReadString() {
    std::string out;
    ++pos;  // the opening quote
    while (pos < s.size() && s[pos] != '"') {
        char c = s[pos++];
        if (c == '\\' && pos < s.size()) {
            char e = s[pos++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    // Game text is one byte per character: code points above 255 keep their low byte.
                    unsigned code = 0;
                    for (int i = 0; i < 4 && pos < s.size(); ++i, ++pos) {
                        const int digit = std::tolower(static_cast<unsigned char>(s[pos]));
                        const int value = std::isdigit(digit) ? digit - '0' : (digit - 'a' + 10) & 15;
                        code = code * 16 + static_cast<unsigned>(value);
                    }
                    out += static_cast<char>(code & 0xff);
                    break;
                }
                default:
                    out += e;
                    break;
            }
        } else {
            out += c;
        }
    }
    if (pos < s.size()) ++pos;  // the closing quote
    return out;
}
