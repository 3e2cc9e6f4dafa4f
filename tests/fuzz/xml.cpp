// Any text either parses into a consistent tree or is refused with an XMLParseException; nothing
// else may escape, crash or read outside the text.
#include "core/xml.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "tests/fuzz/support.hpp"

namespace {

using fuzz::Check;

// Iterative: a fuzzed document can nest tens of thousands of levels deep.
void Walk(const XMLElement* root) {
    std::vector<const XMLElement*> pending{root};
    while (!pending.empty()) {
        const XMLElement* e = pending.back();
        pending.pop_back();
        Check(!e->Name().empty() || e->cdata == 1);
        for (const XMLAttribute& a : e->attributes) {
            Check(!a.name.empty());
            Check(e->HasAttribute(a.name) == 1);
            Check(e->MatchesAttribute(a.name + "=" + e->GetAttribute(a.name)) == 1);
        }
        int asked = 0;
        for (const XMLElement* child : e->Children()) {
            Check(child->parent == e);
            // A few look-ups per element: asking for every child would be quadratic in wide trees.
            if (child->cdata == 0 && asked++ < 8) {
                auto named = e->GetChildrenByName(child->Name());
                Check(named.Contains(const_cast<XMLElement*>(child)));
            }
            pending.push_back(child);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy: a read one past the text is an AddressSanitizer report.
    std::unique_ptr<char[]> copy(new char[size == 0 ? 1 : size]);
    for (size_t i = 0; i < size; ++i) copy[i] = static_cast<char>(data[i]);
    std::string_view text(copy.get(), size);
    try {
        auto doc = XMLParser().ParseString(text);
        Check(doc->Root() != nullptr);
        Check(doc->Root()->parent == nullptr);
        Walk(doc->Root());
        for (const XMLElement* pi : doc->pi) Check(pi->pi == 1);
    } catch (const XMLParseException& e) {
        Check(e.Message().rfind("XMLParser.", 0) == 0);
    }
    return 0;
}
