// Reading a data file's text as XML, and the line that names the file when the reader refuses it.
#include "core/xmlfile.hpp"

#include <filesystem>
#include <system_error>

#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace {

// Text saved as UTF-16 starts with its byte-order mark, or (without one) shows a zero byte beside
// each of its first characters. The reader takes it for text of one byte a character and trips
// over the zeros.
bool LooksLikeUtf16(const std::string& text) {
    if (text.size() < 2) return false;
    const auto b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
    return (b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF) || b0 == 0 || b1 == 0;
}

// Where a path of the file system leads, from the root, for a line a player can follow.
std::string Whole(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path whole = std::filesystem::absolute(path, ignored).lexically_normal();
    std::string text = ignored ? path : whole.string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::string DataFileFault(const std::string& path, const std::string& text, int line) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (text.empty()) {
        const std::string folder = platform::MapPath(platform::DataPath(""));
        if (!folder.empty() && !fs::is_directory(folder, ignored))
            return ": there is no data folder (" + Whole(folder) +
                   "): start the game from the folder that holds it";
        const std::string file = platform::MapPath(platform::DataPath(path));
        if (!platform::DataFileExists(path)) return ": the file is missing (" + Whole(file) + ")";
        const auto size = fs::file_size(file, ignored);
        if (!ignored && size > 0) return ": the file (" + std::to_string(size) + " bytes) could not be read";
        return ": the file is empty";
    }
    if (LooksLikeUtf16(text))
        return ": the file is saved as UTF-16 text; the game reads text of one byte a character (save it as "
               "UTF-8)";
    return line > 0 ? " at line " + std::to_string(line) : "";
}

std::unique_ptr<XMLDocument> ParseXMLFile(const std::string& path, const std::string& text) {
    XMLParser parser;
    try {
        return parser.ParseString(text);
    } catch (const XMLParseException& e) {
        platform::PrintLine("Error loading " + path + DataFileFault(path, text, parser.FailLine()) + " - " +
                            e.Message());
        throw;
    }
}
