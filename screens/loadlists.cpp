// The three load lists: what the title needs, what the intro cutscene needs, and everything the
// city, its popups and the mini-games draw and play.
#include <utility>

#include "screens/loader.hpp"

void Loader::StartTitle() {
    items.push_back(LoadItem::CreateFont("YikesH32", "on", 1));
    items.push_back(LoadItem::CreateFont("Yikes16", "s", 1));
    items.push_back(LoadItem::CreateAnim("Buttons01.png", 200, 96, 3, 0, 1));
    items.push_back(LoadItem::CreateImage("Street.jpg", 0, 0));
    items.push_back(LoadItem::CreateImage("Rays.png", 1, 0));
    items.push_back(LoadItem::CreateImage("Particle32x32.png", 1, 0));
    items.push_back(LoadItem::CreateImage("Cloud01.png", 1, 0));
    items.push_back(LoadItem::CreateImage("Cloud02.png", 1, 0));
    items.push_back(LoadItem::CreateAnim("OptionsIcons64x64.png", 64, 64, 3, 0, 0));
    items.push_back(LoadItem::CreateAtlas("Atlas03.txt", "LevelUpBgBig", 0, 1));
    for (const char* sound : {"Fireworks", "MouseOver", "Building", "Click", "OTick", "FadeIn"})
        items.push_back(LoadItem::CreateSound(sound));
}

void Loader::StartIntro() {
    items.push_back(LoadItem::CreateFont("YikesH32", "on", 1));
    items.push_back(LoadItem::CreateImage("SuperheroU.jpg", 0, 0));
    items.push_back(LoadItem::CreateImage("CharacterTimeMaster.png", 1, 1));
    items.push_back(LoadItem::CreateImage("CharacterShadow.png", 0, 1));
    items.push_back(LoadItem::CreateImage("ComicBorder.png", 0, 0));
    items.push_back(LoadItem::CreateAnim("Buttons01.png", 200, 96, 3, 0, 1));
    for (const char* sound : {"Tick", "Tick2", "OTick", "OTick2"})
        items.push_back(LoadItem::CreateSound(sound));
    items.push_back(LoadItem::CreateAnim("Characters01.png", 256, 256, 4, 0, 1));
    items.push_back(LoadItem::CreateAnim("Characters02.png", 256, 256, 4, 0, 1));
    items.push_back(LoadItem::CreateAnim("Characters03.png", 256, 256, 2, 0, 1));
    items.push_back(LoadItem::CreateAnim("Characters04.png", 256, 256, 4, 0, 1));
    items.push_back(LoadItem::CreateAnim("Characters05.png", 256, 256, 3, 0, 1));
}

namespace {

struct Anim {
    const char* file;
    int w, h, frames, mid, cache;
};

struct Picture {
    const char* file;
    int mid, cache;
};

}  // namespace

void Loader::StartGame() {
    for (const char* sound :
         {"Click", "Fireworks",     "MouseOver", "Pop1",        "Pop2",     "Pop3",      "Tick",
          "Tick2", "Collect",       "FadeIn",    "BaseUpgrade", "Building", "Cinematic", "EnemyCollect",
          "Fist2", "GameLose",      "Grab",      "Gun",         "OTick",    "OTick2",    "Siren",
          "Cover", "electricshock", "Fire",      "Lightning",   "Rotate",   "Stunner",   "Sweep",
          "Swap",  "Alert2",        "Alert23",   "Alert35",     "Count",    "Drop",      "IntroEnd"})
        items.push_back(LoadItem::CreateSound(sound));

    const std::pair<const char*, const char*> fonts[] = {
        {"YikesH96", "oxb"}, {"YikesH64", "ob"}, {"YikesH32", "on"}, {"YikesH24", "os"},
        {"YikesH16", "oxs"}, {"Yikes32", "b"},   {"Yikes24", "n"},   {"Yikes16", "s"}};
    for (const auto& [file, id] : fonts) items.push_back(LoadItem::CreateFont(file, id, 1));

    items.push_back(LoadItem::CreateImage("Act.jpg", 0, 0));
    items.push_back(LoadItem::CreateAtlas("Atlas01.txt", "MapScienceG", 0, 1));
    items.push_back(LoadItem::CreateAtlas("Atlas02.txt", "Bubble", 0, 1));
    items.push_back(LoadItem::CreateAtlas("Atlas03.txt", "LevelUpBgBig", 0, 1));
    items.push_back(LoadItem::CreateImage("Map.jpg", 0, 1));
    for (const char* hero : {"HeroMale1.png", "HeroMale2.png", "HeroFemale1.png", "HeroFemale2.png"})
        items.push_back(LoadItem::CreateAnim(hero, 256, 256, 4, 0, 1));
    items.push_back(LoadItem::CreateImage("CharacterCreationColormap.png", 0, 0));
    items.push_back(LoadItem::CreateImage("CharacterCreationGrid.png", 0, 0));
    items.push_back(LoadItem::CreateAnim("HeroSmall80x80.png", 80, 80, 4, 0, 1));
    for (const char* backdrop :
         {"Arena.jpg", "Cellar.jpg", "Classroom.jpg", "Federal.jpg", "Luxury.jpg", "Street.jpg",
          "SuperheroU.jpg", "CloudsBlue.jpg", "CloudsRed.jpg", "Road.jpg", "Square.jpg"})
        items.push_back(LoadItem::CreateImage(backdrop, 0, 0));

    static const Picture effects[] = {
        {"FXBall1.png", 1, 0},         {"FXBall2.png", 1, 0},      {"FXBall3.png", 1, 0},
        {"FXBeam1.png", 1, 0},         {"FXBeam2.png", 1, 0},      {"FXBite1.png", 1, 0},
        {"FXBite2.png", 1, 0},         {"FXBullet1.png", 1, 0},    {"FXConfusion1.png", 1, 0},
        {"FXConfusion2.png", 1, 0},    {"FXFireArrow.png", 1, 0},  {"FXFist1.png", 1, 0},
        {"FXIcicle.png", 1, 0},        {"FXKnife.png", 1, 0},      {"FXLightning1.png", 1, 0},
        {"FXLightning2.png", 1, 0},    {"FXLightning3.png", 0, 0}, {"FXMentalBall1.png", 1, 0},
        {"FXRender.png", 1, 0},        {"FrameSpeech.png", 0, 1},  {"FramePopup.png", 0, 0},
        {"FramePopupBright.png", 0, 0}};
    for (const Picture& p : effects) items.push_back(LoadItem::CreateImage(p.file, p.mid, p.cache));

    items.push_back(LoadItem::CreateAnim("Buttons01.png", 200, 96, 3, 0, 1));
    items.push_back(LoadItem::CreateAnim("Buttons02.png", 64, 64, 3, 0, 1));
    items.push_back(LoadItem::CreateImage("Arrow.png", 1, 0));
    items.push_back(LoadItem::CreateAnim("Icons02.png", 56, 56, 7, 0, 0));
    items.push_back(LoadItem::CreateAnim("Signs128x128.png", 128, 128, 6, 0, 0));
    items.push_back(LoadItem::CreateAnim("Medals44x85.png", 44, 85, 16, 0, 0));
    for (const char* car : {"MinigameCar.png", "MinigameCar2.png", "MinigameCar3.png"})
        items.push_back(LoadItem::CreateImage(car, 1, 0));
    items.push_back(LoadItem::CreateImage("Tree.png", 0, 0));
    items.push_back(LoadItem::CreateImage("TreeCat.png", 1, 0));

    static const Anim sheets[] = {
        {"TreeCircle320x320.png", 320, 320, 2, 1, 0}, {"DungeonTiles64x64.png", 64, 64, 6, 0, 0},
        {"Citizen01.png", 24, 32, 24, 1, 1},          {"Citizen02.png", 24, 32, 24, 1, 1},
        {"Citizen03.png", 24, 32, 24, 1, 1},          {"Citizen04.png", 24, 32, 24, 1, 1},
        {"Citizen05.png", 24, 32, 24, 1, 1},          {"Citizen06.png", 24, 32, 8, 1, 1},
        {"Citizen07.png", 24, 32, 8, 1, 1},           {"Characters01.png", 256, 256, 4, 0, 1},
        {"Characters02.png", 256, 256, 4, 0, 1},      {"Characters03.png", 256, 256, 2, 0, 1},
        {"Characters04.png", 256, 256, 4, 0, 1},      {"Characters05.png", 256, 256, 3, 0, 1},
        {"Characters06.png", 256, 256, 4, 0, 0},      {"Characters07.png", 256, 256, 6, 0, 0},
        {"Characters08.png", 256, 256, 3, 0, 0},      {"Animals.png", 256, 256, 3, 0, 0},
        {"UpgradeIcons64x64.png", 64, 64, 4, 0, 0},   {"UpgradeBar.png", 165, 40, 2, 0, 0},
        {"TileBg70x80.png", 70, 80, 2, 0, 0},         {"Tiles64x64.png", 64, 64, 12, 0, 0}};
    for (const Anim& a : sheets)
        items.push_back(LoadItem::CreateAnim(a.file, a.w, a.h, a.frames, a.mid, a.cache));

    for (const char* marker : {"TileMarker.png", "TileMarker2.png", "TileMarker3.png"})
        items.push_back(LoadItem::CreateImage(marker, 1, 1));
    items.push_back(LoadItem::CreateAnim("Meters1.png", 86, 89, 6, 0, 0));
    items.push_back(LoadItem::CreateAnim("HealthBar.png", 168, 32, 2, 0, 1));
    items.push_back(LoadItem::CreateAnim("TimeBar.png", 168, 32, 2, 0, 1));
}
