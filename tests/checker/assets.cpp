// Pictures, sounds and music that the tables name. A picture is in the game's image bank when a
// file of that name lies in "graphics/" or a region of that name is cut from one of the atlases;
// bank names are upper-cased, so case does not matter.
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "core/strings.hpp"
#include "gui/animations.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogues.hpp"
#include "model/actionrefs.hpp"
#include "model/locations.hpp"
#include "tests/checker/checker.hpp"
#include "tests/content/content_check.hpp"

namespace checker {

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::set<std::string> BankPictures(const std::string& dataFolder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder + "graphics", error)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".png" || extension == ".jpg") names.insert(Upper(entry.path().stem().string()));
    }
    for (const char* atlas : {"Atlas01.txt", "Atlas02.txt", "Atlas03.txt"}) {
        const auto parsed =
            content_check::ParseAtlas(content_check::ReadText(dataFolder + "graphics/" + atlas));
        for (const auto& region : parsed.regions) names.insert(Upper(region.name));
    }
    return names;
}

class Assets {
  public:
    Assets(const std::string& dataFolder, std::vector<std::string>& out)
        : folder_(dataFolder), pictures_(BankPictures(dataFolder)), out_(out) {}

    void Picture(const std::string& file, const std::string& where, const std::string& name) {
        if (name.empty() || pictures_.count(Upper(name)) != 0) return;
        out_.push_back(file + ": " + where + " names picture \"" + name + "\", which the game does not have");
    }

    void Sound(const std::string& file, const std::string& where, int id) {
        const std::string name = Audio::SoundName(id);
        if (name.empty()) {
            out_.push_back(file + ": " + where + " plays sound " + std::to_string(id) +
                           ", which is no sound");
        } else if (!content_check::FileExists(folder_ + "sounds/" + name + ".ogg")) {
            out_.push_back(file + ": " + where + " plays sound \"" + name + "\", missing from sounds/");
        }
    }

    void Music(const std::string& file, const std::string& where, int id) {
        const std::string name = Audio::MusicName(id);
        if (name.empty()) {
            out_.push_back(file + ": " + where + " plays music " + std::to_string(id) +
                           ", which is no track");
        } else if (!content_check::FileExists(folder_ + "music/" + name + ".ogg")) {
            out_.push_back(file + ": " + where + " plays music \"" + name + "\", missing from music/");
        }
    }

    void Script(const std::string& file, const AnimationItem& item) {
        for (const AnimationElement& e : item.elements) {
            const std::string where = "\"" + item.id + "\" <" + e.type + ">";
            Picture(file, where, e.image);
            if (e.type == "sound") Sound(file, where, StringToInt(e.id));
            if (e.type == "music") Music(file, where, StringToInt(e.id));
        }
    }

  private:
    std::string folder_;
    std::set<std::string> pictures_;
    std::vector<std::string>& out_;
};

}  // namespace

void CheckPicturesAndSounds(const std::string& dataFolder, std::vector<std::string>& out) {
    Assets assets(dataFolder, out);
    ActionReferences::ForEachAction([&assets](const ActionItem& action, const std::string& where) {
        switch (action.Kind()) {
            case ActionKind::Job:
                assets.Picture(action.file, where, static_cast<const ActionItemJob&>(action).bg);
                break;
            case ActionKind::Training:
                assets.Picture(action.file, where, static_cast<const ActionItemTraining&>(action).bg);
                break;
            case ActionKind::Battle: {
                const auto& battle = static_cast<const ActionItemBattle&>(action);
                assets.Picture(action.file, where, battle.bg);
                assets.Picture(action.file, where, battle.image);
                if (battle.music >= 0) assets.Music(action.file, where, battle.music);
                break;
            }
            case ActionKind::Button:
                assets.Picture(action.file, where, static_cast<const ActionItemButton&>(action).image);
                break;
            default:
                break;
        }
    });
    for (const auto& location : Locations::locations) {
        const std::string where = "location \"" + location->id + "\"";
        assets.Picture(Locations::kFile, where, location->image);
        // The greyed button of a place not yet revealed.
        if (!location->image.empty()) assets.Picture(Locations::kFile, where, location->image + "G");
    }
    for (const auto& dialogue : DialogueList::dialogues) {
        for (const DialogueElement& step : dialogue->elements) {
            const std::string where = "dialogue \"" + dialogue->id + "\" <" + step.type + ">";
            if (step.type == "enter") assets.Picture(dialogue->file, where, step.image);
            if (step.type == "music") assets.Music(dialogue->file, where, StringToInt(step.id));
            if (step.type != "text") continue;
            for (auto open = step.text.find("<IMG:"); open != std::string::npos;
                 open = step.text.find("<IMG:", open + 1)) {
                const auto close = step.text.find('>', open);
                if (close == std::string::npos) break;
                assets.Picture(dialogue->file, where, step.text.substr(open + 5, close - open - 5));
            }
        }
    }
    for (const auto& animation : AnimationList::animations) assets.Script("animations/main.xml", *animation);
    for (const auto& effect : AnimationList::effects) assets.Script("animations/fx.xml", *effect);
}

}  // namespace checker
