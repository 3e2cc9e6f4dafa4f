// Data's program-wide values: their initial values, what start-up gives them (the tween pool, the
// level table, the year) and the display settings taken from the player's global flags.
#include "model/data2.hpp"

#include <string>

#include "core/tween.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"

std::array<int, Data::kLevels> Data::levelTable{};
std::string Data::yearText;
// The virtual size before start-up has read the widescreen setting.
int Data::virtualWidth = 960;
int Data::virtualHeight = 640;
float Data::layoutScaleX = 4.0f / 3.0f;
float Data::layoutScaleY = 1.5f;
int Data::qualityOn = 0;
int Data::mapNamesOn = 0;
int Data::hintsOn = 0;
int Data::touchDevice = 0;
std::string Data::musicExtension = ".ogg";
std::string Data::soundExtension = ".ogg";
int Data::mouseHeld = 0;
float Data::mouseVX = 0;
float Data::mouseVY = 0;
int Data::backPressed = 0;
int Data::menuPressed = 0;
int Data::screenRotated = 0;
int64_t Data::curMillisecs = -1;
int64_t Data::prevMillisecs = -1;
bool Data::clockStarted = false;
int Data::frameMsInt = 0;
float Data::frameMs = 0;
float Data::trailTimer = 0;
std::vector<TweenItem> Data::tweenRegistry;
DataHooks Data::hooks;
bool Data::tweenWarned = false;

const std::array<int, 10> Data::textPalette = {0xffff80, 0xff80ff, 0xc0c0ff, 0xc0ffc0, 0xffc0c0,
                                               0x8080ff, 0x80ff80, 0xff8080, 0x80ffff, 0xc0ffff};

int Data::PaletteColour(int entry) {
    if (entry < 0 || entry >= static_cast<int>(textPalette.size())) return 0xffffff;
    return textPalette[static_cast<size_t>(entry)];
}

const std::array<const char*, 7> Data::exclamationAdjectives = {
    "Great", "Galloping", "Vicious", "Voluptuous", "Slobbering", "Silly", "Holy"};
const std::array<const char*, 5> Data::exclamationNouns = {"gadzooks", "mariachis", "gnomes of Zurich",
                                                           "pickled herrings", "thundering turnips"};

void Data::InitGlobals() {
    FillLevelTable();
    yearText.clear();
    virtualWidth = 960;
    virtualHeight = 640;
    layoutScaleX = 4.0f / 3.0f;
    layoutScaleY = 1.5f;
    qualityOn = mapNamesOn = hintsOn = 0;
    touchDevice = 0;
    musicExtension = soundExtension = ".ogg";
    mouseHeld = 0;
    mouseVX = mouseVY = 0;
    backPressed = menuPressed = screenRotated = 0;
    curMillisecs = prevMillisecs = -1;
    clockStarted = false;
    frameMsInt = 0;
    frameMs = 0;
    trailTimer = 0;
    tweenRegistry.clear();
    tweenWarned = false;
}

void Data::Init() {
    Tween::CacheTweens();
    yearText = std::to_string(platform::CurrentYear());
    FillLevelTable();
}

void Data::SetResolutionRatio() {
    touchDevice = 0;
    musicExtension = ".ogg";
    soundExtension = ".ogg";
    virtualWidth = Profile::GetGlobalFlagInt("Widescreen") == 1 ? 1000 : 800;
    virtualHeight = 600;
    layoutScaleX = 4.0f / 3.0f;
    layoutScaleY = 1.5f;
    qualityOn = Profile::GetGlobalFlagInt("Quality") == 1 ? 1 : 0;
    mapNamesOn = Profile::GetGlobalFlagInt("MapNames") == 1 ? 1 : 0;
    hintsOn = Profile::GetGlobalFlagInt("Hints") == 1 ? 1 : 0;
    if (Profile::GetGlobalFlagString("ID").empty()) hooks.requestStatisticsId.Run();
    hooks.clearTrophies.Run();
}
