// Starting the game on the data folder and gathering what its loaders and the checks report.
#include "tests/checker/checker.hpp"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/glyphfont.hpp"
#include "gui/dialogues.hpp"
#include "model/actions.hpp"
#include "model/locations.hpp"
#include "model/powers.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "model/upgrades.hpp"
#include "tests/support/harness.hpp"

namespace checker {

namespace {

// Everything written to the standard output while it lives, at the level of the file descriptor,
// so the engine's own lines are caught too.
class CapturedOutput {
  public:
    CapturedOutput() : file_(std::tmpfile()) {
        std::fflush(stdout);
        saved_ = dup(1);
        if (file_ != nullptr) dup2(fileno(file_), 1);
    }
    ~CapturedOutput() { Lines(); }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        if (file_ == nullptr) return lines;
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
        std::rewind(file_);
        std::string line;
        for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) {
            if (c != '\n') {
                line += static_cast<char>(c);
                continue;
            }
            lines.push_back(line);
            line.clear();
        }
        if (!line.empty()) lines.push_back(line);
        std::fclose(file_);
        file_ = nullptr;
        return lines;
    }

  private:
    std::FILE* file_;
    int saved_ = -1;
};

// The data files the game reads at start-up; a line of the game's output that names one is a
// report about the data.
std::vector<std::string> DataFiles() {
    std::vector<std::string> files = Actions::Files();
    for (const std::string& file : DialogueList::Files()) files.push_back(file);
    for (const char* file : {Powers::kFile, Locations::kFile, Quests::kFile, Upgrades::kFile, Trophies::kFile,
                             "animations/main.xml", "animations/fx.xml"}) {
        files.push_back(file);
    }
    return files;
}

bool NamesDataFile(const std::string& line, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (line.find(file) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> CheckDataFolder(const std::string& root) {
    std::vector<std::string> problems;
    const std::vector<std::string> files = DataFiles();
    harness::Harness game;
    game.SetDataRoot(root);
    bool started = false;
    {
        CapturedOutput output;
        started = game.Start();
        for (const std::string& line : output.Lines()) {
            if (NamesDataFile(line, files)) problems.push_back(line);
        }
    }
    if (!started) {
        // The report may run over lines; the checker's lines are one per problem.
        std::string report = game.LastReport();
        for (char& c : report) {
            if (c == '\n') c = ' ';
        }
        problems.push_back("The game does not start: " + report);
        return problems;
    }
    {
        // Most fonts are read only by the loading screen: each is read here, and what its reading
        // tells (a damaged file, glyphs missing, metrics beyond reason) is a problem of the data.
        CapturedOutput output;
        for (const char* id : Fonts::Ids()) GlyphFont font(Fonts::FileFor(id));
        for (const std::string& line : output.Lines()) {
            if (line.rfind("Font ", 0) == 0) problems.push_back(line);
        }
    }
    const std::string dataFolder = root + "/data/";
    CheckNamedIds(problems);
    CheckPicturesAndSounds(dataFolder, problems);
    CheckBubbles(dataFolder, problems);
    return problems;
}

}  // namespace checker
