#pragma once
// The two small lists that data files carry everywhere: value lists (rewards and changes, made of
// `FlagItem`) and condition lists (made of `FlagCompare`), read out of their XML elements.
//
// Quests, trophies and upgrades read them here; the action engine and the dialogue data share the
// same grammar, so they read them here too.
#include <memory>

#include "core/collections.hpp"
#include "model/profile.hpp"

class XMLElement;

using CompareList = ArrayList<FlagCompare*>;

class FlagLists {
  public:
    // Every child named "flag", in order: with a "value" attribute an item of that text; else with
    // an "add" attribute an item of the "add" text marked additive; with neither it is skipped.
    // Null when no item was made. The items are taken from the flag pool for good.
    static std::unique_ptr<FlagList> ParseFlags(const XMLElement* element);
    // Every child named "flag", in order, becomes a compare of "name", "value" and "type" ("higher",
    // "lower", "not", anything else equal). A flag with an "or" attribute is held and becomes the
    // `eor` link of the next compare made, so "A or B" is one entry of the list; a chain still held
    // after the last child goes in as it is. Null when no compare was made.
    static std::unique_ptr<CompareList> ParseConditions(const XMLElement* element);
    // 1 when there is no list or every entry (with its or-links) holds.
    static int Holds(const CompareList* conditions);
};
