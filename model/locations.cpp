// The named places of the city.
#include "model/locations.hpp"

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "model/datafile.hpp"
#include "model/nodes.hpp"

ArrayList<std::shared_ptr<LocationItem>> Locations::locations;

void Locations::InitGlobals() {
    locations.Clear2();
}

void Locations::Init() {
    Load(kFile);
}

void Locations::Load(const std::string& path) {
    const auto document = LoadDataFile(path);
    for (const XMLElement* child : document->Root()->Children()) ParseLocation(child, path);
}

void Locations::ParseLocation(const XMLElement* element, const std::string& path) {
    auto item = std::make_shared<LocationItem>();
    item->id = element->GetAttribute("id");
    item->image = element->GetAttribute("image");
    item->bg = element->GetAttribute("bg");
    item->node = StringToInt(element->GetAttribute("node"));
    item->x = StringToInt(element->GetAttribute("x"));
    item->y = StringToInt(element->GetAttribute("y"));
    if (element->HasAttribute("index")) item->index = StringToInt(element->GetAttribute("index"));
    if (element->HasAttribute("type")) item->type = element->GetAttribute("type");
    if (Nodes::IsWalkable(item->node) == 0) {
        ReportDataProblem(path, "location \"" + item->id + "\" stands on node " + std::to_string(item->node) +
                                    ", which no street reaches; it stands on node " +
                                    std::to_string(kFallbackNode) + " instead");
        item->node = kFallbackNode;
    }
    locations.Add(std::move(item));
}

LocationItem* Locations::Get(const std::string& id) {
    for (int i = 0; i < locations.Size(); ++i) {
        LocationItem* item = locations.Get2(i).get();
        if (item->id == id) return item;
    }
    return nullptr;
}
