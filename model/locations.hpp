#pragma once
// The named places of the city: "data/locations.xml", read once at start-up, each place standing
// on a node of the city graph with its button's spot and picture on the map.
#include <memory>
#include <string>

#include "core/collections.hpp"

class XMLElement;

class LocationItem {
  public:
    // The unique name: "Location." + id reveals it, "Location" and "ArriveAt" name it.
    std::string id;
    // The city-graph node the hero walks to.
    int node = 0;
    // Top-left of the button on the map picture, unscaled (the node table's space).
    int x = 0;
    int y = 0;
    // The button picture; the greyed one is image + "G".
    std::string image;
    std::string bg;
    int index = 0;
    std::string type;
};

class Locations {
  public:
    static constexpr const char* kFile = "data/locations.xml";
    // Where a place without a usable node stands: the map's own starting node.
    static constexpr int kFallbackNode = 32;

    // In file order.
    static ArrayList<std::shared_ptr<LocationItem>> locations;

    static void InitGlobals();
    static void Init();
    // Every child of the root, whatever its tag, is a place.
    static void Load(const std::string& path);
    // A place whose node no street reaches (outside 1 to 40, or missing) would strand the hero and
    // any saved game standing there: it is moved to the fallback node, with one printed line.
    static void ParseLocation(const XMLElement* element, const std::string& path = kFile);
    // The first place of that exact id, or null.
    static LocationItem* Get(const std::string& id);
};
