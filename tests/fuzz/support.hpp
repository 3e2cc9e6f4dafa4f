#pragma once
// What the fuzz targets share: a check that stops the run, quiet output and, for the loaders, the
// way in. The game reads its data through the data-folder path layer, so a loader's target hands
// the fuzzed bytes over the way a player's damaged install would: as a file in a data folder of its
// own, which the loader then reads through the game's own entry point.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/exception.hpp"
#include "framework/main.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace fuzz {

inline void Check(bool ok) {
    if (!ok) std::abort();
}

// The game prints one line per damaged entry; millions of them would drown the fuzzer's report
// (which goes to standard error and stays).
inline void QuietOutput() {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
}

// A data root of its own under the temporary folder (one per fuzzing process, so parallel workers
// never read each other's files), set as the game's working folder for the whole run.
class DataFolder {
  public:
    DataFolder() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "brallwick-fuzz-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        root_ = pattern;
        fs::create_directories(root_ + "/data");
        platform::SetDataRoot(root_);
    }
    ~DataFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    // Writes `bytes` as the data file the game names `path` ("data/quests.xml" is
    // <root>/data/data/quests.xml, as the game's own DataPath maps it).
    void Put(const std::string& path, const uint8_t* bytes, size_t size) const {
        const std::filesystem::path file = platform::MapPath(platform::DataPath(path));
        std::filesystem::create_directories(file.parent_path());
        FILE* fp = std::fopen(file.c_str(), "wb");
        Check(fp != nullptr);
        Check(size == 0 || std::fwrite(bytes, 1, size, fp) == size);
        Check(std::fclose(fp) == 0);
    }
    void Put(const std::string& path, const std::string& text) const {
        Put(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    const std::string& Root() const { return root_; }

  private:
    std::string root_;
};

// This process's data folder, made on first use and kept for the whole run.
inline DataFolder& OwnFolder() {
    static DataFolder own;
    return own;
}

// Output quieted over this process's data folder: what a target of a file reader that needs no
// game starts from.
inline DataFolder& StartFolder() {
    QuietOutput();
    return OwnFolder();
}

// The game wired and given its start values over this process's data folder: what every loader's
// target starts from.
inline DataFolder& StartGame() {
    DataFolder& own = StartFolder();
    WireGame();
    InitGlobals();
    return own;
}

// The same with the game's per-user folder (its id file, its saved state) inside the data folder
// too, for the targets that read or write there: never the player's own.
inline DataFolder& StartGameWithUserFolder() {
    DataFolder& own = StartFolder();
    platform::SetAppDataFolder(own.Root());
    platform::MakeDirectory(platform::UserFolder());
    WireGame();
    InitGlobals();
    return own;
}

// Puts the whole game state back to the start when a run ends. What a run allocates it then also
// frees, so libFuzzer never suspects a leak after a run (each suspicion costs a full leak scan).
class FreshAfterRun {
  public:
    FreshAfterRun() = default;
    FreshAfterRun(const FreshAfterRun&) = delete;
    FreshAfterRun& operator=(const FreshAfterRun&) = delete;
    ~FreshAfterRun() { InitGlobals(); }
};

// Runs a load the way start-up does: a refusal the game reports itself (its exception family, or
// the engine's runtime error) ends the program with a message and is fine; anything else (a
// standard-library exception, a crash) escapes to the fuzzer.
template <typename Load>
bool LoadRefused(Load&& load) {
    try {
        load();
        return false;
    } catch (const platform::ThrowableObject&) {
        return true;
    } catch (const platform::RuntimeError&) {
        return true;
    }
}

// One run of a loader's target over the started game: the fuzzed bytes stand as the data file
// `path`, `load` reads that file the way start-up does, and only a table that loaded goes on to
// `checks`. The game state goes back to its start afterwards.
template <typename Load, typename Checks>
int LoadFile(const std::string& path, const uint8_t* data, size_t size, Load&& load, Checks&& checks) {
    const FreshAfterRun fresh;
    OwnFolder().Put(path, data, size);
    if (!LoadRefused([&] { load(path); })) checks();
    return 0;
}

// The same for a loader handed the file's text, which it names `path` in its lines.
template <typename Load, typename Checks>
int LoadText(const std::string& path, const uint8_t* data, size_t size, Load&& load, Checks&& checks) {
    const FreshAfterRun fresh;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!LoadRefused([&] { load(path, text); })) checks();
    return 0;
}

}  // namespace fuzz
