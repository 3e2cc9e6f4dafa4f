#pragma once
// Files: data paths and the "vantle://" scheme, the per-user folder with the save state and
// one-line files.
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

// Reads a whole file one byte per character; "" when it is missing, and (with a printed line) when
// it is larger than 32 MB, which no data file of the game comes near.
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
// failed save leaves the previous state whole. An absent or unreadable state loads as "". The
// save returns once the temporary file is open (false, with a printed line, when it cannot be);
// writing it to the disk and the rename finish beside the game (a failure there prints its line),
// and every other state operation here, and the end of the program, wait for them.
bool SaveState(const std::string& state);
// Waits until the last save is in place. Code that reads the state file by other means first
// calls this.
void FinishStateWrites();
std::string LoadState();
std::string StateFilePath();
// Whether a state file exists at all (an empty one loads as "" just like a missing one).
bool StateFileExists();
// Moves the state file aside to `fileName` in the same folder (replacing an older one of that
// name), so that a state the game could not read survives the next save. False when it cannot.
bool SetStateFileAside(const std::string& fileName);

// One-line files (the statistics id).
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
