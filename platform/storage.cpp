// Files: data paths and the "vantle://" scheme, the per-user folder, the save state and one-line files.
#include "platform/storage.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/app.hpp"

namespace platform {
namespace {

std::string& RootStore() {
    static std::string root;
    return root;
}

std::string& AppDataOverride() {
    static std::string folder;
    return folder;
}

bool IsDir(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A mapped path as the file system should see it: relative paths are taken from the data root.
std::string Resolve(const std::string& path) {
    if (path.empty() || path[0] == '/' || RootStore().empty()) return path;
    if (path.rfind("./", 0) == 0) return RootStore() + path.substr(1);
    return RootStore() + "/" + path;
}

std::string Reason(int error) {
    return std::string(" (") + std::strerror(error) + ")";
}

// Why a data file or a one-line file was not read, for the caller's line.
std::string WhyRefused(const FileRead& read) {
    switch (read.outcome) {
        case FileRead::kCannotOpen:
            return "it cannot be opened" + Reason(read.error);
        case FileRead::kNotPlain:
            return "it is not a plain file";
        case FileRead::kTooLarge:
            return "it is far larger than any file of its kind";
        case FileRead::kCannotRead:
            return "it cannot be read" + Reason(read.error);
        default:
            return "";
    }
}

// A one-line file holds a few dozen bytes; a few kilobytes are already no file the game wrote.
constexpr size_t kMaxLineFile = size_t{64} << 10;

// A data file's bytes; `why` says why it was refused, and stays "" for a missing one.
bool ReadDataFileNamed(const std::string& file, std::string& bytes, std::string& why) {
    const FileRead read = ReadPlainFile(file, kMaxDataFile, bytes);
    if (read.outcome == FileRead::kTooLarge) {
        why = "the file is larger than " + std::to_string(kMaxDataFile >> 20) +
              " MB, far more than any of the game's data needs";
    } else {
        why = WhyRefused(read);
    }
    return read.Read();
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The one way out for every file the game writes: the new bytes go to a temporary file beside it,
// and only once they are all on the disk does a rename put them in the file's place, so a full
// disk or a crash leaves the previous file whole.
struct Replacement {
    std::string file, temp, folder;
    int fd = -1;
};

// Creates the temporary file for replacing `file`. Whatever an earlier run left at its name is
// removed first, and the file is made afresh, never through a link (the bytes would land in the
// link's target) nor by opening what is there (a pipe would hold the game until it had a reader).
// False with errno set when it cannot be made.
bool BeginReplacement(const std::string& file, Replacement& out) {
    out.file = file;
    out.temp = file + ".tmp";
    const size_t slash = file.rfind('/');
    out.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    ::unlink(out.temp.c_str());
    out.fd =
        ::open(out.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    return out.fd >= 0;
}

// Writes the bytes to the temporary file, syncs it and renames it over the file, then syncs the
// folder so the rename lasts too. On failure the temporary file goes, the file is as it was, and
// `failure` says what went wrong.
bool FinishReplacement(const Replacement& r, const std::string& bytes, std::string& failure) {
    auto fail = [&](const char* what, int error) {
        ::unlink(r.temp.c_str());
        failure = what + Reason(error);
        return false;
    };
    const bool written = WriteAll(r.fd, bytes) && ::fsync(r.fd) == 0;
    const int error = errno;
    if (::close(r.fd) != 0 || !written) return fail("cannot write", written ? errno : error);
    if (::rename(r.temp.c_str(), r.file.c_str()) != 0) return fail("cannot replace the file", errno);
    if (const int dir = ::open(r.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

// A one-line file read whole, its lines taken from memory.
class ReadStream : public FileStream {
  public:
    explicit ReadStream(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string ReadLine() override {
        if (at_ >= bytes_.size()) return "";
        const size_t end = std::min(bytes_.find('\n', at_), bytes_.size());
        std::string line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    void WriteLine(const std::string&) override {}
    bool Eof() const override { return at_ >= bytes_.size(); }
    void Close() override {
        bytes_.clear();
        at_ = 0;
    }

  private:
    std::string bytes_;
    size_t at_ = 0;
};

// A one-line file written through a replacement when it closes.
class WriteStream : public FileStream {
  public:
    explicit WriteStream(Replacement replacement) : replacement_(std::move(replacement)) {}
    ~WriteStream() override { Close(); }
    std::string ReadLine() override { return ""; }
    void WriteLine(const std::string& line) override {
        if (replacement_.fd < 0) return;
        bytes_ += line;
        bytes_ += '\n';
    }
    bool Eof() const override { return true; }
    void Close() override {
        if (replacement_.fd < 0) return;
        std::string failure;
        if (!FinishReplacement(replacement_, bytes_, failure))
            PrintLine("Error writing file " + replacement_.file + ": " + failure);
        replacement_.fd = -1;
    }

  private:
    Replacement replacement_;
    std::string bytes_;
};

}  // namespace

FileRead ReadPlainFile(const std::string& file, size_t limit, std::string& bytes) {
    bytes.clear();
    FileRead read;
    if (file.empty()) return read;
    // Not waiting for a writer: a pipe put in a file's place must not hold up the game.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) read = {FileRead::kCannotOpen, errno};
        return read;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {FileRead::kNotPlain, 0};
    }
    if (static_cast<uint64_t>(st.st_size) > limit) {
        ::close(fd);
        return {FileRead::kTooLarge, 0};
    }
    read.outcome = FileRead::kRead;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            read = {FileRead::kCannotRead, errno};
            break;
        }
        if (n == 0) break;
        // It may still be growing while it is read.
        if (static_cast<size_t>(n) > limit - bytes.size()) {
            read = {FileRead::kTooLarge, 0};
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!read.Read()) bytes.clear();
    return read;
}

bool ReadGameFile(const std::string& file, const std::string& name, std::string& bytes) {
    std::string why;
    const bool read = ReadDataFileNamed(file, bytes, why);
    if (!why.empty()) PrintLine("Error loading " + name + ": " + why);
    return read;
}

std::string LoadString(const std::string& path) {
    std::string bytes;
    ReadGameFile(Resolve(MapPath(DataPath(path))), path, bytes);
    return bytes;
}

bool ReadDataFile(const std::string& path, std::string& bytes, std::string& why) {
    return ReadDataFileNamed(Resolve(MapPath(DataPath(path))), bytes, why);
}

std::string DataPath(const std::string& path) {
    const size_t slash = path.find('/');
    if (slash != std::string::npos && slash > 0 && path[slash - 1] == ':') return path;
    if (path.rfind("./", 0) == 0 || path.rfind("/", 0) == 0) return path;
    return "vantle://data/" + path;
}

std::string MapPath(const std::string& path) {
    static const char* const kSchemes[][2] = {{"vantle://data/", "data/"},
                                              {"vantle://internal/", "internal/"},
                                              {"vantle://external/", "external/"}};
    for (const auto& scheme : kSchemes) {
        const size_t len = std::strlen(scheme[0]);
        if (path.compare(0, len, scheme[0]) == 0) {
            const std::string rest = path.substr(len);
            return (RootStore().empty() ? std::string("./") : RootStore() + "/") + scheme[1] + rest;
        }
    }
    if (path.rfind("vantle:", 0) == 0) return "";
    return path;
}

void SetDataRoot(const std::string& root) {
    std::string r = root;
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    RootStore() = r;
}

const std::string& DataRoot() {
    return RootStore();
}

bool DataFileExists(const std::string& path) {
    const std::string mapped = MapPath(DataPath(path));
    if (mapped.empty()) return false;
    struct stat st {};
    return ::stat(Resolve(mapped).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// Engine-internal: a file named relative to the working folder, not through the data scheme.
std::string ResolveWorkingPath(const std::string& path) {
    return Resolve(MapPath(path));
}

std::string AppDataFolder() {
    std::string folder = AppDataOverride();
    if (folder.empty()) {
        if (const char* env = std::getenv("BRALLWICK_APPDATA"); env && *env) {
            folder = env;
        } else if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/') {
            folder = xdg;
            // The configuration folder may not exist yet on a fresh account; it is ours to create.
            if (!IsDir(folder)) ::mkdir(folder.c_str(), 0700);
        } else if (const char* home = std::getenv("HOME"); home && *home) {
            folder = std::string(home) + "/.config";
            if (!IsDir(folder)) ::mkdir(folder.c_str(), 0700);
        } else {
            folder.assign(1, '.');
        }
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

void SetAppDataFolder(const std::string& folder) {
    AppDataOverride() = folder;
}

std::string UserFolder() {
    return AppDataFolder() + "/" + kGameFolderName;
}

bool MakeDirectory(const std::string& path) {
    if (path.empty()) return false;
    const std::string target = Resolve(MapPath(path));
    if (::mkdir(target.c_str(), 0755) == 0) return true;
    return IsDir(target);
}

std::string StateFilePath() {
    return UserFolder() + "/.vantlestate";
}

namespace {

// A few kilobytes hold three heroes; nothing near this is a save the game wrote.
constexpr size_t kMaxStateBytes = size_t{64} << 20;

// The last save's way to the disk: writing the temporary file, flushing it, putting it in place
// of the state file and flushing the folder. On a busy disk that takes a hundred milliseconds and
// more, which would freeze the frame that saves, so it runs beside the game. Whatever reads or
// writes the state next waits for it first, and so does the end of the program.
class StateWrite {
  public:
    ~StateWrite() { Wait(); }

    void Start(Replacement replacement, std::string state) {
        Wait();
        worker_ = std::thread([replacement = std::move(replacement), state = std::move(state)] {
            std::string failure;
            if (!FinishReplacement(replacement, state, failure))
                PrintLine("Error saving state to " + replacement.file + ": " + failure);
        });
    }

    void Wait() {
        if (worker_.joinable()) worker_.join();
    }

  private:
    std::thread worker_;
};

StateWrite& PendingWrite() {
    static StateWrite write;
    return write;
}

}  // namespace

void FinishStateWrites() {
    PendingWrite().Wait();
}

bool SaveState(const std::string& state) {
    FinishStateWrites();
    const std::string folder = UserFolder();
    const std::string file = StateFilePath();
    auto fail = [&](const char* what) {
        const std::string reason = Reason(errno);
        PrintLine("Error saving state to " + file + ": " + what + reason);
        return false;
    };
    if (!MakeDirectory(folder)) return fail("cannot create the folder");
    Replacement replacement;
    if (!BeginReplacement(file, replacement)) return fail("cannot create the temporary file");
    PendingWrite().Start(std::move(replacement), state);
    return true;
}

std::string LoadState() {
    FinishStateWrites();
    const std::string file = StateFilePath();
    std::string bytes;
    const FileRead read = ReadPlainFile(file, kMaxStateBytes, bytes);
    std::string why;
    switch (read.outcome) {
        case FileRead::kRead:
        case FileRead::kMissing:
            return bytes;
        case FileRead::kCannotOpen:
            why = "cannot be opened" + Reason(read.error);
            break;
        case FileRead::kNotPlain:
            why = "is not a plain file";
            break;
        case FileRead::kTooLarge:
            why = "is far larger than any save";
            break;
        case FileRead::kCannotRead:
            why = "cannot be read" + Reason(read.error);
            break;
    }
    PrintLine("The save state " + file + " " + why + "; it is not read");
    return "";
}

bool StateFileExists() {
    FinishStateWrites();
    // Whatever sits in the state's place counts: what cannot be read as a state is kept aside.
    struct stat st {};
    return ::lstat(StateFilePath().c_str(), &st) == 0;
}

bool SetStateFileAside(const std::string& fileName) {
    if (fileName.empty() || fileName.find('/') != std::string::npos) return false;
    FinishStateWrites();
    const std::string target = UserFolder() + "/" + fileName;
    if (::rename(StateFilePath().c_str(), target.c_str()) != 0) {
        PrintLine("Error moving the state file to " + target + ": " + std::strerror(errno));
        return false;
    }
    // The save that follows flushes the folder, and this move with it.
    return true;
}

std::unique_ptr<FileStream> OpenFileForRead(const std::string& path) {
    const std::string file = Resolve(MapPath(path));
    std::string bytes;
    const FileRead read = ReadPlainFile(file, kMaxLineFile, bytes);
    if (!read.Read()) {
        // Whatever cannot be read counts as no file at all: its owner makes a new one.
        if (!read.Missing()) PrintLine("Error reading file " + file + ": " + WhyRefused(read));
        return nullptr;
    }
    return std::make_unique<ReadStream>(std::move(bytes));
}

std::unique_ptr<FileStream> OpenFileForWrite(const std::string& path) {
    const std::string file = Resolve(MapPath(path));
    if (file.empty() || IsDir(file)) return nullptr;
    Replacement replacement;
    if (!BeginReplacement(file, replacement)) {
        const std::string reason = Reason(errno);
        PrintLine("Error writing file " + file + ": cannot create the temporary file" + reason);
        return nullptr;
    }
    return std::make_unique<WriteStream>(std::move(replacement));
}

}  // namespace platform
