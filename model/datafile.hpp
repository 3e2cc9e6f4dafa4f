#pragma once
// Reading one of the game's XML data files into its element tree, the one road every table of the
// model (locations, quests, trophies, upgrades) loads through.
#include <memory>
#include <string>

#include "core/xml.hpp"

// The parsed document of a data file ("data/quests.xml"). A missing file reads as empty text, which
// the parser rejects like any malformed file: the XMLParseException goes on to the caller (at
// start-up it ends the program), after one printed line "Error loading " + path that says which file
// was being read, since the parser's own message cannot know.
std::unique_ptr<XMLDocument> LoadDataFile(const std::string& path);

// One printed line about a data file that loaded but holds something the game cannot use:
// path + ": " + text.
void ReportDataProblem(const std::string& path, const std::string& text);
