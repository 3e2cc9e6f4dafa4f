#pragma once
// Shared plumbing of the baker: a straight-alpha RGBA picture, errors, files and hashing.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bake {

// Thrown by every bake step on bad input; the driver prefixes the source file it was working on.
struct BakeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// 8-bit RGBA, NOT premultiplied, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0) {}
    std::uint8_t* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const std::uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

std::string ReadFile(const std::string& path);
// Writes through a temporary file and a rename, so a failed bake never leaves a half-written output.
void WriteFileAtomic(const std::string& path, const std::string& bytes);
// A path next to `path` to write into before renaming it into place.
std::string TempPathFor(const std::string& path);
void CommitTemp(const std::string& tempPath, const std::string& path);

// FNV-1a, 64 bit: stable across runs and machines, good enough to notice edits.
struct Hasher {
    std::uint64_t value = 1469598103934665603ull;
    void Add(const void* data, size_t size);
    void Add(const std::string& s) {
        Add(s.data(), s.size());
        Add("\0", 1);
    }
    std::string Hex() const;
};

}  // namespace bake
