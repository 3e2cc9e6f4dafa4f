// Any text either parses into a consistent tree or is refused with an XMLParseException; nothing
// else may escape, crash or read outside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "core/xml.hpp"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Walk(const XMLElement* e, int depth) {
    Check(depth < 100000);
    Check(!e->Name().empty() || e->cdata == 1);
    for (const XMLAttribute& a : e->attributes) {
        Check(!a.name.empty());
        Check(e->HasAttribute(a.name) == 1);
        Check(e->MatchesAttribute(a.name + "=" + e->GetAttribute(a.name)) == 1);
    }
    for (const XMLElement* child : e->Children()) {
        Check(child->parent == e);
        if (child->cdata == 0) {
            auto named = e->GetChildrenByName(child->Name());
            Check(named.Contains(const_cast<XMLElement*>(child)));
        }
        Walk(child, depth + 1);
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
        Walk(doc->Root(), 0);
        for (const XMLElement* pi : doc->pi) Check(pi->pi == 1);
    } catch (const XMLParseException& e) {
        Check(e.Message().rfind("XMLParser.", 0) == 0);
    }
    return 0;
}
