// The statistics upload of the running game against a real HTTP server on the loopback address:
// the id, the statistics line after a save, and the replies and servers it must survive.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "model/data2.hpp"
#include "model/postdata.hpp"
#include "model/profile.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/loopback_server.hpp"
#include "tests/support/probe_screen.hpp"

using harness::LoopbackServer;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// The hero's statistics around its play time.
std::string Figures(const std::string& played) {
    return "&device=windows&index=0&act=2&time=" + played +
           "&strength=120&essence=45&intelligence=7&money=350&reputation=1200";
}

class Statistics : public ::testing::Test {
  protected:
    void TearDown() override { ::unsetenv(PostData::kServerVariable); }

    // Starts the game with the hero of act 2 in slot 0 chosen, on a screen that runs the
    // per-frame update as every game screen does; address "" = none set.
    void Start(const std::string& address) {
        ::unsetenv(PostData::kServerVariable);
        if (!address.empty()) ::setenv(PostData::kServerVariable, address.c_str(), 1);
        h.WriteState(
            "v0|G|Fullscreen|0||P|Flag.Act|2|Attribute.Strength|120|Attribute.Essence|45|Attribute."
            "Intelligence|7|"
            "Resource.Money|350|Resource.Reputation|1200||");
        ASSERT_TRUE(h.Start());
        harness::StartProbe("game", 0, 0, 0)->onUpdate = [] { Data::Update(0); };
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    }
    // A minute of running time, then a save as at the end of an action chain; gives the play
    // time the save reports.
    std::string SaveAMinuteLater() {
        h.AdvanceClock(60000);
        EXPECT_TRUE(h.Step(2));
        const std::string played = std::to_string(Profile::GetFlagInt("TimePlayed"));
        Profile::Save(0);
        return played;
    }
    // Runs frames while the server answers from its own thread.
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

    harness::Harness h;
};

}  // namespace

TEST_F(Statistics, TheIdIsFetchedAndKeptAndAMinuteLaterASavePostsTheHerosFigures) {
    LoopbackServer server({LoopbackServer::Reply("OK:ab-12\r\n"), LoopbackServer::Reply("OK")});
    Start(server.Address() + "/");
    ASSERT_TRUE(StepUntil([] { return !Profile::GetGlobalFlagString("ID").empty(); }));
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "ab-12");
    EXPECT_EQ((std::stringstream() << std::ifstream(IdFile()).rdbuf()).str(), "ab-12\n");
    EXPECT_EQ(server.Requests().at(0).rfind("POST /api/scr.php HTTP/1.0\r\n", 0), 0u);
    EXPECT_EQ(server.Body(0), "action=id");

    Profile::Save(0);  // under a minute of running time: nothing is posted
    CaptureStdout();
    const std::string played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 2 && !postData->update_req; }));
    EXPECT_EQ(server.Body(1), "action=update&id=ab-12" + Figures(played));
    EXPECT_EQ(GetCapturedStdout(), "");

    // The next run finds the id in its file and asks for none.
    h.Stop();
    Start(server.Address());
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "ab-12");
    EXPECT_FALSE(postData->id_req);
}

TEST_F(Statistics, RefusalsHostileIdsSilenceAndFloodsCostALineAndLeakNothingIntoTheState) {
    CaptureStdout();
    Start("");
    EXPECT_NE(GetCapturedStdout().find("BRALLWICK_SCORE_URL is not set"), std::string::npos);
    SaveAMinuteLater();
    EXPECT_FALSE(postData->id_req || postData->update_req);
    h.Stop();

    LoopbackServer server({LoopbackServer::Reply("DENIED\x9b"
                                                 "2J\x1b[2J\x85" +
                                                 std::string(5000, '!') + "\r\nsecond line"),
                           LoopbackServer::Reply("OK 7&index=2&money=999999|P|X"), "",
                           LoopbackServer::Reply(std::string(10 << 20, 'x')), LoopbackServer::Reply("OK")});
    // A refusal prints the start of its first line as the server's, with no byte a terminal takes
    // for a control code; the next start asks again and gets an id that would add form fields and
    // cut the save's records: no id.
    CaptureStdout();
    Start(server.Address());
    ASSERT_TRUE(StepUntil([] { return !postData->id_req; }));
    const std::string refusal = GetCapturedStdout();
    EXPECT_EQ(refusal.rfind("The score server answered: DENIED?2J?[2J?!!!", 0), 0u) << refusal;
    EXPECT_LT(refusal.size(), 300u);
    h.Stop();
    Start(server.Address());
    ASSERT_TRUE(StepUntil([] { return !postData->id_req; }));
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
    EXPECT_FALSE(std::filesystem::exists(IdFile()));
    h.Stop();

    // Nor is such an id taken from the id file. The server asked instead never answers; the game
    // plays on until the request is given up.
    std::ofstream(IdFile()) << "42|P|X\n";
    Start(server.Address());
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 3; }));
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
    ASSERT_TRUE(h.Step(60));
    EXPECT_TRUE(postData->id_req);
    h.AdvanceClock(PostData::kTimeoutMs);
    ASSERT_TRUE(h.Step());
    EXPECT_FALSE(postData->id_req);

    // A 10 MB reply is cut off with one short line; the statistics went out with an empty id, and
    // an id from an edited save cannot add fields of its own.
    CaptureStdout();
    std::string played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 4 && !postData->update_req; }));
    EXPECT_EQ(server.Body(3), "action=update&id=" + Figures(played));
    const std::string printed = GetCapturedStdout();
    EXPECT_TRUE(!printed.empty() && printed.size() < 300u) << printed.size();
    Profile::SetGlobalFlagString("ID", "7&index=2 x");
    played = SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return server.Requests().size() == 5 && !postData->update_req; }));
    EXPECT_EQ(server.Body(4), "action=update&id=7%26index%3D2%20x" + Figures(played));
    h.Stop();

    // A redirect or an error page is no answer, whatever its body says: no id is kept (the next
    // start asks again) and statistics answered so count as not delivered, each with one line.
    LoopbackServer failing({"HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\n\r\nOK:moved",
                            "HTTP/1.0 500 Internal Server Error\r\n\r\nOK:broken",
                            "HTTP/1.0 500 Internal Server Error\r\n\r\nOK"});
    std::filesystem::remove(IdFile());
    for (const char* status : {"302", "500"}) {
        CaptureStdout();
        Start(failing.Address());
        ASSERT_TRUE(StepUntil([] { return !postData->id_req; }));
        const std::string line = GetCapturedStdout();
        EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
        EXPECT_FALSE(std::filesystem::exists(IdFile()));
        EXPECT_NE(line.find(status), std::string::npos) << line;
        if (std::string(status) == "302") h.Stop();
    }
    CaptureStdout();
    SaveAMinuteLater();
    ASSERT_TRUE(StepUntil([&] { return failing.Requests().size() == 3 && !postData->update_req; }));
    const std::string undelivered = GetCapturedStdout();
    EXPECT_NE(undelivered.find("500"), std::string::npos) << undelivered;
}
