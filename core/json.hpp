#pragma once
// A small JSON reader: enough for a texture atlas's description (objects, arrays, strings,
// numbers and the three literals). Malformed text ends the value where it stops making sense;
// nothing throws.
#include <string>
#include <vector>

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::vector<JsonValue> items;
    // An object's members as two parallel lists: a pair holding the type being defined is not
    // allowed by every standard library.
    std::vector<std::string> memberNames;
    std::vector<JsonValue> memberValues;

    // The first member of that name, or null.
    const JsonValue* Member(const std::string& key) const;
    // A number member; 0 when missing, not a number or not finite.
    double Num(const std::string& key) const;
    // A string member; "" when missing or not a string.
    std::string Str(const std::string& key) const;
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& text) : s(text) {}

    // The value at the reading position; nesting deeper than 64 reads as null.
    JsonValue Read(int depth = 0);

  private:
    void Skip();
    std::string ReadString();

    const std::string& s;
    size_t pos = 0;
};
