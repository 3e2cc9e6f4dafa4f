#include "synth_text.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace bake::synth {

bool ReadTextLines(const std::string& path, std::vector<TextLine>& lines, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    lines.clear();
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        std::istringstream words(text);
        TextLine line;
        line.number = number;
        // A comment is a word starting with '#'; inside a word '#' is a sharp ("F#3").
        for (std::string word; words >> word && word[0] != '#';) line.words.push_back(word);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    if (in.bad()) {
        error = path + ": read failed";
        return false;
    }
    return true;
}

std::string Located(const std::string& path, int line, const std::string& message) {
    return path + ":" + std::to_string(line) + ": " + message;
}

double ParseNumber(const std::string& word, const std::string& what, double low, double high) {
    double value = 0.0;
    const char* begin = word.data();
    const char* end = begin + word.size();
    if (begin != end && *begin == '+') ++begin;  // "+12" reads as naturally as "-12"
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end || !std::isfinite(value))
        throw Problem(what + " '" + word + "' is not a number");
    if (value < low || value > high) {
        std::ostringstream message;
        message << what << " " << word << " is outside " << low << ".." << high;
        throw Problem(message.str());
    }
    return value;
}

Wave ParseWave(const std::string& word) {
    if (word == "sine") return Wave::Sine;
    if (word == "square") return Wave::Square;
    if (word == "saw") return Wave::Saw;
    if (word == "triangle") return Wave::Triangle;
    if (word == "noise") return Wave::Noise;
    if (word == "pnoise") return Wave::SampleHold;
    throw Problem("unknown wave '" + word + "' (sine, square, saw, triangle, noise, pnoise)");
}

void SplitSetting(const std::string& word, std::string& key, std::string& value) {
    const auto eq = word.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == word.size())
        throw Problem("expected key=value, found '" + word + "'");
    key = word.substr(0, eq);
    value = word.substr(eq + 1);
}

bool ApplyVoiceSetting(VoiceParams& p, const std::string& key, const std::string& v) {
    if (key == "duty")
        p.duty = ParseNumber(v, key, 0.05, 0.95);
    else if (key == "attack")
        p.attack = ParseNumber(v, key, 0.0, 10.0);
    else if (key == "decay")
        p.decay = ParseNumber(v, key, 0.0, 30.0);
    else if (key == "sustain")
        p.sustain = ParseNumber(v, key, 0.0, 1.0);
    else if (key == "release")
        p.release = ParseNumber(v, key, 0.0, 30.0);
    else if (key == "vol")
        p.volume = ParseNumber(v, key, 0.0, 4.0);
    else if (key == "pan")
        p.pan = ParseNumber(v, key, -1.0, 1.0);
    else if (key == "vib")
        p.vibRate = ParseNumber(v, key, 0.0, 50.0);
    else if (key == "vibdepth")
        p.vibDepth = ParseNumber(v, key, 0.0, 24.0);
    else if (key == "vibdelay")
        p.vibDelay = ParseNumber(v, key, 0.0, 30.0);
    else if (key == "trem")
        p.tremRate = ParseNumber(v, key, 0.0, 100.0);
    else if (key == "tremdepth")
        p.tremDepth = ParseNumber(v, key, 0.0, 1.0);
    else if (key == "cutoff")
        p.cutoff = ParseNumber(v, key, 10.0, 22000.0);
    else if (key == "cutoff_to")
        p.cutoffEnd = ParseNumber(v, key, 10.0, 22000.0);
    else if (key == "cutoff_time")
        p.cutoffTime = ParseNumber(v, key, 0.0, 60.0);
    else if (key == "q")
        p.resonance = ParseNumber(v, key, 0.3, 30.0);
    else if (key == "unison")
        p.unison = static_cast<int>(ParseNumber(v, key, 1.0, 8.0));
    else if (key == "detune")
        p.detune = ParseNumber(v, key, 0.0, 100.0);
    else if (key == "reverb")
        p.reverbSend = ParseNumber(v, key, 0.0, 4.0);
    else if (key == "echo")
        p.echoSend = ParseNumber(v, key, 0.0, 4.0);
    else if (key == "filter") {
        if (v == "lp")
            p.filter = FilterMode::LowPass;
        else if (v == "hp")
            p.filter = FilterMode::HighPass;
        else if (v == "bp")
            p.filter = FilterMode::BandPass;
        else if (v == "none")
            p.filter = FilterMode::None;
        else
            throw Problem("unknown filter '" + v + "' (lp, hp, bp, none)");
    } else {
        return false;
    }
    // Instant edges click: the shortest attack and release are kept just long enough to be smooth.
    p.attack = std::max(p.attack, 0.001);
    p.release = std::max(p.release, 0.003);
    return true;
}

int ParseNoteName(const std::string& word) {
    static constexpr int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const auto bad = [&] { return Problem("bad note '" + word + "' (expected e.g. C4, F#3, Bb2)"); };
    if (word.empty()) throw bad();
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    if (letter < 'A' || letter > 'G') throw bad();
    int note = kSemitone[letter - 'A'];
    std::size_t i = 1;
    if (i < word.size() && word[i] == '#')
        ++note, ++i;
    else if (i < word.size() && word[i] == 'b')
        --note, ++i;
    if (i + 1 != word.size() || !std::isdigit(static_cast<unsigned char>(word[i]))) throw bad();
    const int octave = word[i] - '0';
    return (octave + 1) * 12 + note;
}

bool ApplyGlobalSetting(const TextLine& line, ReverbSettings& reverb, EchoSettings& echo, double& peakDb,
                        double echoTimeScale) {
    const auto& w = line.words;
    const auto arguments = [&](std::size_t low, std::size_t high) {
        if (w.size() - 1 < low || w.size() - 1 > high)
            throw Problem("'" + w[0] + "' takes " + std::to_string(low) + " to " + std::to_string(high) +
                          " values");
    };
    if (w[0] == "reverb") {
        arguments(1, 3);
        reverb.mix = ParseNumber(w[1], "reverb mix", 0.0, 2.0);
        if (w.size() > 2) reverb.size = ParseNumber(w[2], "reverb size", 0.0, 1.0);
        if (w.size() > 3) reverb.damping = ParseNumber(w[3], "reverb damping", 0.0, 1.0);
    } else if (w[0] == "echo") {
        arguments(1, 3);
        echo.time = ParseNumber(w[1], "echo time", 0.001, 8.0) * echoTimeScale;
        echo.mix = 0.3;
        if (w.size() > 2) echo.feedback = ParseNumber(w[2], "echo feedback", 0.0, 0.95);
        if (w.size() > 3) echo.mix = ParseNumber(w[3], "echo mix", 0.0, 2.0);
    } else if (w[0] == "peak") {
        arguments(1, 1);
        peakDb = ParseNumber(w[1], "peak", -40.0, 0.0);
    } else {
        return false;
    }
    return true;
}

}  // namespace bake::synth
