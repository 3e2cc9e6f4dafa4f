#pragma once
// The strict XML reader every data file goes through, and the element tree it builds.
//
// The parser works in two passes: the first indexes every control character of the text once,
// the second builds elements tag by tag from the indexed positions. Malformed text throws an
// XMLParseException naming the method and the fault; nothing is recovered and no partial document
// is returned. Only the five named entities are decoded; the text between tags becomes the
// element's value.
//
// Ownership: a parsed document owns all of its elements; element pointers stay valid as long as
// the document lives. Elements made directly (XMLElement(name, parent)) belong to whoever made them.
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/briskstack.hpp"
#include "core/exception.hpp"

class XMLAttribute {
  public:
    XMLAttribute() = default;
    XMLAttribute(std::string n, std::string v) : name(std::move(n)), value(std::move(v)) {}

    // 1 when filter is exactly name + "=" + value.
    int Matches(std::string_view filter) const;

    std::string name;
    std::string value;
};

// One element of a document. Name reads the name, Name2 sets it.
class XMLElement {
  public:
    XMLElement() = default;
    // Pushed onto parent's children when a parent is given.
    explicit XMLElement(std::string name, XMLElement* parent = nullptr);
    XMLElement(const XMLElement&) = delete;
    XMLElement& operator=(const XMLElement&) = delete;

    // Replaces the first attribute of that exact name and returns its old value, or appends one
    // and returns "".
    std::string SetAttribute(const std::string& name, std::string value);
    std::string GetAttribute(std::string_view name, std::string_view defaultValue = "") const;
    int HasAttribute(std::string_view name) const;
    int MatchesAttribute(std::string_view filter) const;
    // Pushes child unless it is already a child, and becomes its parent.
    void AddChild(XMLElement* child);
    const BriskStack<XMLElement*>& Children() const { return children; }
    const std::string& Name() const { return name; }
    void Name2(std::string newName);
    // The children named findName that match every non-empty filter ("attribute=value").
    BriskStack<XMLElement*> GetChildrenByName(std::string_view findName, std::string_view f1 = "",
                                              std::string_view f2 = "", std::string_view f3 = "",
                                              std::string_view f4 = "", std::string_view f5 = "",
                                              std::string_view f6 = "", std::string_view f7 = "",
                                              std::string_view f8 = "", std::string_view f9 = "",
                                              std::string_view f10 = "") const;

    XMLElement* parent = nullptr;
    BriskStack<XMLElement*> children;
    BriskStack<XMLAttribute> attributes;
    int pi = 0;
    int cdata = 0;
    std::string value;

  private:
    friend class XMLParser;
    std::string name;
};

class XMLDocument {
  public:
    XMLDocument() = default;
    // A root of that name unless the name is empty.
    explicit XMLDocument(const std::string& rootName);
    // The element becomes the root; it stays its maker's.
    explicit XMLDocument(XMLElement* rootElement) : root(rootElement) {}
    XMLDocument(const XMLDocument&) = delete;
    XMLDocument& operator=(const XMLDocument&) = delete;

    XMLElement* Root() const { return root; }

    XMLElement* root = nullptr;
    BriskStack<XMLElement*> pi;

    // Storage for every element the document made; a deque never moves its elements.
    XMLElement* NewElement();

  private:
    std::deque<XMLElement> owned;
};

class XMLParser {
  public:
    // Elements may nest this deep and no deeper; the game's data nests ten levels at most, and the
    // loaders that walk the tree by recursion rely on the bound.
    static constexpr int kMaxDepth = 256;

    // Throws XMLParseException on malformed text, and on elements nested deeper than kMaxDepth
    // (naming the line).
    std::unique_ptr<XMLDocument> ParseString(std::string_view text);

    // The five named entities, "&amp;" last: "&amp;lt;" reads as the text "&lt;".
    static std::string XMLUnescape(std::string_view text);

    // The line (from 1) where the last text this parser refused went wrong; 0 when the fault has
    // no one place (a text without tags or without an element).
    int FailLine() const { return failLine; }

  private:
    void CacheControlCharacters();
    void TrimString(int start, int end, int& outStart, int& outEnd) const;
    XMLElement* GetTagContents(XMLDocument& doc, int start, int end);
    // Throws "XMLParser." + method + ": " + message, noting the line of the text's character at
    // `at` (none when negative).
    [[noreturn]] void Fail(const char* method, const std::string& message, int at = -1);
    // The line (from 1) that the text's character at `at` stands on.
    int LineAt(int at) const;

    std::string_view str;
    // Opening "<" and closing ">" of every tag, in pairs, and one type per pair:
    // 0 element tag, 1 comment, 2 character data, 3 document type declaration.
    std::vector<int> tags;
    std::vector<unsigned char> tagType;
    // Opening "<" and closing ">" of every processing instruction, in pairs.
    std::vector<int> pis;
    int failLine = 0;
};
