// Value lists and condition lists read out of data-file elements.
#include "model/flaglists.hpp"

#include "core/xml.hpp"

std::unique_ptr<FlagList> FlagLists::ParseFlags(const XMLElement* element) {
    std::unique_ptr<FlagList> list;
    if (element == nullptr) return list;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() != "flag") continue;
        FlagItem* item = nullptr;
        if (child->HasAttribute("value")) {
            item = FlagItem::Create(child->GetAttribute("name"), child->GetAttribute("value"));
        } else if (child->HasAttribute("add")) {
            item = FlagItem::Create(child->GetAttribute("name"), child->GetAttribute("add"));
            item->add = 1;
        } else {
            continue;
        }
        if (!list) list = std::make_unique<FlagList>();
        list->Add(item);
    }
    return list;
}

namespace {

int CompareType(const std::string& word) {
    if (word == "higher") return FlagCompare::kHigher;
    if (word == "lower") return FlagCompare::kLower;
    if (word == "not") return FlagCompare::kNot;
    return FlagCompare::kEqual;
}

}  // namespace

std::unique_ptr<CompareList> FlagLists::ParseConditions(const XMLElement* element) {
    std::unique_ptr<CompareList> list;
    if (element == nullptr) return list;
    auto append = [&list](FlagCompare* compare) {
        if (!list) list = std::make_unique<CompareList>();
        list->Add(compare);
    };
    FlagCompare* held = nullptr;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() != "flag") continue;
        FlagCompare* compare = FlagCompare::Create(child->GetAttribute("name"), child->GetAttribute("value"),
                                                   CompareType(child->GetAttribute("type")));
        compare->eor = held;
        if (child->HasAttribute("or")) {
            held = compare;
        } else {
            held = nullptr;
            append(compare);
        }
    }
    if (held != nullptr) append(held);
    return list;
}

int FlagLists::Holds(const CompareList* conditions) {
    if (conditions == nullptr) return 1;
    for (int i = 0; i < conditions->Size(); ++i) {
        if (conditions->Get2(i)->Check() == 0) return 0;
    }
    return 1;
}
