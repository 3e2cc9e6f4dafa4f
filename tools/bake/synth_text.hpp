#pragma once
// Reading the synthesiser's text files: lines of words, numbers, and the voice settings that the
// effect recipes and the music scores share (see synth_sfx.cpp and synth_score.cpp for the formats).
#include <stdexcept>
#include <string>
#include <vector>

#include "synth_dsp.hpp"

namespace bake::synth {

// A mistake in a source file. Thrown without a location; the reader of the line adds file and line.
class Problem : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TextLine {
    int number = 0;                  // 1-based line number in the file
    std::vector<std::string> words;  // split on blanks; a word starting with "#" starts a comment
};

// Reads `path` into its non-empty lines. False, with `error` set, when the file cannot be read.
bool ReadTextLines(const std::string& path, std::vector<TextLine>& lines, std::string& error);

// "file:line: message"
std::string Located(const std::string& path, int line, const std::string& message);

// Parses a whole word as a number in [low, high]; `what` names it in the error.
double ParseNumber(const std::string& word, const std::string& what, double low, double high);

Wave ParseWave(const std::string& word);

// Splits "key=value"; throws when there is no '=' or either side is empty.
void SplitSetting(const std::string& word, std::string& key, std::string& value);

// Applies one voice setting. False when the key is not a voice setting (the caller may know it).
bool ApplyVoiceSetting(VoiceParams& params, const std::string& key, const std::string& value);

// Parses a note name such as "C4", "F#3" or "Bb2" into a MIDI note number (C4 = 60).
int ParseNoteName(const std::string& word);

// Settings applied to the whole file: "reverb <mix> [size] [damping]", "echo <time> [feedback] [mix]"
// and "peak <dB>". False when the line is none of these. `echoTimeScale` converts the echo time
// (seconds in recipes, beats in scores) into seconds.
bool ApplyGlobalSetting(const TextLine& line, ReverbSettings& reverb, EchoSettings& echo, double& peakDb,
                        double echoTimeScale);

}  // namespace bake::synth
