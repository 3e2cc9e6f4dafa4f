// The game's load list, loaded at once.
#include "tests/support/game_assets.hpp"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "model/profile.hpp"
#include "tests/support/game_art.hpp"

namespace harness {

namespace {

struct Anim {
    const char* file;
    int w, h, frames;
    bool mid;
};

constexpr Anim kAnims[] = {
    {"HeroMale1.png", 256, 256, 4, false},   {"HeroMale2.png", 256, 256, 4, false},
    {"HeroFemale1.png", 256, 256, 4, false}, {"HeroFemale2.png", 256, 256, 4, false},
    {"HeroSmall80x80.png", 80, 80, 4, false}, {"Buttons01.png", 200, 96, 3, false},
    {"Buttons02.png", 64, 64, 3, false},     {"Icons02.png", 56, 56, 7, false},
    {"Signs128x128.png", 128, 128, 6, false}, {"Medals44x85.png", 44, 85, 16, false},
    {"Citizen01.png", 24, 32, 24, true},     {"Citizen02.png", 24, 32, 24, true},
    {"Citizen03.png", 24, 32, 24, true},     {"Citizen04.png", 24, 32, 24, true},
    {"Citizen05.png", 24, 32, 24, true},     {"Citizen06.png", 24, 32, 8, true},
    {"Citizen07.png", 24, 32, 8, true},      {"Characters01.png", 256, 256, 4, false},
    {"Characters02.png", 256, 256, 4, false}, {"Characters03.png", 256, 256, 2, false},
    {"Characters04.png", 256, 256, 4, false}, {"Characters05.png", 256, 256, 3, false},
    {"UpgradeIcons64x64.png", 64, 64, 4, false}, {"UpgradeBar.png", 165, 40, 2, false},
    {"Tiles64x64.png", 64, 64, 12, false},   {"TileBg70x80.png", 70, 80, 2, false},
    {"Meters1.png", 86, 89, 6, false},       {"HealthBar.png", 168, 32, 2, false},
    {"TimeBar.png", 168, 32, 2, false},      {"DungeonTiles64x64.png", 64, 64, 6, false},
    {"Characters08.png", 256, 256, 3, false}, {"TreeCircle320x320.png", 320, 320, 2, true},
};

constexpr const char* kPictures[] = {"Act.jpg",       "Map.jpg",         "Arena.jpg",        "Cellar.jpg",
                                     "Classroom.jpg", "Federal.jpg",     "Luxury.jpg",       "SuperheroU.jpg",
                                     "CloudsBlue.jpg", "CloudsRed.jpg",  "FrameSpeech.png",  "FramePopup.png",
                                     "FramePopupBright.png", "Street.jpg",
                                     "Road.jpg",       "Square.jpg",      "Tree.png"};

}  // namespace

void LoadGameAssets() {
    for (int sound = 0; sound < Audio::kSoundCount; ++sound) {
        briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
    }
    for (const char* id : Fonts::Ids()) {
        auto font = std::make_unique<GlyphFont>();
        font->LoadFont(Fonts::FileFor(id));
        Fonts::Set(id, std::move(font));
    }
    ImageBank& images = *briskGame->images;
    for (const char* atlas : {"Atlas01.txt", "Atlas02.txt", "Atlas03.txt"}) images.LoadAtlas(atlas, 1);
    for (const char* file : kPictures) images.Load3(file);
    // The title's and the intro's pictures, loaded before the game's.
    images.Load3("Street.jpg");
    for (const char* file : {"Rays.png", "Particle32x32.png", "Cloud01.png", "Cloud02.png", "CharacterTimeMaster.png"})
        images.Load3(file, "", true);
    images.Load3("CharacterShadow.png");
    images.Load3("ComicBorder.png");
    images.LoadAnim2("OptionsIcons64x64.png", 64, 64, 3);
    images.Load3("Arrow.png", "", true);
    for (const char* file : {"MinigameCar.png", "MinigameCar2.png", "MinigameCar3.png", "TreeCat.png"})
        images.Load3(file, "", true);
    for (const Anim& a : kAnims) images.LoadAnim2(a.file, a.w, a.h, a.frames, nullptr, a.mid);
    LoadBattleBoardArt();
}

std::string DataRootWith(const std::string& folder,
                         const std::vector<std::pair<std::string, std::string>>& files) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(folder) / "root";
    const fs::path baked = fs::path(BRISK_DATA_ROOT) / "data";
    fs::create_directories(root / "data" / "data");
    for (const auto& entry : fs::directory_iterator(baked)) {
        const std::string name = entry.path().filename().string();
        if (name != "data") fs::create_symlink(entry.path(), root / "data" / name);
    }
    for (const auto& entry : fs::directory_iterator(baked / "data")) {
        fs::create_symlink(entry.path(), root / "data" / "data" / entry.path().filename());
    }
    for (const auto& [file, text] : files) {
        const fs::path path = root / "data" / "data" / file;
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << text;
    }
    return root.string();
}

void MakeHero(const char* name) {
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
    Profile::SetFlagString("Name", name);
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagInt("CharacterIcon", 0);
    Profile::SetFlagInt("Flag.Act", 1);
    Profile::SetFlagInt("Flag.ActShow", 1);
}

}  // namespace harness
