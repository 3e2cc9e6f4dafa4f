// The strict XML reader and the element tree it builds.
#include "core/xml.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

namespace {

inline bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

inline char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive look-ahead that never reads past the text.
bool MatchesAt(std::string_view s, size_t at, std::string_view word) {
    if (at + word.size() > s.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (Lower(s[at + i]) != Lower(word[i])) return false;
    }
    return true;
}

// SetAttribute's rule for the attributes of one tag (a repeated key replaces the first value) with
// a constant-time check: a tag of a few attributes is searched, a wider one looks its keys up in
// `wide`, made once the tag has that many.
void StoreAttribute(XMLElement& e, std::string&& key, std::string&& value,
                    std::optional<std::unordered_map<std::string, int>>& wide) {
    constexpr int kSearched = 8;
    const int count = e.attributes.Count();
    if (count < kSearched) {
        for (XMLAttribute& a : e.attributes) {
            if (a.name == key) {
                a.value = std::move(value);
                return;
            }
        }
    } else {
        if (!wide) {
            wide.emplace();
            for (int i = 0; i < count; ++i) wide->emplace(e.attributes.Get(i).name, i);
        }
        const auto [at, added] = wide->try_emplace(key, count);
        if (!added) {
            e.attributes.Get(at->second).value = std::move(value);
            return;
        }
    }
    e.attributes.Push(XMLAttribute(std::move(key), std::move(value)));
}

// A filter is "name=value"; only an exact attribute match passes.
bool PassesFilter(const XMLElement& e, std::string_view filter) {
    return filter.empty() || e.MatchesAttribute(filter) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Model

int XMLAttribute::Matches(std::string_view filter) const {
    return filter.size() == name.size() + 1 + value.size() && filter.substr(0, name.size()) == name &&
                   filter[name.size()] == '=' && filter.substr(name.size() + 1) == value
               ? 1
               : 0;
}

XMLElement::XMLElement(std::string elementName, XMLElement* parentElement) : name(std::move(elementName)) {
    if (parentElement != nullptr) {
        parent = parentElement;
        parentElement->children.Push(this);
    }
}

std::string XMLElement::SetAttribute(const std::string& attrName, std::string attrValue) {
    if (attrName.empty()) throw IllegalArgumentException("XMLElement.SetAttribute: name must not be empty");
    for (XMLAttribute& a : attributes) {
        if (a.name == attrName) {
            std::string old = std::move(a.value);
            a.value = std::move(attrValue);
            return old;
        }
    }
    attributes.Push(XMLAttribute(attrName, std::move(attrValue)));
    return "";
}

std::string XMLElement::GetAttribute(std::string_view attrName, std::string_view defaultValue) const {
    if (attrName.empty()) return "";
    for (const XMLAttribute& a : attributes) {
        if (a.name == attrName) return a.value;
    }
    return std::string(defaultValue);
}

int XMLElement::HasAttribute(std::string_view attrName) const {
    if (attrName.empty()) return 0;
    for (const XMLAttribute& a : attributes) {
        if (a.name == attrName) return 1;
    }
    return 0;
}

int XMLElement::MatchesAttribute(std::string_view filter) const {
    for (const XMLAttribute& a : attributes) {
        if (a.Matches(filter)) return 1;
    }
    return 0;
}

// Becoming a child always sets the parent, and nothing here clears it, so the parent answers at
// once for an element new to any parent (every element a parse makes) and for one already ours;
// only an element taken over from another parent may be among ours and needs the walk. A parse
// adds each of its elements once, so it stays linear in the document's size.
void XMLElement::AddChild(XMLElement* child) {
    if (child == nullptr) return;
    const bool present = child->parent == this || (child->parent != nullptr && children.Contains(child));
    if (!present) children.Push(child);
    child->parent = this;
}

void XMLElement::Name2(std::string newName) {
    if (newName.empty()) throw IllegalArgumentException("XMLElement.Name: name must not be empty");
    name = std::move(newName);
}

BriskStack<XMLElement*> XMLElement::GetChildrenByName(std::string_view findName, std::string_view f1,
                                                      std::string_view f2, std::string_view f3,
                                                      std::string_view f4, std::string_view f5,
                                                      std::string_view f6, std::string_view f7,
                                                      std::string_view f8, std::string_view f9,
                                                      std::string_view f10) const {
    if (findName.empty()) {
        throw IllegalArgumentException("XMLElement.GetChildrenByName: findName must not be empty");
    }
    const std::string_view filters[] = {f1, f2, f3, f4, f5, f6, f7, f8, f9, f10};
    BriskStack<XMLElement*> found;
    for (XMLElement* child : children) {
        if (child->name != findName) continue;
        bool pass = true;
        for (std::string_view f : filters) {
            if (!PassesFilter(*child, f)) {
                pass = false;
                break;
            }
        }
        if (pass) found.Push(child);
    }
    return found;
}

XMLDocument::XMLDocument(const std::string& rootName) {
    if (!rootName.empty()) {
        root = NewElement();
        root->Name2(rootName);
    }
}

XMLElement* XMLDocument::NewElement() {
    return &owned.emplace_back();
}

// ---------------------------------------------------------------------------------------------
// Parser

void XMLParser::Fail(const char* method, const std::string& message, int at) {
    failLine = at >= 0 ? LineAt(at) : 0;
    throw XMLParseException(std::string("XMLParser.") + method + ": " + message);
}

std::string XMLParser::XMLUnescape(std::string_view text) {
    size_t amp = text.find('&');
    if (amp == std::string_view::npos) return std::string(text);
    // One left-to-right pass gives the same text as replacing the entities one kind after the
    // other in the order quot, apos, gt, lt, amp: a decoded character never starts an entity.
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (amp != std::string_view::npos) {
        out.append(text.substr(i, amp - i));
        std::string_view rest = text.substr(amp);
        if (rest.substr(0, 6) == "&quot;") {
            out += '"';
            i = amp + 6;
        } else if (rest.substr(0, 6) == "&apos;") {
            out += '\'';
            i = amp + 6;
        } else if (rest.substr(0, 4) == "&gt;") {
            out += '>';
            i = amp + 4;
        } else if (rest.substr(0, 4) == "&lt;") {
            out += '<';
            i = amp + 4;
        } else if (rest.substr(0, 5) == "&amp;") {
            out += '&';
            i = amp + 5;
        } else {
            out += '&';
            i = amp + 1;
        }
        amp = text.find('&', i);
    }
    out.append(text.substr(i));
    return out;
}

void XMLParser::CacheControlCharacters() {
    enum State { kNone, kTag, kComment, kCdata, kPi, kDoctype, kQuote, kStates };
    // The characters that can change anything in each state; all others are skipped at once.
    static const auto interesting = [] {
        std::array<std::array<bool, 256>, kStates> t{};
        auto mark = [&t](State st, std::string_view chars) {
            for (char c : chars) t[st][static_cast<unsigned char>(c)] = true;
        };
        mark(kNone, "<>\"");
        mark(kTag, "<>\"");
        mark(kComment, ">");
        mark(kCdata, ">");
        mark(kPi, ">\"");
        mark(kDoctype, ">\"");
        mark(kQuote, "\"");
        return t;
    }();

    State state = kNone;
    bool inQuote = false;
    int quoteAt = 0;  // where the open quote began
    int open = 0;     // where the current tag, comment, section or instruction began
    const char* s = str.data();
    const int n = static_cast<int>(str.size());
    tags.clear();
    tagType.clear();
    pis.clear();
    // Every tag and instruction opens with a "<": counting them first sizes the index exactly, so a
    // large file does not leave it up to twice as large as it needs.
    const auto openers = static_cast<size_t>(std::count(str.begin(), str.end(), '<'));
    tags.reserve(2 * openers);
    tagType.reserve(openers);

    for (int i = 0; i < n; ++i) {
        const char c = s[i];
        if (!interesting[inQuote ? kQuote : state][static_cast<unsigned char>(c)]) continue;
        if (state == kComment) {
            if (c == '>' && i - 2 > open && s[i - 1] == '-' && s[i - 2] == '-') {
                tags.push_back(i);
                state = kNone;
            }
            continue;
        }
        if (state == kCdata) {
            if (c == '>' && i - 2 > open && s[i - 1] == ']' && s[i - 2] == ']') {
                tags.push_back(i);
                state = kNone;
            }
            continue;
        }
        if (inQuote) {
            inQuote = false;  // only a double quote gets here
            continue;
        }
        if (c == '"') {
            inQuote = true;
            quoteAt = i;
            continue;
        }
        if (state == kPi) {
            // "<?>" closes on the opener's own "?"; the second pass then finds its inside empty.
            if (c == '>' && s[i - 1] == '?') {
                pis.push_back(i);
                state = kNone;
            }
            continue;
        }
        if (state == kDoctype) {
            tags.push_back(i);  // only ">" gets here
            state = kNone;
            continue;
        }
        if (c == '<') {
            if (state == kTag) Fail("CacheControlCharacters", "Invalid less than!", i);
            open = i;
            // Every look-ahead is bounded: "<!" or "<!-" at the very end is simply no opener.
            if (i + 1 < n && s[i + 1] == '!') {
                if (MatchesAt(str, static_cast<size_t>(i) + 2, "--")) {
                    state = kComment;
                    tagType.push_back(1);
                } else if (MatchesAt(str, static_cast<size_t>(i) + 2, "[CDATA[")) {
                    state = kCdata;
                    tagType.push_back(2);
                } else if (MatchesAt(str, static_cast<size_t>(i) + 2, "DOCTYPE")) {
                    state = kDoctype;
                    tagType.push_back(3);
                } else {
                    Fail("CacheControlCharacters", "Invalid prolog.", i);
                }
                tags.push_back(i);
            } else if (i + 1 < n && s[i + 1] == '?') {
                state = kPi;
                pis.push_back(i);
            } else {
                state = kTag;
                tags.push_back(i);
                tagType.push_back(0);
            }
            continue;
        }
        // c == '>'
        if (state != kTag) Fail("CacheControlCharacters", "Invalid greater than!", i);
        tags.push_back(i);
        state = kNone;
    }

    if (inQuote) Fail("CacheControlCharacters", "Unclosed quote!", quoteAt);
    if (state == kTag) Fail("CacheControlCharacters", "Unclosed tag!", open);
    if (state == kComment) Fail("CacheControlCharacters", "Unclosed comment!", open);
    if (state == kCdata) Fail("CacheControlCharacters", "Unclosed cdata!", open);
    if (state == kPi) Fail("CacheControlCharacters", "Unclosed processing instruction!", open);
    // A document type declaration cut short is a tag that never closed.
    if (state == kDoctype) Fail("CacheControlCharacters", "Unclosed tag!", open);
}

int XMLParser::LineAt(int at) const {
    return 1 + static_cast<int>(std::count(str.begin(), str.begin() + at, '\n'));
}

void XMLParser::TrimString(int start, int end, int& outStart, int& outEnd) const {
    while (end > start && IsWhite(str[static_cast<size_t>(end - 1)])) --end;
    while (start < end && IsWhite(str[static_cast<size_t>(start)])) ++start;
    outStart = start;
    outEnd = end;
}

XMLElement* XMLParser::GetTagContents(XMLDocument& doc, int start, int end) {
    if (start == end) Fail("GetTagContents", "Empty tag detected.", start);
    const char* s = str.data();
    int pos = start;
    while (pos < end && !IsWhite(s[pos])) ++pos;
    if (pos == start) Fail("GetTagContents", "Error reading tag name.", start);
    XMLElement* e = doc.NewElement();
    e->name.assign(s + start, static_cast<size_t>(pos - start));
    // Room for exactly as many attributes as the tag has "=" signs (values may hold a few more):
    // grown one by one, a tag's list would be up to twice its size for the document's life.
    if (const auto signs = std::count(s + pos, s + end, '='); signs > 0) {
        e->attributes.Reserve(static_cast<int>(signs));
    }
    std::optional<std::unordered_map<std::string, int>> wideKeys;

    while (pos < end) {
        while (pos < end && IsWhite(s[pos])) ++pos;
        int keyStart = pos;
        while (pos < end && s[pos] != '=' && !IsWhite(s[pos])) ++pos;
        if (pos == keyStart) {
            if (pos >= end) break;
            Fail("GetTagContents", "Error reading attribute key.", pos);
        }
        std::string key(s + keyStart, static_cast<size_t>(pos - keyStart));
        std::string value;
        if (pos < end && s[pos] == '=') {
            ++pos;
            if (pos < end && (s[pos] == '"' || s[pos] == '\'')) {
                const char quote = s[pos];
                const int valueStart = ++pos;
                while (pos < end && s[pos] != quote) ++pos;
                if (pos >= end) Fail("GetTagContents", "Unclosed quote detected.", valueStart - 1);
                value = XMLUnescape(std::string_view(s + valueStart, static_cast<size_t>(pos - valueStart)));
                ++pos;
            } else {
                const int valueStart = pos;
                while (pos < end && !IsWhite(s[pos])) {
                    if (s[pos] == '\'') {
                        Fail("GetTagContents", "Unexpected single quote detected in attribute value.", pos);
                    }
                    if (s[pos] == '"') {
                        Fail("GetTagContents", "Unexpected double quote detected in attribute value.", pos);
                    }
                    ++pos;
                }
                value = XMLUnescape(std::string_view(s + valueStart, static_cast<size_t>(pos - valueStart)));
            }
        }
        StoreAttribute(*e, std::move(key), std::move(value), wideKeys);
    }
    return e;
}

std::unique_ptr<XMLDocument> XMLParser::ParseString(std::string_view text) {
    str = text;
    failLine = 0;
    CacheControlCharacters();
    if (tags.empty()) Fail("ParseString", "Something seriously wrong... no tags!");

    auto doc = std::make_unique<XMLDocument>();
    const char* s = str.data();

    for (size_t k = 0; k + 1 < pis.size(); k += 2) {
        int start, end;
        // The inside of "<?>" runs backwards (from after "<?" to before "?>"): it counts as empty.
        TrimString(pis[k] + 2, pis[k + 1] - 1, start, end);
        if (start >= end) Fail("ParseString", "Empty processing instruction.", pis[k]);
        XMLElement* e = GetTagContents(*doc, start, end);
        e->pi = 1;
        doc->pi.Push(e);
    }

    XMLElement* current = nullptr;
    BriskStack<XMLElement*> open;
    // Where the current element's tag and those of the open ones below it begin, for a file that
    // ends before they close.
    int currentAt = 0;
    std::vector<int> openAt;
    const size_t pairs = tags.size() / 2;
    for (size_t k = 0; k < pairs; ++k) {
        const int tagStart = tags[2 * k];
        const int tagEnd = tags[2 * k + 1];
        const int type = tagType[k];
        bool stop = false;
        if (type == 2) {
            XMLElement* section = doc->NewElement();
            section->cdata = 1;
            section->value.assign(s + tagStart + 9, static_cast<size_t>(tagEnd - 2 - (tagStart + 9)));
            if (current != nullptr) current->AddChild(section);
        } else if (type == 0) {
            int start, end;
            TrimString(tagStart + 1, tagEnd, start, end);
            if (start >= end) Fail("ParseString", "Empty tag.", tagStart);
            if (s[start] == '/') {
                if (current == nullptr)
                    Fail("ParseString", "Closing tag found outside main document tag.", tagStart);
                std::string_view closing(s + start + 1, static_cast<size_t>(end - start - 1));
                if (closing != current->name) {
                    Fail("ParseString",
                         "Closing tag \"" + std::string(closing) + "\" does not match opening tag \"" +
                             current->name + "\"",
                         tagStart);
                }
                if (open.IsEmpty()) {
                    stop = true;
                } else {
                    current = open.Pop();
                    currentAt = openAt.back();
                    openAt.pop_back();
                }
            } else {
                // Everything lives inside the one document element: a second element after it
                // would otherwise vanish without a word.
                if (doc->root != nullptr && current == nullptr) {
                    Fail("ParseString", "Closing tag found outside main document tag.", tagStart);
                }
                // The reader keeps its own stack, but the loaders that follow the tree by
                // recursion would not survive a file nested thousands deep.
                if (open.Count() >= kMaxDepth) {
                    Fail("ParseString",
                         "Elements nested deeper than " + std::to_string(kMaxDepth) + " levels at line " +
                             std::to_string(LineAt(tagStart)) + ".",
                         tagStart);
                }
                if (s[end - 1] == '/') {
                    XMLElement* e = GetTagContents(*doc, start, end - 1);
                    if (doc->root == nullptr) doc->root = e;
                    if (current != nullptr) current->AddChild(e);
                } else {
                    XMLElement* e = GetTagContents(*doc, start, end);
                    if (doc->root == nullptr) doc->root = e;
                    if (current != nullptr) current->AddChild(e);
                    open.Push(current);
                    openAt.push_back(currentAt);
                    current = e;
                    currentAt = tagStart;
                }
            }
        }
        if (stop) break;
        if (current != nullptr) {
            const int textEnd = k + 1 < pairs ? tags[2 * (k + 1)] : static_cast<int>(str.size());
            int start, end;
            TrimString(tagEnd + 1, textEnd, start, end);
            if (start < end) {
                current->value += XMLUnescape(std::string_view(s + start, static_cast<size_t>(end - start)));
            }
        }
    }

    if (doc->root == nullptr) Fail("ParseString", "Error parsing XML: no document tag found.");
    // A text cut short after a complete tag must not pass for the whole document.
    if (current != nullptr) Fail("ParseString", "Unclosed element \"" + current->name + "\".", currentAt);
    return doc;
}
