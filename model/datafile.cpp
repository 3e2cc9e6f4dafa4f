// Reading one of the game's XML data files into its element tree.
#include "model/datafile.hpp"

#include "platform/app.hpp"
#include "platform/storage.hpp"

std::unique_ptr<XMLDocument> LoadDataFile(const std::string& path) {
    const std::string text = platform::LoadString(path);
    try {
        XMLParser parser;
        return parser.ParseString(text);
    } catch (const XMLParseException&) {
        platform::PrintLine("Error loading " + path);
        throw;
    }
}

void ReportDataProblem(const std::string& path, const std::string& text) {
    platform::PrintLine(path + ": " + text);
}
