// The statistics upload of the running game against a real HTTP server on the loopback address:
// the id, the statistics line after a save, and the replies and servers it must survive.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "framework/main.hpp"
#include "model/data2.hpp"
#include "model/postdata.hpp"
#include "model/profile.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/loopback_server.hpp"
#include "tests/support/probe_screen.hpp"

using harness::LoopbackServer;

namespace {

class Statistics : public ::testing::Test {
  protected:
    void TearDown() override { ::unsetenv(PostData::kServerVariable); }

    // Starts the game (address "" = no server set) on a screen that runs the per-frame update as
    // every game screen does; a hero of act 2 waits in slot 0.
    void Start(const std::string& address) {
        if (address.empty()) {
            ::unsetenv(PostData::kServerVariable);
        } else {
            ::setenv(PostData::kServerVariable, address.c_str(), 1);
        }
        InitGlobals();
        Profile::InitGlobal();
        Profile::SetGlobalFlagInt("Fullscreen", 0);
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        for (auto [name, value] : {std::pair{"Flag.Act", 2},
                                   {"Attribute.Strength", 120},
                                   {"Attribute.Essence", 45},
                                   {"Attribute.Intelligence", 7},
                                   {"Resource.Money", 350},
                                   {"Resource.Reputation", 1200}}) {
            Profile::SetFlagInt(name, value);
        }
        h.WriteState(Profile::saveData->ToString());
        ASSERT_TRUE(h.Start());
        harness::StartProbe("game", 0, 0, 0)->onUpdate = [] { Data::Update(0); };
    }
    // Chooses the hero of slot 0, as the title screen does.
    static void PlaySlot0() {
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    }
    // Lets a minute of running time pass, then saves as the end of an action chain does; returns
    // the play time the save reported.
    std::string SaveAMinuteLater() {
        h.AdvanceClock(60000);
        EXPECT_TRUE(h.Step(2));
        const std::string played = std::to_string(Profile::GetFlagInt("TimePlayed"));
        Profile::Save(0);
        return played;
    }
    // Runs frames while the server's replies come in from its own thread.
    bool StepUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            if (!h.Step()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }
    std::filesystem::path IdFile() const {
        return std::filesystem::path(h.AppDataFolder()) / "Brallwick - Quellfast" / "id.txt";
    }
    std::string ReadIdFile() const {
        std::ostringstream text;
        text << std::ifstream(IdFile()).rdbuf();
        return text.str();
    }

    harness::Harness h;
};

const char* const kHero = "&device=windows&index=0&act=2&time=";
const char* const kFigures = "&strength=120&essence=45&intelligence=7&money=350&reputation=1200";

}  // namespace

TEST_F(Statistics, TheIdIsFetchedAndKeptAndAMinuteLaterASavePostsTheHerosFigures) {
    LoopbackServer server({LoopbackServer::Reply("OK:ab-12\r\n"), LoopbackServer::Reply("OK")});
    Start(server.Address() + "/");
    ASSERT_TRUE(StepUntil([] { return !Profile::GetGlobalFlagString("ID").empty(); }));
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "ab-12");
    EXPECT_EQ(ReadIdFile(), "ab-12\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("POST /api/scr.php HTTP/1.0\r\n", 0), 0u) << server.Requests()[0];
    EXPECT_EQ(server.Body(0), "action=id");

    PlaySlot0();
    Profile::Save(0);  // under a minute of running time: nothing is posted
    testing::internal::CaptureStdout();
    const std::string played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 2 && !postData->update_req; }));
    EXPECT_EQ(server.Body(1), "action=update&id=ab-12" + (kHero + played) + kFigures);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The next run finds the id in its file and asks for none.
    h.Stop();
    Start(server.Address());
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "ab-12");
    EXPECT_FALSE(postData->id_req);
}

TEST_F(Statistics, RefusalsHostileIdsSilenceAndFloodsAreSurvivedAndNothingLeaksIntoTheState) {
    // No address: one line says so and nothing is ever sent.
    testing::internal::CaptureStdout();
    Start("");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("BRALLWICK_SCORE_URL is not set"),
              std::string::npos);
    PlaySlot0();
    SaveAMinuteLater();
    EXPECT_FALSE(postData->id_req || postData->update_req);
    h.Stop();

    LoopbackServer server({LoopbackServer::Reply("DENIED" + std::string(5000, '!') + "\r\nsecond line"),
                           LoopbackServer::Reply("OK 7&index=2&money=999999|P|X"), "",
                           LoopbackServer::Reply(std::string(10 << 20, 'x')), LoopbackServer::Reply("OK")});
    // A refusal is printed (the start of its first line) and the id is asked for again at the next
    // start.
    testing::internal::CaptureStdout();
    Start(server.Address());
    ASSERT_TRUE(StepUntil([] { return !postData->id_req; }));
    const std::string refusal = testing::internal::GetCapturedStdout();
    EXPECT_EQ(refusal.rfind("DENIED!!!", 0), 0u) << refusal;
    EXPECT_LT(refusal.size(), 300u);
    EXPECT_EQ(refusal.find("second line"), std::string::npos);
    h.Stop();
    // An id that would add form fields or cut the save state's records is no id.
    Start(server.Address());
    ASSERT_TRUE(StepUntil([] { return !postData->id_req; }));
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
    EXPECT_FALSE(std::filesystem::exists(IdFile()));
    h.Stop();

    // Neither is such an id in the id file; the server that should replace it never answers,
    // and the game plays on until the request is given up.
    std::ofstream(IdFile()) << "42|P|X\n";
    Start(server.Address());
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 3; }));
    EXPECT_EQ(server.Body(2), "action=id");
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
    ASSERT_TRUE(h.Step(60));
    EXPECT_TRUE(postData->id_req);
    h.AdvanceClock(PostData::kTimeoutMs);
    ASSERT_TRUE(h.Step());
    EXPECT_FALSE(postData->id_req);

    // A 10 MB reply is cut off and fails with one short line; the statistics go out with an
    // empty id, and an id taken from an edited save cannot add fields of its own.
    PlaySlot0();
    testing::internal::CaptureStdout();
    std::string played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 4 && !postData->update_req; }));
    EXPECT_EQ(server.Body(3), "action=update&id=" + (kHero + played) + kFigures);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed, "");
    EXPECT_LT(printed.size(), 300u);
    Profile::SetGlobalFlagString("ID", "7&index=2 x");
    played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 5 && !postData->update_req; }));
    EXPECT_EQ(server.Body(4), "action=update&id=7%26index%3D2%20x" + (kHero + played) + kFigures);
    EXPECT_TRUE(h.Step());
}
