// The title screen.
#include "screens/title.hpp"

#include <string>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/particle.hpp"
#include "gui/particledot.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/trophies.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "screens/character.hpp"
#include "screens/loadscreen.hpp"
#include "screens/options.hpp"

int characterStep = 0;
int startChosen = 0;
int openCreation = 0;
int confirmPending = 0;
int introShown = 0;
int logoHideRequest = 0;

namespace {

constexpr int kWhite = 0xffffff;

// The buttons in the order they appear, with their pictures.
struct TitleButtonKind {
    const char* name;
    const char* image;
};
constexpr TitleButtonKind kButtons[] = {{"play", "TitleButton1"},
                                        {"trophies", "TitleButton3"},
                                        {"options", "TitleButton2"},
                                        {"exit", "TitleButton4"}};

void HideMenu() {
    GUIList::FadeOut("button", "");
    GUIList::FadeOut("version", "");
}

}  // namespace

void TitleScreen::InitGlobals() {
    characterStep = startChosen = openCreation = confirmPending = introShown = logoHideRequest = 0;
}

int TitleCallback::Call(GUIItem* sender) {
    if (sender == nullptr || sender->id != "button") return 0;
    if (sender->name == "exit") {
        platform::EndApp();
    } else if (sender->name == "play") {
        characterStep = 1;
        HideMenu();
    } else if (sender->name == "trophies") {
        HideMenu();
        logoHideRequest = 1;
        Trophies::ShowPopup();
    } else if (sender->name == "options") {
        HideMenu();
        logoHideRequest = 1;
        Options::InitOptions();
    }
    return 0;
}

TitleScreen::TitleScreen() : GameScreen("Title") {}

TitleScreen::~TitleScreen() {
    Data::KillTweens(&alpha);
    Data::KillTweens(&logoAlpha);
    Data::KillTweens(&logoScale);
}

void TitleScreen::Start() {
    StartGui();
    Audio::PlaySound(10, 1.0f);
    characterStep = openCreation = startChosen = confirmPending = introShown = 0;
    Profile::currentSlot = -1;
    ImageBank& images = *briskGame->images;
    logo = images.Find("TitleLogo");
    bg = images.Find("Street");
    rays = images.Find("Rays");
    UpdatePos();
    Data::AddTween(&alpha, 2500, alpha.value, 1.0f);
    wait = 1000;
}

void TitleScreen::UpdatePos() {
    lx = TruncToInt(static_cast<float>(Data::virtualWidth) * 0.5f);
    const bool tall = Data::virtualHeight > Data::virtualWidth || Data::virtualHeight > 480;
    ly = TruncToInt(static_cast<float>(logo->h) * (tall ? 0.65f : 0.5f));
}

void TitleScreen::UpdateButtons() {
    const float vw = static_cast<float>(Data::virtualWidth);
    const float vh = static_cast<float>(Data::virtualHeight);
    const float cx = static_cast<float>(TruncToInt(vw * 0.5f));
    const bool wide = Data::virtualWidth > Data::virtualHeight;
    const float cy = static_cast<float>(TruncToInt(vh * (wide ? 0.45f : 0.35f)));
    // Offsets in button widths and heights, landscape then portrait.
    struct Place {
        float wx, hy, tallWx, tallHy;
    };
    constexpr Place kPlaces[] = {{-1.2f, 0, -0.8f, 0.25f},
                                 {0.15f, 0.5f, 0, 1.25f},
                                 {-0.85f, 1.25f, -0.8f, 2.25f},
                                 {0.8f, 2, -0.5f, 4.25f}};
    for (int i = 0; i < 4; ++i) {
        GUIItem* b = GUIList::Get("button", kButtons[i].name);
        if (!b) continue;
        const Place& p = kPlaces[i];
        const float w = static_cast<float>(b->w);
        const float h = static_cast<float>(b->h);
        b->x = cx + (wide ? p.wx : p.tallWx) * w;
        b->y = cy + (wide ? p.hy : p.tallHy) * h;
    }
}

void TitleScreen::CheckRotate() {
    if (!Data::screenRotated) return;
    UpdatePos();
    GUIList::ModifyPos2(GUIList::Get("version", "text"), kAlignLeft, kAlignBottom);
    GUIList::ModifyPos2(GUIList::Get("character", ""), kAlignCentre,
                        Data::virtualWidth > Data::virtualHeight ? kAlignCentre : kAlignBottom);
    for (const char* popup : {"options", "select", "popup"})
        GUIList::ModifyPos2(GUIList::Get(popup, ""), kAlignCentre, kAlignCentre);
    if (GUIList::Get("options", "trophies")) Data::backPressed = 1;
    UpdateButtons();
}

void TitleScreen::MakeCloud() {
    cloudCounter = platform::Rnd(10000.0f, 12000.0f);
    const bool first = TruncToInt(cloudCounter) % 2 == 0;
    const int y = first ? TruncToInt(platform::Rnd(0.0f, 80.0f)) : TruncToInt(platform::Rnd(0.0f, 60.0f));
    GUIParticle* cloud = GUIParticle::Create(0, y, first ? "Cloud01" : "Cloud02", "", nullptr, kWhite);
    cloud->px.value -= static_cast<float>(cloud->w);
    cloud->x = cloud->px.value;
    cloud->id = "cloud";
    cloud->Move2(0, platform::Rnd(0.2f, 0.35f));
    cloud->FadeOut(100, 20000);
    cloud->alpha.value = 0.35f;
    GUIList::Add(cloud, 0);
}

void TitleScreen::ShowLogo() {
    Data::KillTweens(&logoAlpha);
    Data::KillTweens(&logoScale);
    Data::AddTween(&logoAlpha, 1000, logoAlpha.value, 1.0f);
    Data::AddTween(&logoScale, 650, logoScale.value, 1.0f);
}

void TitleScreen::BurstLogo() {
    Audio::PlayMusic(0);
    Audio::PlaySound(0, 1.0f);
    introShown = 1;
    GUIParticleDot::CreateExplosion(lx, ly, 128, 0xffc0c0, 0xff8080, nullptr);
    GUIParticleDot::CreateBang(lx, ly, 24, kWhite, 0.4f, nullptr);
    GUIParticleDot::CreateBang(lx, ly, 32, kWhite, 0.6f, nullptr);
    ShowLogo();
    wait = 500;
}

bool TitleScreen::UpdatePopups() {
    if (GUIList::Get("character", "")) {
        CharacterCreation::Update();
        return true;
    }
    if (GUIList::Get("select", "")) {
        if (Data::backPressed) {
            Data::backPressed = 0;
            GUIList::FadeOut("select", "");
            GUIList::Resume();
            startChosen = openCreation = confirmPending = characterStep = 0;
            Audio::PlayMusic(0);
            ShowLogo();
        }
        return true;
    }
    if (GUIList::Get("popup", "")) {
        if (Data::backPressed) {
            Data::backPressed = 0;
            GUIList::FadeOut("popup", "");
            GUIList::Resume();
            startChosen = openCreation = confirmPending = 0;
            characterStep = 1;
        }
        return true;
    }
    if (GUIList::Get("options", "")) {
        if (Data::backPressed) {
            Data::backPressed = 0;
            GUIList::FadeOut("options", "");
            GUIList::Resume();
        }
        return true;
    }
    return false;
}

void TitleScreen::UpdateCharacterStep() {
    Data::KillTweens(&logoAlpha);
    logoAlpha.value = 0;
    if (startChosen) {
        startChosen = openCreation = characterStep = 0;
        Audio::StopMusic();
        Data::ExitScreen(LoadScreen::LoadScreen_new(Profile::GetFlagInt("Flag.Act") == 0 ? "intro" : "game"),
                         35);
    } else if (openCreation) {
        CharacterCreation::InitCharacterCreation();
    } else if (!confirmPending) {
        CharacterCreation::SelectCharacter();
    }
}

void TitleScreen::BuildUp() {
    if (Data::backPressed) platform::EndApp();
    if (!GUIList::Get("version", "text")) {
        GUIText* version = GUIText::Create(0, 0, "Brallwick: Quellfast v1.0.5", Fonts::Get("oxs"), kWhite);
        version->id = "version";
        version->name = "text";
        version->padX = version->padY = 4;
        GUIList::AddLast(version, kAlignLeft, kAlignBottom);
    }
    for (const TitleButtonKind& kind : kButtons) {
        if (GUIList::Get("button", kind.name)) continue;
        GUIButton* b = GUIButton::Create(0, 0, kind.image, &callback);
        b->id = "button";
        b->name = kind.name;
        GUIList::AddLast(b);
        UpdateButtons();
        wait = 250;
        return;
    }
}

void TitleScreen::Update2() {
    CheckRotate();
    UpdateGui();
    counter += Data::frameMs;
    if (wait > 0) {
        wait -= Data::frameMs;
        return;
    }
    cloudCounter -= Data::frameMs;
    if (cloudCounter <= 0) MakeCloud();
    if (logoHideRequest) {
        logoHideRequest = 0;
        Data::KillTweens(&logoAlpha);
        Data::AddTween(&logoAlpha, 250, logoAlpha.value, 0.0f);
    }
    if (!introShown) {
        BurstLogo();
        return;
    }
    if (UpdatePopups()) return;
    if (logoAlpha.value == 0) {
        Data::KillTweens(&logoAlpha);
        Data::AddTween(&logoAlpha, 1000, logoAlpha.value, 1.0f);
    }
    if (characterStep) {
        UpdateCharacterStep();
        return;
    }
    BuildUp();
}

void TitleScreen::Render() {
    platform::Cls(0, 0, 0);
    platform::SetAlpha(alpha.value);
    const float vw = static_cast<float>(Data::virtualWidth);
    const float vh = static_cast<float>(Data::virtualHeight);
    const float s = bg->h == Data::virtualHeight ? 1.0f : vh / static_cast<float>(bg->h);
    bg->Draw2((vw - s * static_cast<float>(bg->w)) / 2, 0, 0, s, s);
    if (Data::qualityOn) {
        const float raysScale = Data::virtualWidth <= 800 ? 1.0f : vw / 800.0f;
        rays->Draw2(vw * 0.5f, vh * 0.5f, counter * 0.0025f, raysScale, raysScale);
    }
    if (logoAlpha.value > 0) {
        platform::SetAlpha(logoAlpha.value);
        const float ls = logoScale.value;
        logo->Draw2(static_cast<float>(lx) - static_cast<float>(logo->w) * ls * 0.5f,
                    static_cast<float>(ly) - static_cast<float>(logo->h) * ls * 0.5f, 0, ls, ls);
    }
    platform::SetAlpha(1.0f);
    RenderGui();
    if (GUIList::Get("character", "")) CharacterCreation::UpdateRender();
}
