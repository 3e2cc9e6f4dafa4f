#include "tests/support/data_copy.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace harness {

namespace fs = std::filesystem;

DataCopy::DataCopy() {
    std::string pattern = (fs::temp_directory_path() / "brallwick-data-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a temporary folder");
    root_ = buffer.data();
    const fs::path baked = fs::path(BRISK_DATA_ROOT) / "data";
    const fs::path copy = fs::path(root_) / "data";
    fs::create_directories(copy);
    for (const auto& entry : fs::directory_iterator(baked)) {
        const fs::path target = copy / entry.path().filename();
        const std::string name = entry.path().filename().string();
        if (name == "data" || name == "dialogues" || name == "animations") {
            fs::copy(entry.path(), target, fs::copy_options::recursive);
        } else {
            fs::create_symlink(entry.path(), target);
        }
    }
}

DataCopy::~DataCopy() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string DataCopy::Read(const std::string& file) const {
    std::ifstream in(fs::path(root_) / "data" / file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void DataCopy::OwnFolders(const std::string& file) const {
    // A folder linked to the baked one becomes a folder of links to its files, so a file damaged
    // in it is the copy's own and the baked data stays whole.
    fs::path folder = fs::path(root_) / "data";
    const fs::path within = fs::path(file).parent_path();
    for (const fs::path& part : within) {
        folder /= part;
        if (!fs::is_symlink(folder)) continue;
        const fs::path baked = fs::read_symlink(folder);
        fs::remove(folder);
        fs::create_directory(folder);
        for (const auto& entry : fs::directory_iterator(baked))
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
}

void DataCopy::Write(const std::string& file, const std::string& text) const {
    OwnFolders(file);
    const fs::path path = fs::path(root_) / "data" / file;
    std::error_code ignored;
    fs::remove(path, ignored);  // a link to the baked file is replaced, never written through
    std::ofstream(path, std::ios::binary) << text;
}

void DataCopy::Remove(const std::string& file) const {
    OwnFolders(file);
    std::error_code ignored;
    fs::remove(fs::path(root_) / "data" / file, ignored);
}

bool DataCopy::Replace(const std::string& file, const std::string& from, const std::string& to) const {
    std::string text = Read(file);
    const auto at = text.find(from);
    if (at == std::string::npos) return false;
    Write(file, text.replace(at, from.size(), to));
    return true;
}

}  // namespace harness
