#pragma once
// A copy of the baked data folder that a test may damage: the XML folders are real copies, the
// pictures, sounds, music and fonts are links to the baked files (they are only read; a file
// written or removed in a linked folder gets that folder a link per file first). The copy
// is removed when the object goes.
#include <string>

namespace harness {

class DataCopy {
  public:
    DataCopy();
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;

    // The folder that holds "data": what Harness::SetDataRoot and the checker take.
    const std::string& Root() const { return root_; }

    // A file under "data/" ("data/act1.xml", "dialogues/main.xml").
    std::string Read(const std::string& file) const;
    void Write(const std::string& file, const std::string& text) const;
    void Remove(const std::string& file) const;
    // Replaces the first `from` in the file with `to`; false when the file has no `from`.
    bool Replace(const std::string& file, const std::string& from, const std::string& to) const;

  private:
    void OwnFolders(const std::string& file) const;

    std::string root_;
};

}  // namespace harness
