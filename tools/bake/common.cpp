#include "tools/bake/common.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace bake {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BakeError("cannot read " + path);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string TempPathFor(const std::string& path) {
    std::ostringstream name;
    name << path << ".tmp" << std::this_thread::get_id();
    return name.str();
}

void CommitTemp(const std::string& tempPath, const std::string& path) {
    std::error_code ec;
    std::filesystem::rename(tempPath, path, ec);
    if (ec) {
        std::filesystem::remove(tempPath, ec);
        throw BakeError("cannot write " + path);
    }
}

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    const std::string temp = TempPathFor(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw BakeError("cannot write " + temp);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw BakeError("cannot write " + temp);
    }
    CommitTemp(temp, path);
}

void Hasher::Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        value ^= bytes[i];
        value *= 1099511628211ull;
    }
}

std::string Hasher::Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace bake
