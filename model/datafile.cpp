// Reading one of the game's XML data files into its element tree.
#include "model/datafile.hpp"

#include "core/xmlfile.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

std::unique_ptr<XMLDocument> LoadDataFile(const std::string& path) {
    return ParseXMLFile(path, platform::LoadString(path));
}

void ReportDataProblem(const std::string& path, const std::string& text) {
    platform::PrintLine(path + ": " + text);
}
