#include "tests/support/game_art.hpp"

#include <memory>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"

namespace harness {

void LoadBattleBoardArt() {
    auto& images = *briskGame->images;
    for (const char* file : {"TileMarker.png", "TileMarker2.png", "TileMarker3.png"}) images.Load3(file, "", true);
    // The battle effects' pictures, held by their middle but for the lightning that strikes down.
    for (const char* file : {"FXBall1.png", "FXBall2.png", "FXBall3.png", "FXBeam1.png", "FXBeam2.png",
                             "FXBite1.png", "FXBite2.png", "FXBullet1.png", "FXConfusion1.png", "FXConfusion2.png",
                             "FXFireArrow.png", "FXFist1.png", "FXIcicle.png", "FXKnife.png", "FXLightning1.png",
                             "FXLightning2.png", "FXMentalBall1.png", "FXRender.png"})
        images.Load3(file, "", true);
    images.Load3("FXLightning3.png");
}

void LoadPuzzleArt() {
    for (const char* id : Fonts::Ids()) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
    auto& images = *briskGame->images;
    struct Anim {
        const char* file;
        int w, h, frames;
    };
    for (const Anim& a : {Anim{"TileBg70x80.png", 70, 80, 2}, Anim{"Tiles64x64.png", 64, 64, 12},
                          Anim{"Meters1.png", 86, 89, 6}, Anim{"TimeBar.png", 168, 32, 2},
                          Anim{"Icons02.png", 56, 56, 7}, Anim{"Buttons01.png", 200, 96, 3},
                          Anim{"Characters01.png", 256, 256, 4}, Anim{"Characters02.png", 256, 256, 4},
                          Anim{"HealthBar.png", 168, 32, 2}, Anim{"HeroMale1.png", 256, 256, 4}})
        images.LoadAnim2(a.file, a.w, a.h, a.frames);
    images.Load3("Particle32x32.png", "", true);
    LoadBattleBoardArt();
    for (const char* file : {"FramePopup.png", "FrameSpeech.png", "Street.jpg", "Arena.jpg", "Arrow.png"}) images.Load3(file);
    images.LoadAtlas("Atlas02.txt", 1);
    for (int sound = 0; sound < Audio::kSoundCount; ++sound)
        briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
}

void LoadDistressArt() {
    LoadPuzzleArt();
    auto& images = *briskGame->images;
    struct Anim {
        const char* file;
        int w, h, frames;
        bool mid;
    };
    for (const Anim& a :
         {Anim{"Signs128x128.png", 128, 128, 6, false}, Anim{"Characters08.png", 256, 256, 3, false},
          Anim{"HeroSmall80x80.png", 80, 80, 4, false}, Anim{"TreeCircle320x320.png", 320, 320, 2, true},
          Anim{"Citizen01.png", 24, 32, 24, true}, Anim{"Citizen02.png", 24, 32, 24, true},
          Anim{"Citizen03.png", 24, 32, 24, true}, Anim{"Citizen04.png", 24, 32, 24, true},
          Anim{"Citizen05.png", 24, 32, 24, true}})
        images.LoadAnim2(a.file, a.w, a.h, a.frames, nullptr, a.mid);
    for (const char* file : {"MinigameCar.png", "MinigameCar2.png", "MinigameCar3.png", "TreeCat.png"})
        images.Load3(file, "", true);
    for (const char* file : {"Road.jpg", "Square.jpg", "Tree.png"}) images.Load3(file);
}

}  // namespace harness
