#pragma once
// What the loader targets share. The game reads its data through the data-folder path layer, so a
// target hands the fuzzed bytes over the way a player's damaged install would: as a file in a data
// folder of its own, which the loader then reads through the game's own entry point.
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

// The game wired and given its start values over a data folder of this process's own, kept for
// the whole run: what every loader's target starts from.
inline DataFolder& StartGame() {
    QuietOutput();
    static DataFolder own;
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

}  // namespace fuzz
