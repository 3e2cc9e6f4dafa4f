// Files: data paths and the "vantle://" scheme, the per-user folder, the save state and one-line files.
#include "platform/storage.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

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

// No data file of the game comes near this; a larger one is refused before it is read, since
// the tables built from it take many times its size.
constexpr size_t kMaxDataFile = size_t{32} << 20;

// False for a file that is missing, unreadable or larger than `limit` (then `tooLarge` is set).
bool ReadWholeFile(const std::string& file, std::string& out, size_t limit = SIZE_MAX,
                   bool* tooLarge = nullptr) {
    out.clear();
    if (file.empty()) return false;
    FILE* fp = std::fopen(file.c_str(), "rb");
    if (!fp) return false;
    struct stat st {};
    if (::fstat(fileno(fp), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(fp);
        return false;
    }
    bool ok = !(S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > limit);
    char buffer[65536];
    size_t n;
    // The size is checked again as it is read: a device or a file still growing tells none.
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, fp)) > 0) {
        ok = n <= limit - out.size();
        if (ok) out.append(buffer, n);
    }
    if (!ok && tooLarge) *tooLarge = true;
    ok = ok && !std::ferror(fp);
    std::fclose(fp);
    if (!ok) out.clear();
    return ok;
}

// A data file's bytes, with a line when it is refused for its size.
bool ReadDataBytes(const std::string& path, std::string& out) {
    bool tooLarge = false;
    const bool ok = ReadWholeFile(Resolve(MapPath(DataPath(path))), out, kMaxDataFile, &tooLarge);
    if (tooLarge) {
        PrintLine("Error loading " + path + ": the file is larger than " +
                  std::to_string(kMaxDataFile >> 20) + " MB, far more than any of the game's data needs");
    }
    return ok;
}

class ReadStream : public FileStream {
  public:
    explicit ReadStream(FILE* fp) : fp_(fp) {}
    ~ReadStream() override { Close(); }
    std::string ReadLine() override {
        std::string line;
        if (!fp_) return line;
        int c;
        while ((c = std::fgetc(fp_)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
        if (c == EOF) eof_ = true;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    void WriteLine(const std::string&) override {}
    bool Eof() const override {
        if (!fp_ || eof_) return true;
        const int c = std::fgetc(fp_);
        if (c == EOF) return true;
        std::ungetc(c, fp_);
        return false;
    }
    void Close() override {
        if (fp_) std::fclose(fp_);
        fp_ = nullptr;
    }

  private:
    FILE* fp_;
    bool eof_ = false;
};

class WriteStream : public FileStream {
  public:
    explicit WriteStream(FILE* fp) : fp_(fp) {}
    ~WriteStream() override { Close(); }
    std::string ReadLine() override { return ""; }
    void WriteLine(const std::string& line) override {
        if (!fp_) return;
        std::fwrite(line.data(), 1, line.size(), fp_);
        std::fputc('\n', fp_);
    }
    bool Eof() const override { return true; }
    void Close() override {
        if (fp_ && std::fclose(fp_) != 0)
            PrintLine("Error writing file: " + std::string(std::strerror(errno)));
        fp_ = nullptr;
    }

  private:
    FILE* fp_;
};

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

}  // namespace

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

std::string LoadString(const std::string& path) {
    std::string bytes;
    ReadDataBytes(path, bytes);
    return bytes;
}

// Engine-internal: the bytes of a data file (images, icons, sounds).
bool ReadDataFile(const std::string& path, std::string& bytes) {
    return ReadDataBytes(path, bytes);
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
constexpr off_t kMaxStateBytes = off_t{64} << 20;

}  // namespace

namespace {

// The last save's way to the disk: writing the temporary file, flushing it, putting it in place
// of the state file and flushing the folder. On a busy disk that takes a hundred milliseconds and
// more, which would freeze the frame that saves, so it runs beside the game. Whatever reads or
// writes the state next waits for it first, and so does the end of the program.
class StateWrite {
  public:
    ~StateWrite() { Wait(); }

    void Start(int fd, std::string state, std::string temp, std::string file, std::string folder) {
        Wait();
        worker_ = std::thread([fd, state = std::move(state), temp = std::move(temp), file = std::move(file),
                               folder = std::move(folder)] {
            auto fail = [&](const char* what, int error) {
                ::unlink(temp.c_str());
                PrintLine("Error saving state to " + file + ": " + what + " (" + std::strerror(error) + ")");
            };
            // The new state only replaces the old one once it is completely on disk.
            const bool written = WriteAll(fd, state) && ::fsync(fd) == 0;
            const int error = errno;
            if (::close(fd) != 0 || !written) return fail("cannot write", written ? errno : error);
            if (::rename(temp.c_str(), file.c_str()) != 0)
                return fail("cannot replace the state file", errno);
            if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
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
    const std::string temp = file + ".tmp";
    auto fail = [&](const char* what) {
        const std::string reason = std::strerror(errno);
        PrintLine("Error saving state to " + file + ": " + what + " (" + reason + ")");
        return false;
    };
    if (!MakeDirectory(folder)) return fail("cannot create the folder");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("cannot create the temporary file");
    PendingWrite().Start(fd, state, temp, file, folder);
    return true;
}

std::string LoadState() {
    FinishStateWrites();
    const std::string file = StateFilePath();
    auto refuse = [&file](const std::string& why) {
        PrintLine("The save state " + file + " " + why + "; it is not read");
        return std::string();
    };
    // Not waiting for a writer: a pipe put in the state's place must not hold up the start.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return "";
        return refuse(std::string("cannot be opened (") + std::strerror(errno) + ")");
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!regular || st.st_size > kMaxStateBytes) {
        ::close(fd);
        return refuse(regular ? "is far larger than any save" : "is not a plain file");
    }
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return refuse(std::string("cannot be read (") + std::strerror(error) + ")");
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
        // It may still be growing while it is read.
        if (bytes.size() > static_cast<size_t>(kMaxStateBytes)) {
            ::close(fd);
            return refuse("is far larger than any save");
        }
    }
    ::close(fd);
    return bytes;
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
    if (file.empty() || IsDir(file)) return nullptr;
    FILE* fp = std::fopen(file.c_str(), "rb");
    if (!fp) return nullptr;
    return std::make_unique<ReadStream>(fp);
}

std::unique_ptr<FileStream> OpenFileForWrite(const std::string& path) {
    const std::string file = Resolve(MapPath(path));
    if (file.empty() || IsDir(file)) return nullptr;
    FILE* fp = std::fopen(file.c_str(), "wb");
    if (!fp) return nullptr;
    return std::make_unique<WriteStream>(fp);
}

}  // namespace platform
