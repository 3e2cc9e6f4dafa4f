#pragma once
// Reading a data file's text as XML, and the line that names the file when the reader refuses it.
#include <memory>
#include <string>

#include "core/xml.hpp"

// The parsed document of `text`, read from the data file `path` ("data/act1.xml"). When the reader
// refuses the text, one line goes out first, "Error loading " + path + what is wrong with the file
// (see DataFileFault), and the reader's XMLParseException goes on to the caller unchanged: at
// start-up it ends the program, and its message cannot know the file.
std::unique_ptr<XMLDocument> ParseXMLFile(const std::string& path, const std::string& text);

// What is wrong with a data file whose text (`text`, as read from `path`) the game cannot use, in
// words a player or modder can act on: no data folder at all, the file missing, empty or
// unreadable, text of two bytes a character, or else the line a reader stopped at (`line`, 0 for
// none). Starts with ": " or " "; "" when there is nothing to add.
std::string DataFileFault(const std::string& path, const std::string& text, int line = 0);
