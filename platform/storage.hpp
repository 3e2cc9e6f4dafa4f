#pragma once
// Files: data paths and the "vantle://" scheme, the per-user folder with the save state and
// one-line files.
#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// The game's name, which is also the per-user folder's name.
inline constexpr const char* kGameFolderName = "Brallwick - Quellfast";

// A resource path as the loaders pass it: used unchanged when it holds a scheme (":/" right at
// the first "/") or starts with "./" or "/"; otherwise "vantle://data/" is put in front.
std::string DataPath(const std::string& path);
// Maps a path to a file-system path: "vantle://data/" -> "<root>/data/", "vantle://internal/" ->
// "<root>/internal/", "vantle://external/" -> "<root>/external/"; another "vantle:" path maps to
// ""; a path without the scheme is used unchanged (relative to the root).
std::string MapPath(const std::string& path);

// The working folder that "./data" and friends are relative to (default: the process's own).
void SetDataRoot(const std::string& root);
const std::string& DataRoot();

// The one way in for every file the game reads. Only a plain file is read: a pipe, a device or a
// folder in a file's place is refused, and the opening never waits (a pipe would hold the game
// for ever). No more than `limit` bytes are taken, checked again while reading since a file may
// still grow. Nothing is printed here: each caller says in its own words what it could not read.
struct FileRead {
    enum Outcome { kRead, kMissing, kCannotOpen, kNotPlain, kTooLarge, kCannotRead };
    Outcome outcome = kMissing;
    int error = 0;  // errno of a failed open or read
    bool Read() const { return outcome == kRead; }
    bool Missing() const { return outcome == kMissing; }
};
FileRead ReadPlainFile(const std::string& file, size_t limit, std::string& bytes);

// No data file of the game comes near this; a larger one is refused before it is read, since the
// tables built from it take many times its size.
inline constexpr size_t kMaxDataFile = size_t{32} << 20;

// A data file read by its file-system name under the data-file cap: false when it is missing, and
// (with one printed line naming `name`) when anything but a plain file of sane size is there.
bool ReadGameFile(const std::string& file, const std::string& name, std::string& bytes);

// Reads a whole file one byte per character; "" when it is missing, and (with a printed line) when
// it is anything but a plain file or larger than 32 MB, which no data file of the game comes near.
std::string LoadString(const std::string& path);
// Whether a data file is there, asked without the complaint a failed load prints.
bool DataFileExists(const std::string& path);

// The per-user application-data folder (XDG on Linux; BRALLWICK_APPDATA overrides it), and the
// game's own folder inside it.
std::string AppDataFolder();
void SetAppDataFolder(const std::string& folder);  // tests
std::string UserFolder();
// Creates one folder level, never its parents. True when it exists afterwards.
bool MakeDirectory(const std::string& path);

// The one save-state string. Written byte for byte through a temporary file and a rename, so a
// failed save leaves the previous state whole; the temporary file is made afresh each time, never
// through whatever an earlier run left at its name (a link, a pipe). An absent or unreadable state loads as
// "". The save returns once the temporary file is open (false, with a printed line, when it cannot be);
// writing it to the disk and the rename finish beside the game (a failure there prints its line),
// and every other state operation here, and the end of the program, wait for them.
bool SaveState(const std::string& state);
// Waits until the last save is in place. Code that reads the state file by other means first
// calls this.
void FinishStateWrites();
// The state file's bytes; "" when there is none. Only a plain file of sane size is read: anything
// else in its place (a pipe, a device, a folder, a file of many megabytes) reads as "" with one
// printed line, and StateFileExists still says something is there.
std::string LoadState();
std::string StateFilePath();
// Whether anything at all is in the state file's place (an empty or unreadable one loads as ""
// just like a missing one).
bool StateFileExists();
// Moves the state file aside to `fileName` in the same folder (replacing an older one of that
// name), so that a state the game could not read survives the next save. False when it cannot.
bool SetStateFileAside(const std::string& fileName);

// One-line files (the statistics id). A file is read whole by the rule above, and only a plain one
// of at most 64 KB: anything else in its place opens as nothing, with one line naming it. Lines
// written reach the disk when the stream closes, the way the save state does: a failed write leaves
// the previous file whole and prints one line naming it.
class FileStream {
public:
    virtual ~FileStream() = default;
    virtual std::string ReadLine() = 0;  // without its line end; "" at the end
    virtual void WriteLine(const std::string& line) = 0;
    virtual bool Eof() const = 0;
    virtual void Close() = 0;
};
std::unique_ptr<FileStream> OpenFileForRead(const std::string& path);   // null when it cannot open
std::unique_ptr<FileStream> OpenFileForWrite(const std::string& path);  // null when it cannot open

}  // namespace platform
