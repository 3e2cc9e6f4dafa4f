// Data paths, the save state and one-line files.
#include "platform/storage.hpp"

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "engine_fixture.hpp"
#include "ogg_fixture.hpp"
#include "platform/audio.hpp"
#include "platform/decodeahead.hpp"
#include "platform/graphics.hpp"
#include "tests/support/in_child.hpp"

using testapp::TempDir;
namespace fs = std::filesystem;

namespace {

// Points the per-user folder at a fresh temporary folder for one test.
class StorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppDataFolder(dir.path());
        platform::SetDataRoot(dir.path());
    }
    void TearDown() override {
        platform::SetAppDataFolder("");
        platform::SetDataRoot("");
    }
    TempDir dir;
};

}  // namespace

TEST(Paths, DataPathsAndTheSchemeMapping) {
    platform::SetDataRoot("");
    EXPECT_EQ(platform::DataPath("graphics/Hero.png"), "vantle://data/graphics/Hero.png");
    EXPECT_EQ(platform::DataPath("Splash1.jpg"), "vantle://data/Splash1.jpg");
    EXPECT_EQ(platform::DataPath("data/act1.xml"), "vantle://data/data/act1.xml");
    EXPECT_EQ(platform::DataPath("vantle://internal/x.txt"), "vantle://internal/x.txt");
    EXPECT_EQ(platform::DataPath("./data/icon.ico"), "./data/icon.ico");
    EXPECT_EQ(platform::DataPath("/abs/file"), "/abs/file");
    // ":/" counts only right at the first "/".
    EXPECT_EQ(platform::DataPath("a/b:/c"), "vantle://data/a/b:/c");

    EXPECT_EQ(platform::MapPath("vantle://data/data/act1.xml"), "./data/data/act1.xml");
    EXPECT_EQ(platform::MapPath("vantle://internal/a"), "./internal/a");
    EXPECT_EQ(platform::MapPath("vantle://external/b"), "./external/b");
    EXPECT_EQ(platform::MapPath("vantle://elsewhere/b"), "");
    EXPECT_EQ(platform::MapPath("vantle:odd"), "");
    EXPECT_EQ(platform::MapPath("data/icon.ico"), "data/icon.ico");
    EXPECT_EQ(platform::MapPath("http://x/y"), "http://x/y");

    platform::SetDataRoot("/games/brallwick/");
    EXPECT_EQ(platform::DataRoot(), "/games/brallwick");
    EXPECT_EQ(platform::MapPath("vantle://data/Logo1.png"), "/games/brallwick/data/Logo1.png");
    platform::SetDataRoot("");
}

TEST_F(StorageTest, LoadStringReadsBytesThroughTheDataScheme) {
    fs::create_directories(fs::path(dir.path()) / "data" / "data");
    {
        std::ofstream out(fs::path(dir.path()) / "data" / "data" / "act1.xml", std::ios::binary);
        out << "<a>\xE9\r\n</a>";
    }
    EXPECT_EQ(platform::LoadString("data/act1.xml"), "<a>\xE9\r\n</a>");
    EXPECT_EQ(platform::LoadString("vantle://data/data/act1.xml"), "<a>\xE9\r\n</a>");
    EXPECT_EQ(platform::LoadString("data/missing.xml"), "");
    EXPECT_EQ(platform::LoadString("vantle://nowhere/act1.xml"), "");
    EXPECT_EQ(platform::LoadString("data"), "") << "a folder reads as nothing";
    // Asking first lets the splash row end at a missing picture without a load error.
    EXPECT_TRUE(platform::DataFileExists("data/act1.xml"));
    EXPECT_FALSE(platform::DataFileExists("data/missing.xml"));
    EXPECT_FALSE(platform::DataFileExists("data"));
    EXPECT_FALSE(platform::DataFileExists("vantle://nowhere/act1.xml"));
}

TEST_F(StorageTest, StateRoundTripsEveryByteAndAbsentLoadsEmpty) {
    EXPECT_EQ(platform::UserFolder(), dir.path() + "/Brallwick - Quellfast");
    EXPECT_EQ(platform::StateFilePath(), dir.path() + "/Brallwick - Quellfast/.vantlestate");
    EXPECT_EQ(platform::LoadState(), "");
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    all += "|v0|tail";
    ASSERT_TRUE(platform::SaveState(all));
    EXPECT_EQ(platform::LoadState(), all);
    ASSERT_TRUE(platform::SaveState("short"));
    EXPECT_EQ(platform::LoadState(), "short") << "a shorter save leaves nothing of the longer one";
    EXPECT_FALSE(fs::exists(platform::StateFilePath() + ".tmp"));
}

TEST_F(StorageTest, FailedSaveKeepsThePreviousStateAndSaysSo) {
    ASSERT_TRUE(platform::SaveState("v0|precious"));
    platform::FinishStateWrites();
    // Something sits where the temporary file must go, so the write cannot happen.
    fs::create_directory(platform::StateFilePath() + ".tmp");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(platform::SaveState("v0|replacement"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(platform::LoadState(), "v0|precious");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;

    // Without the application-data folder the save fails too, and creates no parents.
    platform::SetAppDataFolder(dir.path() + "/absent");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(platform::SaveState("x"));
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(fs::exists(dir.path() + "/absent"));
    EXPECT_EQ(platform::LoadState(), "");
}

TEST_F(StorageTest, MakeDirectoryCreatesOneLevelOnly) {
    EXPECT_TRUE(platform::MakeDirectory(dir.path() + "/one"));
    EXPECT_TRUE(platform::MakeDirectory(dir.path() + "/one")) << "an existing folder is fine";
    EXPECT_FALSE(platform::MakeDirectory(dir.path() + "/two/three"));
    EXPECT_FALSE(fs::exists(dir.path() + "/two"));
}

TEST_F(StorageTest, OneLineFiles) {
    ASSERT_TRUE(platform::MakeDirectory(platform::UserFolder()));
    const std::string file = platform::UserFolder() + "/id.txt";
    EXPECT_EQ(platform::OpenFileForRead(file), nullptr);
    {
        auto out = platform::OpenFileForWrite(file);
        ASSERT_TRUE(out);
        out->WriteLine("abc123");
        out->Close();
    }
    auto in = platform::OpenFileForRead(file);
    ASSERT_TRUE(in);
    EXPECT_FALSE(in->Eof());
    EXPECT_EQ(in->ReadLine(), "abc123");
    EXPECT_TRUE(in->Eof());
    {
        std::ofstream crlf(file, std::ios::binary);
        crlf << "xyz\r\nsecond";
    }
    in = platform::OpenFileForRead(file);
    EXPECT_EQ(in->ReadLine(), "xyz");
    EXPECT_EQ(in->ReadLine(), "second");
    EXPECT_TRUE(in->Eof());
    EXPECT_EQ(platform::OpenFileForWrite(dir.path() + "/nope/id.txt"), nullptr);
}

TEST(AppData, EnvironmentChoosesTheFolder) {
    platform::SetAppDataFolder("");
    const char* keepOverride = std::getenv("BRALLWICK_APPDATA");
    const char* keepXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedOverride = keepOverride ? keepOverride : "", savedXdg = keepXdg ? keepXdg : "";
    setenv("BRALLWICK_APPDATA", "/tmp/override", 1);
    setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(platform::AppDataFolder(), "/tmp/override");
    unsetenv("BRALLWICK_APPDATA");
    TempDir dir;
    const std::string xdg = dir.path() + "/config";
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    EXPECT_EQ(platform::AppDataFolder(), xdg);
    EXPECT_TRUE(std::filesystem::is_directory(xdg)) << "a missing configuration folder is created";
    platform::SetAppDataFolder("/tmp/set/");
    EXPECT_EQ(platform::AppDataFolder(), "/tmp/set");
    platform::SetAppDataFolder("");
    if (keepOverride) setenv("BRALLWICK_APPDATA", savedOverride.c_str(), 1);
    if (keepXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

namespace {

// How many printed lines name `what`.
long Naming(const std::string& printed, const std::string& what) {
    long naming = 0;
    std::istringstream in(printed);
    for (std::string line; std::getline(in, line);) naming += line.find(what) != std::string::npos;
    return naming;
}

std::string ReadId() {
    const auto in = platform::OpenFileForRead(platform::UserFolder() + "/id.txt");
    return in ? in->ReadLine() : "";
}

// Whether an id written to "id.txt" is what it reads afterwards.
bool IdReadsAfterWriting(const std::string& written) {
    if (const auto out = platform::OpenFileForWrite(platform::UserFolder() + "/id.txt")) {
        out->WriteLine(written);
        out->Close();
    }
    return ReadId() == written;
}

}  // namespace

// A pipe, a device or a link left where the game reads or writes a file is refused with one line
// naming the file and handled as a missing file of its kind: nothing waits for a writer that
// never comes (each case runs in a child that a deadline ends), and no write goes astray.
TEST_F(StorageTest, AnythingButAPlainFileInAFilesPlaceIsRefusedAndNeverFollowed) {
    const fs::path data = fs::path(dir.path()) / "data";
    for (const char* folder : {"graphics", "sounds", "music", "data"}) fs::create_directories(data / folder);
    ASSERT_TRUE(platform::MakeDirectory(platform::UserFolder()));
    const std::string temp = platform::StateFilePath() + ".tmp", id = platform::UserFolder() + "/id.txt";
    for (const std::string& pipe : {(data / "graphics/pipe.png").string(), (data / "data/pipe.xml").string(),
                                    (data / "sounds/pipe.ogg").string(), (data / "music/pipe.ogg").string(),
                                    (data / "icon.ico").string(), temp})
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0) << pipe;
    const auto okUnless = [](bool wrong) { return wrong ? "wrong" : "ok"; };
    const std::tuple<const char*, long, std::function<std::string()>> cases[] = {
        {"graphics/pipe.png", 1,
         [&] { return okUnless(platform::LoadImage("graphics/pipe.png") != nullptr); }},
        {"data/pipe.xml", 1, [&] { return okUnless(!platform::LoadString("data/pipe.xml").empty()); }},
        {"sounds/pipe.ogg", 1, [&] { return okUnless(platform::LoadSound("sounds/pipe.ogg") != nullptr); }},
        {"music/pipe.ogg", 1,
         [&] {
             return okUnless(platform::PlayMusic("music/pipe.ogg") == 0 ||
                             platform::MusicFault("music/pipe.ogg").find("plain file") == std::string::npos);
         }},
        {"data/icon.ico", 1,
         [&] {
             platform::EngineOptions o;
             o.headless = o.fakeClock = true;
             o.dataRoot = o.appDataFolder = dir.path();
             platform::driver::Start(testapp::InitNothing, testapp::MakeApp, o);
             testapp::Current()->create = [] { platform::OpenGraphics(8, 8, 0, 60, 0); };
             platform::driver::Step(1);
             platform::SetWindowIcon("data/icon.ico");
             return "ok";
         }},
        // Asked ahead, the worker passes them over, and each load says it in its own line.
        {"pipe.", 2,
         [&] {
             platform::DecodeAhead({"graphics/pipe.png"});
             platform::DecodeSoundsAhead({"sounds/pipe.ogg"});
             if (!platform::WaitForDecodingAhead(5000)) return "worker stuck";
             return okUnless(platform::LoadImage("graphics/pipe.png") ||
                             platform::LoadSound("sounds/pipe.ogg"));
         }},
        // The save's temporary file is made afresh: a pipe left there held every save.
        {".tmp", 0,
         [&] { return okUnless(!platform::SaveState("v0|new") || platform::LoadState() != "v0|new"); }},
        // The statistics id: a pipe or an endless device there reads as no id, and the next one
        // written replaces it; a full disk keeps the id there was.
        {"id.txt", 1,
         [&] {
             return okUnless(::mkfifo(id.c_str(), 0644) != 0 || !ReadId().empty() ||
                             !IdReadsAfterWriting("99"));
         }},
        {"id.txt", 1,
         [&] {
             return okUnless(::unlink(id.c_str()) != 0 || ::symlink("/dev/zero", id.c_str()) != 0 ||
                             !ReadId().empty() || !IdReadsAfterWriting("9"));
         }},
        {"id.txt", 1,
         [&] {
             IdReadsAfterWriting("77");
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit full{0, RLIM_INFINITY};
             return okUnless(setrlimit(RLIMIT_FSIZE, &full) != 0 || IdReadsAfterWriting("88") ||
                             ReadId() != "77");
         }},
    };
    for (const auto& [name, lines, piece] : cases) {
        const harness::ChildRun run = harness::InChild(piece);
        EXPECT_TRUE(run.finished) << name << " holds it up";
        EXPECT_EQ(run.result, "ok") << name;
        EXPECT_EQ(Naming(run.printed, name), lines) << name << ":\n" << run.printed;
    }
    // A link left at the temporary file sent the save into the link's target.
    const std::string victim = dir.path() + "/victim.txt";
    std::ofstream(victim) << "someone else's file";
    fs::remove(temp);
    fs::create_symlink(victim, temp);
    ASSERT_TRUE(platform::SaveState("v0|past the link"));
    EXPECT_EQ(platform::LoadState(), "v0|past the link");
    EXPECT_EQ(fs::file_size(victim), 19u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(platform::StateFilePath())));

    // Ogg files keep to the data files' size cap like any other.
    testogg::WriteOgg((data / "music/long.ogg").string(), testogg::Sine(4000, 22050, 440, 0.3f), 22050);
    fs::resize_file(data / "music/long.ogg", (size_t{32} << 20) + 1);
    fs::copy_file(data / "music/long.ogg", data / "sounds/long.ogg");
    testing::internal::CaptureStdout();
    const int played = platform::PlayMusic("music/long.ogg");
    const bool loaded = platform::LoadSound("sounds/long.ogg") != nullptr;
    EXPECT_EQ(Naming(testing::internal::GetCapturedStdout(), "long.ogg: the file is larger than 32 MB"), 2);
    EXPECT_EQ(played, -1);
    EXPECT_FALSE(loaded);
}
