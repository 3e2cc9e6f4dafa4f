// Hero portraits: following the chosen body and drawing its coloured layers.
#include "gui/hero.hpp"

#include <array>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {

const std::string& PortraitKey() {
    static const std::string key = "CharacterPortrait";
    return key;
}

const std::array<std::string, 3>& ColourKeys() {
    static const std::array<std::string, 3> keys = {"CharacterColor1", "CharacterColor2", "CharacterColor3"};
    return keys;
}

// A body not (yet) in the bank draws nothing rather than stopping the game: the creation screen
// shows the portrait before a body is chosen.
GameImage* BodyPicture(const std::string& name) {
    if (name.empty() || briskGame == nullptr || !briskGame->images) return nullptr;
    return briskGame->images->Get(UpperKey(name));
}

}  // namespace

std::unique_ptr<GUIPool<GUIHero>> GUIHero::pool;

GUIHero* GUIHero::Create(float x, float y) {
    GUIHero* hero = pool->Get4(1);
    hero->Init5(x, y);
    return hero;
}

void GUIHero::Init5(float px, float py) {
    x = px;
    y = py;
    portrait = Profile::GetFlagString(PortraitKey());
    image = BodyPicture(portrait);
    SizeToPicture(image);
    flip = 0;
    Data::KillTweens(&alpha);
    alpha.value = 1.0f;
}

void GUIHero::FollowPortrait() {
    const FlagItem* flag = Profile::GetFlag(PortraitKey());
    static const std::string kNone;
    const std::string& now = flag ? flag->GetString() : kNone;
    if (now == portrait) return;
    portrait = now;
    image = BodyPicture(portrait);
}

void GUIHero::Render() {
    FollowPortrait();
    if (image == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const float s = scale.value;
    const float sx = flip ? -s : s;
    const float X = static_cast<float>(xadd) + x - (sx - 1) * static_cast<float>(w) * 0.5f;
    const float Y = static_cast<float>(yadd) + y - (s - 1) * static_cast<float>(h) * 0.5f;
    platform::SetColor(255, 255, 255);
    image->Draw2(X, Y, 0, sx, s, 0);
    // The layers are light-on-dark masks: added in a colour they tint the figure below.
    platform::SetBlend(1);
    for (int i = 1; i <= 3; ++i) {
        const int colour = Profile::GetFlagInt(ColourKeys()[static_cast<size_t>(i - 1)]);
        platform::SetColor(static_cast<float>((colour >> 16) & 0xff),
                           static_cast<float>((colour >> 8) & 0xff), static_cast<float>(colour & 0xff));
        image->Draw2(X, Y, 0, sx, s, i);
    }
    platform::SetBlend(0);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}
