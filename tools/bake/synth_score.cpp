// Music scores (content/music/<Track>.score), one statement per line, a word starting with "#" begins a
// comment:
//
//   tempo <bpm>                      required
//   beats <n>                        beats per bar (default 4)
//   steps <n>                        steps per beat (default 4): the grid patterns are written on
//   swing <0..0.5>                   every second step comes this fraction of a step late
//   peak <dB>                        loudest sample after normalising (default -1.5: the codec
//                                    adds a little on top)
//   limit <dB>                       first pull the loudest peaks (drum hits) down this far, so the
//                                    rest of the mix can come up (default 0: off)
//   seed <n>                         noise seed (default 1)
//   reverb <mix> [size] [damping]    shared reverb
//   echo <beats> [feedback] [mix]    shared ping-pong echo, time in beats
//   instrument <name> <wave> key=value ...
//                                    naming an instrument again adds a layer to it (e.g. a snare is
//                                    a noise burst plus a short tone)
//   pattern <name> <instrument> <step> ...
//   | <step> ...                     continues the pattern above
//   play <bars> <pattern>[+n|-n] ... plays these patterns together for <bars> bars, each one repeated
//                                    to fill them, transposed by n semitones when asked
//
// The play lines, in order, make the whole track, which loops: whatever rings past the end (release,
// echo, reverb) is folded back onto the start, so the loop point is seamless.
//
// Steps: "." rest, "-" holds the previous note one step longer, "x" a hit at the instrument's own
// pitch, "X" an accented hit, "o" a ghost hit; a note "C4", "F#3", "Bb2", a chord "C4+E4+G4" or
// "C4:maj" (maj min 7 maj7 m7 sus2 sus4 dim aug 5 oct); a note or chord followed by "!" is accented,
// by "?" a ghost. "<step>*n" writes the step n times ("-*15" holds a note through the rest of a bar).
// "|" between steps is only there for the eye.
//
// Instrument keys: the voice keys of the effect recipes (see synth_sfx.cpp) plus
//   freq=<Hz> pitch of x hits (default 440), transpose=<semitones> for this layer,
//   sweep=<semitones> the note starts this far off and slides in over sweeptime=<s> (drums: kicks),
//   len=<s> fixed time a key is held whatever the notation, gate=0.9 fraction of the written length held.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "synth.hpp"
#include "synth_dsp.hpp"
#include "synth_text.hpp"

namespace bake {
namespace {

using namespace synth;

constexpr double kMaxLength = 300.0;  // seconds
constexpr float kQuality = 0.3f;
constexpr double kVelocity = 0.8, kAccent = 1.0, kGhost = 0.45;

struct Layer {
    VoiceParams params;
    double freq = 440.0;
    double transpose = 0.0;
    double sweep = 0.0;
    double sweepTime = 0.05;
    double len = -1.0;
    double gate = 0.9;
};

struct Step {
    enum Kind { Rest, Hold, Play } kind = Rest;
    std::vector<int> notes;  // MIDI notes; empty for a hit at the instrument's own pitch
    double velocity = kVelocity;
};

struct Pattern {
    std::string instrument;
    std::vector<Step> steps;
};

struct Block {
    int bars = 0;
    std::vector<std::pair<std::string, int>> patterns;  // name, transposition
    int line = 0;
};

struct Score {
    double tempo = 0.0;
    int beats = 4;
    int steps = 4;
    double swing = 0.0;
    double peakDb = -1.5;
    double limitDb = 0.0;
    std::uint32_t seed = 1;
    ReverbSettings reverb;
    EchoSettings echo;
    double echoBeats = 0.0;
    std::map<std::string, std::vector<Layer>> instruments;
    std::map<std::string, Pattern> patterns;
    std::vector<Block> blocks;
};

bool IsName(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::vector<int> ChordIntervals(const std::string& kind) {
    static const std::map<std::string, std::vector<int>> kChords{
        {"maj", {0, 4, 7}},    {"min", {0, 3, 7}},  {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},  {"dim", {0, 3, 6}},
        {"aug", {0, 4, 8}},    {"5", {0, 7}},       {"oct", {0, 12}}};
    const auto it = kChords.find(kind);
    if (it == kChords.end()) throw Problem("unknown chord '" + kind + "'");
    return it->second;
}

Step ParseStep(const std::string& word) {
    Step step;
    if (word.empty()) throw Problem("empty step");
    if (word == ".") return step;
    if (word == "-") {
        step.kind = Step::Hold;
        return step;
    }
    step.kind = Step::Play;
    if (word == "x" || word == "X" || word == "o") {
        step.velocity = word == "X" ? kAccent : word == "o" ? kGhost : kVelocity;
        return step;
    }
    std::string text = word;
    if (text.back() == '!' || text.back() == '?') {
        step.velocity = text.back() == '!' ? kAccent : kGhost;
        text.pop_back();
    }
    if (const auto colon = text.find(':'); colon != std::string::npos) {
        const int root = ParseNoteName(text.substr(0, colon));
        for (int interval : ChordIntervals(text.substr(colon + 1))) step.notes.push_back(root + interval);
    } else {
        std::size_t begin = 0;
        while (begin <= text.size()) {
            const auto plus = std::min(text.find('+', begin), text.size());
            step.notes.push_back(ParseNoteName(text.substr(begin, plus - begin)));
            begin = plus + 1;
        }
    }
    return step;
}

void ParseInstrument(const TextLine& line, Score& score) {
    const auto& w = line.words;
    if (w.size() < 3) throw Problem("'instrument' needs a name and a wave");
    if (!IsName(w[1])) throw Problem("bad instrument name '" + w[1] + "'");
    Layer layer;
    layer.params.wave = ParseWave(w[2]);
    for (std::size_t i = 3; i < w.size(); ++i) {
        std::string key, value;
        SplitSetting(w[i], key, value);
        if (key == "freq")
            layer.freq = ParseNumber(value, key, 1.0, 20000.0);
        else if (key == "transpose")
            layer.transpose = ParseNumber(value, key, -48.0, 48.0);
        else if (key == "sweep")
            layer.sweep = ParseNumber(value, key, -48.0, 48.0);
        else if (key == "sweeptime")
            layer.sweepTime = ParseNumber(value, key, 0.0, 10.0);
        else if (key == "len")
            layer.len = ParseNumber(value, key, 0.001, 30.0);
        else if (key == "gate")
            layer.gate = ParseNumber(value, key, 0.05, 1.0);
        else if (!ApplyVoiceSetting(layer.params, key, value))
            throw Problem("unknown instrument key '" + key + "'");
    }
    score.instruments[w[1]].push_back(layer);
}

void ParsePlay(const TextLine& line, Score& score) {
    const auto& w = line.words;
    if (w.size() < 2) throw Problem("'play' needs a number of bars");
    Block block;
    block.line = line.number;
    block.bars = static_cast<int>(ParseNumber(w[1], "bars", 1.0, 512.0));
    for (std::size_t i = 2; i < w.size(); ++i) {
        const auto sign = w[i].find_first_of("+-");
        const std::string name = w[i].substr(0, sign);
        int shift = 0;
        if (sign != std::string::npos)
            shift = static_cast<int>(ParseNumber(w[i].substr(sign), "transposition", -48.0, 48.0));
        if (!score.patterns.count(name)) throw Problem("unknown pattern '" + name + "'");
        block.patterns.emplace_back(name, shift);
    }
    score.blocks.push_back(block);
}

Score ParseScore(const std::string& path, const std::vector<TextLine>& lines) {
    Score score;
    Pattern* continued = nullptr;
    for (const TextLine& line : lines) {
        try {
            const auto& w = line.words;
            auto appendSteps = [&](Pattern& pattern, std::size_t from) {
                for (std::size_t i = from; i < w.size(); ++i) {
                    if (w[i] == "|") continue;
                    const auto star = w[i].find('*');
                    int count = 1;
                    if (star != std::string::npos && star > 0)
                        count =
                            static_cast<int>(ParseNumber(w[i].substr(star + 1), "repeat count", 1.0, 256.0));
                    const Step parsed = ParseStep(w[i].substr(0, star));
                    pattern.steps.insert(pattern.steps.end(), static_cast<std::size_t>(count), parsed);
                }
            };
            if (w[0] == "|") {
                if (!continued) throw Problem("'|' continues a pattern, but no pattern comes before it");
                appendSteps(*continued, 1);
                continue;
            }
            continued = nullptr;
            if (ApplyGlobalSetting(line, score.reverb, score.echo, score.peakDb, 1.0)) {
                if (w[0] == "echo") score.echoBeats = score.echo.time;  // seconds once the tempo is known
                continue;
            }
            const auto single = [&](double low, double high) {
                if (w.size() != 2) throw Problem("'" + w[0] + "' takes one value");
                return ParseNumber(w[1], w[0], low, high);
            };
            if (w[0] == "tempo")
                score.tempo = single(20.0, 400.0);
            else if (w[0] == "beats")
                score.beats = static_cast<int>(single(1.0, 16.0));
            else if (w[0] == "steps")
                score.steps = static_cast<int>(single(1.0, 16.0));
            else if (w[0] == "swing")
                score.swing = single(0.0, 0.5);
            else if (w[0] == "limit")
                score.limitDb = single(0.0, 12.0);
            else if (w[0] == "seed")
                score.seed = static_cast<std::uint32_t>(single(0.0, 4294967295.0));
            else if (w[0] == "instrument")
                ParseInstrument(line, score);
            else if (w[0] == "pattern") {
                if (w.size() < 3) throw Problem("'pattern' needs a name and an instrument");
                if (!IsName(w[1])) throw Problem("bad pattern name '" + w[1] + "'");
                if (score.patterns.count(w[1])) throw Problem("pattern '" + w[1] + "' is defined twice");
                if (!score.instruments.count(w[2])) throw Problem("unknown instrument '" + w[2] + "'");
                Pattern& pattern = score.patterns[w[1]];
                pattern.instrument = w[2];
                appendSteps(pattern, 3);
                continued = &pattern;
            } else if (w[0] == "play")
                ParsePlay(line, score);
            else
                throw Problem("unknown statement '" + w[0] + "'");
        } catch (const Problem& problem) {
            throw Problem(Located(path, line.number, problem.what()));
        }
    }
    // A miscounted pattern would drift against the others bar after bar: insist that it fits the bars.
    const std::size_t bar = static_cast<std::size_t>(score.beats * score.steps);
    for (const auto& [name, pattern] : score.patterns) {
        const std::size_t n = pattern.steps.size();
        if (n == 0) throw Problem(path + ": pattern '" + name + "' has no steps");
        if (n % bar != 0 && bar % n != 0)
            throw Problem(path + ": pattern '" + name + "' has " + std::to_string(n) +
                          " steps, which does not fit bars of " + std::to_string(bar));
    }
    if (score.tempo <= 0.0) throw Problem(path + ": no tempo");
    if (score.blocks.empty()) throw Problem(path + ": no play line");
    return score;
}

struct Voice {
    const VoiceParams* params;
    NoteEvent note;
};

}  // namespace

bool BakeMusicTrack(const std::string& scoreFile, const std::string& oggFile, std::string& error) {
    std::vector<TextLine> lines;
    if (!ReadTextLines(scoreFile, lines, error)) return false;
    Score score;
    try {
        score = ParseScore(scoreFile, lines);
    } catch (const Problem& problem) {
        error = problem.what();
        return false;
    }

    const double beat = 60.0 / score.tempo;
    const double step = beat / score.steps;
    const int barSteps = score.beats * score.steps;
    if (score.echo.mix > 0.0) score.echo.time = score.echoBeats * beat;

    // Lay out every note of the track.
    std::vector<Voice> voices;
    std::uint32_t noteCount = 0;
    long firstStep = 0;
    for (const Block& block : score.blocks) {
        const long blockSteps = static_cast<long>(block.bars) * barSteps;
        for (const auto& [name, shift] : block.patterns) {
            const Pattern& pattern = score.patterns.at(name);
            const auto& layers = score.instruments.at(pattern.instrument);
            const long length = static_cast<long>(pattern.steps.size());
            for (long k = 0; k < blockSteps; ++k) {
                const Step& s = pattern.steps[static_cast<std::size_t>(k % length)];
                if (s.kind != Step::Play) continue;
                long end = k + 1;
                while (end < blockSteps &&
                       pattern.steps[static_cast<std::size_t>(end % length)].kind == Step::Hold)
                    ++end;
                const long at = firstStep + k;
                const double start =
                    static_cast<double>(at) * step + (at % 2 == 1 ? score.swing * step : 0.0);
                for (const Layer& layer : layers) {
                    std::vector<double> pitches;
                    if (s.notes.empty()) pitches.push_back(layer.freq * std::exp2(layer.transpose / 12.0));
                    for (int midi : s.notes) pitches.push_back(NoteFrequency(midi + shift + layer.transpose));
                    for (double freq : pitches) {
                        Voice v{&layer.params, {}};
                        v.note.start = start;
                        v.note.gate =
                            layer.len > 0.0 ? layer.len : static_cast<double>(end - k) * step * layer.gate;
                        v.note.freqEnd = std::min(freq, 20000.0);
                        v.note.freqStart = std::min(freq * std::exp2(layer.sweep / 12.0), 20000.0);
                        v.note.glide = layer.sweep != 0.0 ? layer.sweepTime : 0.0;
                        v.note.velocity = s.velocity;
                        v.note.seed = score.seed * 2654435761u + ++noteCount * 40503u;
                        voices.push_back(v);
                    }
                }
            }
        }
        firstStep += blockSteps;
    }

    const double loop = static_cast<double>(firstStep) * step;
    if (loop > kMaxLength) {
        error = scoreFile + ": the track lasts " + std::to_string(static_cast<int>(loop)) + " s, more than " +
                std::to_string(static_cast<int>(kMaxLength));
        return false;
    }
    double end = loop;
    for (const Voice& v : voices) end = std::max(end, v.note.start + VoiceLength(*v.params, v.note));
    const double tail = end - loop + EchoTail(score.echo) + ReverbTail(score.reverb);

    const auto loopFrames = static_cast<std::size_t>(std::llround(loop * kSampleRate));
    const auto tailFrames = static_cast<std::size_t>(std::ceil(tail * kSampleRate)) + 1;
    Mix mix(loopFrames + tailFrames);
    for (const Voice& v : voices) mix.Play(*v.params, v.note);
    mix.Finish(score.reverb, score.echo);

    // Fold the ring-out back onto the start: played in a loop, the start hears the end's tail.
    auto& left = mix.Left();
    auto& right = mix.Right();
    for (std::size_t i = loopFrames; i < left.size(); ++i) {
        left[i % loopFrames] += left[i];
        right[i % loopFrames] += right[i];
    }
    left.resize(loopFrames);
    right.resize(loopFrames);
    LimitLoop(left, right, score.limitDb);
    if (!Normalise(left, right, score.peakDb)) {
        error = scoreFile + ": the score renders silence";
        return false;
    }
    return WriteOggVorbis(oggFile, {&left, &right}, kSampleRate, kQuality, error);
}

}  // namespace bake
