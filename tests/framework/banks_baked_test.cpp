// Everything the build bakes into the data folder loads through the banks: every picture, every
// atlas with each of its regions, and every sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "tests/support/harness.hpp"

using harness::Harness;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FilesIn(const fs::path& folder, const std::set<std::string>& extensions) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file() && extensions.count(entry.path().extension().string()))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(BakedData, EveryPictureAtlasRegionAndSoundLoadsThroughTheBanks) {
    const fs::path data = fs::path(BRISK_DATA_ROOT) / "data";
    if (!fs::is_directory(data / "graphics")) GTEST_SKIP() << "no baked data folder at " << data;

    Harness h;
    ASSERT_TRUE(h.Start()) << h.LastReport();
    ImageBank& images = *briskGame->images;
    SoundBank& sounds = *briskGame->sounds;

    std::set<std::string> fileKeys;
    for (const std::string& file : FilesIn(data / "graphics", {".png", ".jpg"})) {
        GameImage* image = images.Load3(file);
        ASSERT_NE(image->image, nullptr) << file;
        EXPECT_GT(image->w, 0) << file;
        EXPECT_GT(image->h, 0) << file;
        fileKeys.insert(image->name);
    }

    int regions = 0;
    for (const std::string& atlas : FilesIn(data / "graphics", {".txt"})) {
        images.LoadAtlas(atlas, 1);
        ASSERT_NE(images.Get("_briskAtlas_" + UpperKey(atlas.substr(0, atlas.rfind('.')))), nullptr) << atlas;
    }
    for (const auto& [key, entry] : images.map) {
        if (entry->atlasName.empty()) continue;
        ++regions;
        // A region with a file's name would replace that picture for the rest of the run.
        EXPECT_EQ(fileKeys.count(key), 0u)
            << "region " << key << " of " << entry->atlasName << " hides a file";
        ASSERT_NE(entry->image, nullptr) << "region " << key << " of " << entry->atlasName;
        EXPECT_GT(entry->w, 0) << key;
        EXPECT_EQ(images.Find(key), entry.get());
    }
    if (!FilesIn(data / "graphics", {".txt"}).empty()) {
        EXPECT_GT(regions, 0);
    }

    for (const std::string& file : FilesIn(data / "sounds", {".ogg", ".wav"})) {
        GameSound* sound = sounds.Load5(file);
        EXPECT_NE(sound->sound, nullptr) << file;
        EXPECT_EQ(sounds.Find(file.substr(0, file.rfind('.'))), sound);
    }
    ASSERT_TRUE(h.Step());
}
