#pragma once
// Every file and atlas region the game loads by name, with the frame grid it cuts. The contact
// sheet outlines frames from this table and the content test checks the baked folder against it.
#include <cstddef>

namespace bake::manifest {

struct Picture {
    const char* path;  // under data/
    int frameWidth;    // 0: a single picture of any size
    int frameHeight;
    int frames;
    bool needsAlpha;
    bool exactSize;    // a single picture whose size the layout code fixes (frameWidth x frameHeight)
    int minWidth = 0;  // a single picture the layout needs at least this large
    int minHeight = 0;
};

// clang-format off
inline constexpr Picture kPictures[] = {
    {"graphics/Logo1.png", 0, 0, 1, true, false},
    {"graphics/Street.jpg", 0, 0, 1, false, false},
    {"graphics/Rays.png", 0, 0, 1, true, false, 1000, 1000},  // turning about the screen centre it must cover the corners
    {"graphics/Particle32x32.png", 0, 0, 1, true, false},
    {"graphics/Cloud01.png", 0, 0, 1, true, false},
    {"graphics/Cloud02.png", 0, 0, 1, true, false},
    {"graphics/OptionsIcons64x64.png", 64, 64, 3, true, false},
    {"graphics/Buttons01.png", 200, 96, 3, true, false},
    {"graphics/SuperheroU.jpg", 0, 0, 1, false, false},
    {"graphics/CharacterTimeMaster.png", 0, 0, 1, true, false},
    {"graphics/CharacterShadow.png", 0, 0, 1, true, false},
    {"graphics/ComicBorder.png", 0, 0, 1, true, false},
    {"graphics/Characters01.png", 256, 256, 4, true, false},
    {"graphics/Characters02.png", 256, 256, 4, true, false},
    {"graphics/Characters03.png", 256, 256, 2, true, false},
    {"graphics/Characters04.png", 256, 256, 4, true, false},
    {"graphics/Characters05.png", 256, 256, 3, true, false},
    {"graphics/Characters06.png", 256, 256, 4, true, false},
    {"graphics/Characters07.png", 256, 256, 6, true, false},
    {"graphics/Characters08.png", 256, 256, 3, true, false},
    {"graphics/Animals.png", 256, 256, 3, true, false},
    {"graphics/Act.jpg", 1000, 600, 1, false, true},
    {"graphics/Map.jpg", 0, 0, 1, false, false, 1160, 950},  // the map nodes reach (1124, 909)
    {"graphics/HeroMale1.png", 256, 256, 4, true, false},
    {"graphics/HeroMale2.png", 256, 256, 4, true, false},
    {"graphics/HeroFemale1.png", 256, 256, 4, true, false},
    {"graphics/HeroFemale2.png", 256, 256, 4, true, false},
    {"graphics/CharacterCreationColormap.png", 192, 192, 1, false, true},
    {"graphics/CharacterCreationGrid.png", 192, 192, 1, true, true},
    {"graphics/HeroSmall80x80.png", 80, 80, 4, true, false},
    {"graphics/Arena.jpg", 0, 0, 1, false, false},
    {"graphics/Cellar.jpg", 0, 0, 1, false, false},
    {"graphics/Classroom.jpg", 0, 0, 1, false, false},
    {"graphics/Federal.jpg", 0, 0, 1, false, false},
    {"graphics/Luxury.jpg", 0, 0, 1, false, false},
    {"graphics/CloudsBlue.jpg", 0, 0, 1, false, false},
    {"graphics/CloudsRed.jpg", 0, 0, 1, false, false},
    {"graphics/Road.jpg", 0, 0, 1, false, false},
    {"graphics/Square.jpg", 0, 0, 1, false, false},
    {"graphics/FXBall1.png", 0, 0, 1, true, false},
    {"graphics/FXBall2.png", 0, 0, 1, true, false},
    {"graphics/FXBall3.png", 0, 0, 1, true, false},
    {"graphics/FXBeam1.png", 0, 0, 1, true, false},
    {"graphics/FXBeam2.png", 0, 0, 1, true, false},
    {"graphics/FXBite1.png", 0, 0, 1, true, false},
    {"graphics/FXBite2.png", 0, 0, 1, true, false},
    {"graphics/FXBullet1.png", 0, 0, 1, true, false},
    {"graphics/FXConfusion1.png", 0, 0, 1, true, false},
    {"graphics/FXConfusion2.png", 0, 0, 1, true, false},
    {"graphics/FXFireArrow.png", 0, 0, 1, true, false},
    {"graphics/FXFist1.png", 0, 0, 1, true, false},
    {"graphics/FXIcicle.png", 0, 0, 1, true, false},
    {"graphics/FXKnife.png", 0, 0, 1, true, false},
    {"graphics/FXLightning1.png", 0, 0, 1, true, false},
    {"graphics/FXLightning2.png", 0, 0, 1, true, false},
    {"graphics/FXLightning3.png", 0, 0, 1, true, false},
    {"graphics/FXMentalBall1.png", 0, 0, 1, true, false},
    {"graphics/FXRender.png", 0, 0, 1, true, false},
    {"graphics/FrameSpeech.png", 0, 0, 1, true, false, 448, 128},  // it frames the 400-wide narration box
    {"graphics/FramePopup.png", 0, 0, 1, true, false, 816, 600},  // quarters cover the widest popup, the trophies
    {"graphics/FramePopupBright.png", 0, 0, 1, true, false, 400, 160},  // it frames the 320 x 80 slot cards
    {"graphics/Buttons02.png", 64, 64, 3, true, false},
    {"graphics/Arrow.png", 0, 0, 1, true, false},
    {"graphics/Icons02.png", 56, 56, 7, true, false},
    {"graphics/Signs128x128.png", 128, 128, 6, true, false},
    {"graphics/Medals44x85.png", 44, 85, 16, true, false},
    {"graphics/MinigameCar.png", 0, 0, 1, true, false},
    {"graphics/MinigameCar2.png", 0, 0, 1, true, false},
    {"graphics/MinigameCar3.png", 0, 0, 1, true, false},
    {"graphics/Tree.png", 0, 0, 1, true, false},
    {"graphics/TreeCat.png", 0, 0, 1, true, false},
    {"graphics/TreeCircle320x320.png", 320, 320, 2, true, false},
    {"graphics/DungeonTiles64x64.png", 64, 64, 6, true, false},
    {"graphics/Citizen01.png", 24, 32, 24, true, false},
    {"graphics/Citizen02.png", 24, 32, 24, true, false},
    {"graphics/Citizen03.png", 24, 32, 24, true, false},
    {"graphics/Citizen04.png", 24, 32, 24, true, false},
    {"graphics/Citizen05.png", 24, 32, 24, true, false},
    {"graphics/Citizen06.png", 24, 32, 8, true, false},
    {"graphics/Citizen07.png", 24, 32, 8, true, false},
    {"graphics/UpgradeIcons64x64.png", 64, 64, 4, true, false},
    {"graphics/UpgradeBar.png", 165, 40, 2, true, false},
    {"graphics/TileBg70x80.png", 70, 80, 2, true, false},
    {"graphics/Tiles64x64.png", 64, 64, 12, true, false},
    {"graphics/TileMarker.png", 0, 0, 1, true, false},
    {"graphics/TileMarker2.png", 0, 0, 1, true, false},
    {"graphics/TileMarker3.png", 0, 0, 1, true, false},
    {"graphics/Meters1.png", 86, 89, 6, true, false},
    {"graphics/HealthBar.png", 168, 32, 2, true, false},
    {"graphics/TimeBar.png", 168, 32, 2, true, false},
};

// Regions the code or the story names; `atlas` is set where the loader's check key binds it.
struct Region {
    const char* name;
    const char* atlas;  // "" = any of the three
};

inline constexpr Region kRegions[] = {
    {"MapScienceG", "Atlas01"}, {"Bubble", "Atlas02"}, {"LevelUpBgBig", "Atlas03"},
    {"MapScience", ""}, {"Corner", ""}, {"ProfileButton", ""}, {"ProfileButtonMenu", ""},
    {"ProfileButtonSettings", ""}, {"Bubble2", ""}, {"Clock", ""}, {"Back", ""}, {"Buttons03", ""},
    {"CharacterCreationLeft", ""}, {"CharacterCreationRight", ""}, {"LevelUpBgSmall", ""},
    {"LevelUpArrow", ""},
    {"LevelUpPhysical1", ""}, {"LevelUpPhysical2", ""}, {"LevelUpPhysical3", ""}, {"LevelUpPhysical4", ""},
    {"LevelUpPhysical5", ""}, {"LevelUpElemental1", ""}, {"LevelUpElemental2", ""}, {"LevelUpElemental3", ""},
    {"LevelUpElemental4", ""}, {"LevelUpElemental5", ""}, {"LevelUpMental1", ""}, {"LevelUpMental2", ""},
    {"LevelUpMental3", ""}, {"LevelUpMental4", ""}, {"LevelUpMental5", ""},
    {"LevelUpPhysical1s", ""}, {"LevelUpPhysical2s", ""}, {"LevelUpPhysical3s", ""}, {"LevelUpPhysical4s", ""},
    {"LevelUpPhysical5s", ""}, {"LevelUpElemental1s", ""}, {"LevelUpElemental2s", ""},
    {"LevelUpElemental3s", ""}, {"LevelUpElemental4s", ""}, {"LevelUpElemental5s", ""},
    {"LevelUpMental1s", ""}, {"LevelUpMental2s", ""}, {"LevelUpMental3s", ""}, {"LevelUpMental4s", ""},
    {"LevelUpMental5s", ""},
    {"TitleLogo", ""}, {"TitleButton1", ""}, {"TitleButton2", ""}, {"TitleButton3", ""}, {"TitleButton4", ""},
    {"OptionsBar", ""},
    // The story's places on the city map, each with its greyed twin, and the secret's picture.
    {"MapBase", ""}, {"MapBaseG", ""}, {"MapDocks", ""}, {"MapDocksG", ""}, {"MapGym", ""}, {"MapGymG", ""},
    {"MapLibrary", ""}, {"MapLibraryG", ""}, {"MapCannery", ""}, {"MapCanneryG", ""}, {"MapSquare", ""},
    {"MapSquareG", ""}, {"MapGazette", ""}, {"MapGazetteG", ""}, {"MapPark", ""}, {"MapParkG", ""},
    {"MapCityHall", ""}, {"MapCityHallG", ""}, {"MapStudio", ""}, {"MapStudioG", ""}, {"MapManor", ""},
    {"MapManorG", ""}, {"MapBurrow", ""}, {"MapBurrowG", ""}, {"MapFair", ""}, {"MapFairG", ""},
    {"MapTower", ""}, {"MapTowerG", ""},
    {"SnowGlobe", ""},
};

inline constexpr const char* kAtlases[] = {"Atlas01", "Atlas02", "Atlas03"};

inline constexpr const char* kSounds[] = {
    "Fireworks", "MouseOver", "Pop1", "Pop2", "Pop3", "Stunner", "Tick", "Tick2", "Click", "Collect",
    "FadeIn", "BaseUpgrade", "Building", "Cinematic", "EnemyCollect", "Fist2", "GameLose", "Cover", "Grab",
    "Gun", "OTick", "OTick2", "Siren", "electricshock", "Fire", "Lightning", "Rotate", "Sweep", "Swap",
    "Alert2", "Alert23", "Alert35", "Count", "Drop", "IntroEnd",
};

inline constexpr const char* kMusic[] = {
    "a_champions_call", "First Report Edit", "boys_will_be_boys", "theyre_after_me", "GameWin",
    "adventure", "unbreakable", "on_fire", "look_ahead", "we_can",
};

inline constexpr const char* kFonts[] = {
    "YikesH96", "YikesH64", "YikesH32", "YikesH24", "YikesH16", "Yikes32", "Yikes24", "Yikes16",
};
// The XML data files the game loads at start-up, each with the root element of an empty one. Until
// content/files holds a file, the baker writes that empty root in its place: the table loads with
// nothing in it and the game still starts.
struct DataFile {
    const char* path;  // under data/
    const char* root;
};

inline constexpr DataFile kDataFiles[] = {
    {"data/locations.xml", "locations"},
    {"data/quests.xml", "quests"},
    {"data/trophies.xml", "trophies"},
    {"data/upgrades.xml", "upgrades"},
};
// clang-format on

// The picture's entry, or nullptr.
inline const Picture* FindPicture(const char* path) {
    for (const Picture& p : kPictures) {
        const char* a = p.path;
        const char* b = path;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return &p;
    }
    return nullptr;
}

}  // namespace bake::manifest
