// Dot particles: explosion sizes and lifetimes, durations of zero, and a pool that grows.
#include "gui/particles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "model/data2.hpp"

namespace {

class Dots : public ::testing::Test {
  protected:
    void SetUp() override {
        WireGame();
        InitGlobals();
        Particles::Init();
    }
    void TearDown() override { InitGlobals(); }

    // ms of frame time in frames of 10 ms.
    static void Run(int ms) {
        Data::frameMs = 10;
        for (int t = 0; t < ms; t += 10) Particles::Update();
    }
};

}  // namespace

TEST_F(Dots, ExplosionsMakeRingsAndSparksAndEndOnTime) {
    Data::qualityOn = 1;
    GUIParticleDot::CreateExplosion(100, 100, 10, 0xffffff, 0xffffff, nullptr);
    EXPECT_EQ(GUIParticleDot::InUse(), 2 + 11);
    Run(3000);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);

    Data::qualityOn = 0;
    GUIParticleDot::CreateExplosion(100, 100, 10, 0xffffff, 0xffffff, nullptr);
    EXPECT_EQ(GUIParticleDot::InUse(), 2 + 6);
    Run(3000);

    // A strong explosion is capped at 1500 ms: its sparks fade over that time after their wait
    // of 40 (about 533 ms), not over 3000.
    GUIParticleDot::CreateExplosion(100, 100, 200, 0xffffff, 0xffffff, nullptr);
    Run(1950);
    EXPECT_GT(GUIParticleDot::InUse(), 0);
    Run(150);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);
}

TEST_F(Dots, DurationsOfZeroOrLessEndAtOnceAndNothingLeaks) {
    GUIParticleDot::CreateExplosion(0, 0, 0, 0xffffff, 0xffffff, nullptr);
    GUIParticleDot::CreateBang(0, 0, -3, 0xffffff, 1.0f, nullptr);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);

    ParticleDotData* grow = GUIParticleDot::Create(0, 0, 4, 0xffffff, 0, 0, 0, 0);
    grow->SetScale(3.0f, 0);
    EXPECT_FLOAT_EQ(grow->scale, 3.0f);
    grow->SetScale(0.0f, -65535);
    Run(10);
    EXPECT_FALSE(grow->inUse);

    ParticleDotData* fade = GUIParticleDot::Create(0, 0, 4, 0xffffff, 0, 0, 0, 0);
    fade->FadeOut(0, 1);
    Run(20);
    EXPECT_FALSE(fade->inUse);

    // A dot fading over 1000 ms after a wait of 1 is still there at 900 ms, gone after 1020.
    ParticleDotData* trail = GUIParticleDot::Create(0, 0, 4, 0xffffff, 90, 1, 0.0075f, 0);
    trail->FadeOut(1000, 1);
    Run(900);
    EXPECT_TRUE(trail->inUse);
    EXPECT_GT(trail->y, 0);  // it drifted down
    Run(120);
    EXPECT_FALSE(trail->inUse);
}

TEST_F(Dots, MoreDotsThanThePoolHoldsGrowItWithOneLine) {
    testing::internal::CaptureStdout();
    for (int i = 0; i < GUIParticleDot::kPoolSize + 100; ++i) {
        GUIParticleDot::Create(i, 0, 4, 0xffffff, 0, 0, 0, 0)->FadeOut(100, 1);
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(GUIParticleDot::InUse(), GUIParticleDot::kPoolSize + 100);
    Run(300);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);
    // Freed dots are taken again from the lowest slot.
    EXPECT_EQ(GUIParticleDot::Create(0, 0, 4, 0, 0, 0, 0, 0), GUIParticleDot::At(0));
}

// Dots bound to the map end when the next screen starts: the map they would ask where it has
// scrolled to is gone or going. Dots of the screen itself fly on.
TEST_F(Dots, ANewScreenEndsTheDotsOfTheMapItReplaces) {
    struct Map : ParticleMap {
        float MapXP() const override { return 0; }
        float MapYP() const override { return 0; }
    };
    struct Next : GameScreen {
        Next() : GameScreen("Next") {}
        void Start() override { StartGui(); }
        void Update2() override {}
        void Render() override {}
    };
    auto map = std::make_unique<Map>();
    GUIParticleDot::CreateBang(10, 10, 5, 0xffffff, 1.0f, map.get());
    const int mapDots = GUIParticleDot::InUse();
    ASSERT_GT(mapDots, 0);
    GUIParticleDot::CreateBang(10, 10, 5, 0xffffff, 1.0f, nullptr);
    const int all = GUIParticleDot::InUse();
    map.reset();
    Next().Start();
    EXPECT_EQ(GUIParticleDot::InUse(), all - mapDots);
    for (int i = 0; i < GUIParticleDot::PoolSize(); ++i) {
        if (GUIParticleDot::At(i)->inUse) {
            EXPECT_EQ(GUIParticleDot::At(i)->map, nullptr);
        }
    }
}
