// Sound-effect recipes (content/sounds/<Name>.sfx), one setting per line, a word starting with "#" begins a
// comment:
//
//   channels 1|2                     mono (default) or stereo
//   peak <dB>                        loudest sample after normalising (default -1)
//   seed <n>                         noise seed (default 1); the same recipe always gives the same sound
//   reverb <mix> [size] [damping]    shared reverb (size and damping 0..1)
//   echo <seconds> [feedback] [mix]  shared ping-pong echo
//   layer <wave> key=value ...       one voice; waves: sine square saw triangle noise pnoise
//
// Layer keys (times in seconds, pitches in Hz):
//   at=0 start, len=0.1 time the key is held (the release follows), freq=440 start pitch,
//   to=<freq> end pitch, glide=<len> time of the exponential slide from freq to to,
//   repeat=1 number of plays, every=<len> time between them, step=0 semitones added per repeat,
//   fade=1 volume factor per repeat;
//   a layer with sustain=0 is struck, not held: it dies away over its decay whatever len says;
//   and the voice keys shared with the music instruments:
//   duty attack decay sustain release vol pan vib vibdepth vibdelay trem tremdepth
//   filter=lp|hp|bp|none cutoff cutoff_to cutoff_time q unison detune reverb echo
//   (reverb/echo are the layer's sends into the shared effects, default 1).
// "pnoise" is noise held for one period of freq: a pitched, gritty hiss.
#include <algorithm>
#include <cmath>

#include "synth.hpp"
#include "synth_dsp.hpp"
#include "synth_text.hpp"

namespace bake {
namespace {

using namespace synth;

constexpr double kMaxLength = 10.0;  // seconds; an effect is a short one-shot
constexpr float kQuality = 0.4f;

struct Voice {
    VoiceParams params;
    NoteEvent note;
};

struct Recipe {
    int channels = 1;
    double peakDb = -1.0;
    std::uint32_t seed = 1;
    ReverbSettings reverb;
    EchoSettings echo;
    std::vector<Voice> voices;
};

void ParseLayer(const TextLine& line, Recipe& recipe) {
    if (line.words.size() < 2) throw Problem("'layer' needs a wave");
    VoiceParams params;
    params.wave = ParseWave(line.words[1]);
    double at = 0.0, len = 0.1, freq = 440.0, to = -1.0, glide = -1.0, every = -1.0, step = 0.0, fade = 1.0;
    int repeat = 1;
    for (std::size_t i = 2; i < line.words.size(); ++i) {
        std::string key, value;
        SplitSetting(line.words[i], key, value);
        if (key == "at")
            at = ParseNumber(value, key, 0.0, kMaxLength);
        else if (key == "len")
            len = ParseNumber(value, key, 0.001, kMaxLength);
        else if (key == "freq")
            freq = ParseNumber(value, key, 1.0, 20000.0);
        else if (key == "to")
            to = ParseNumber(value, key, 1.0, 20000.0);
        else if (key == "glide")
            glide = ParseNumber(value, key, 0.0, kMaxLength);
        else if (key == "repeat")
            repeat = static_cast<int>(ParseNumber(value, key, 1.0, 64.0));
        else if (key == "every")
            every = ParseNumber(value, key, 0.001, kMaxLength);
        else if (key == "step")
            step = ParseNumber(value, key, -48.0, 48.0);
        else if (key == "fade")
            fade = ParseNumber(value, key, 0.0, 2.0);
        else if (!ApplyVoiceSetting(params, key, value))
            throw Problem("unknown layer key '" + key + "'");
    }
    if (to < 0.0) to = freq;
    if (glide < 0.0) glide = len;
    if (every < 0.0) every = len;
    for (int r = 0; r < repeat; ++r) {
        Voice voice;
        voice.params = params;
        voice.params.volume = params.volume * std::pow(fade, r);
        const double shift = std::exp2(step * r / 12.0);
        voice.note.start = at + every * r;
        voice.note.gate = params.sustain > 0.0 ? len : params.attack + params.decay * 2.4;
        voice.note.freqStart = std::min(freq * shift, 20000.0);
        voice.note.freqEnd = std::min(to * shift, 20000.0);
        voice.note.glide = glide;
        voice.note.velocity = 1.0;
        voice.note.seed =
            recipe.seed * 2654435761u + static_cast<std::uint32_t>(recipe.voices.size()) * 40503u + 1u;
        if (VoiceLength(voice.params, voice.note) + voice.note.start > kMaxLength)
            throw Problem("layer lasts past " + std::to_string(static_cast<int>(kMaxLength)) + " s");
        recipe.voices.push_back(voice);
    }
}

Recipe ParseRecipe(const std::string& path, const std::vector<TextLine>& lines) {
    Recipe recipe;
    for (const TextLine& line : lines) {
        try {
            const auto& w = line.words;
            if (ApplyGlobalSetting(line, recipe.reverb, recipe.echo, recipe.peakDb, 1.0)) continue;
            if (w[0] == "channels") {
                if (w.size() != 2) throw Problem("'channels' takes one value");
                recipe.channels = static_cast<int>(ParseNumber(w[1], "channels", 1.0, 2.0));
                if (w[1] != "1" && w[1] != "2") throw Problem("channels must be 1 or 2");
            } else if (w[0] == "seed") {
                if (w.size() != 2) throw Problem("'seed' takes one value");
                recipe.seed = static_cast<std::uint32_t>(ParseNumber(w[1], "seed", 0.0, 4294967295.0));
            } else if (w[0] == "layer") {
                ParseLayer(line, recipe);
            } else {
                throw Problem("unknown setting '" + w[0] + "'");
            }
        } catch (const Problem& problem) {
            throw Problem(Located(path, line.number, problem.what()));
        }
    }
    if (recipe.voices.empty()) throw Problem(path + ": no layer to play");
    return recipe;
}

}  // namespace

bool BakeSoundEffect(const std::string& recipeFile, const std::string& oggFile, std::string& error) {
    std::vector<TextLine> lines;
    if (!ReadTextLines(recipeFile, lines, error)) return false;
    Recipe recipe;
    try {
        recipe = ParseRecipe(recipeFile, lines);
    } catch (const Problem& problem) {
        error = problem.what();
        return false;
    }

    double length = 0.0;
    for (const Voice& v : recipe.voices)
        length = std::max(length, v.note.start + VoiceLength(v.params, v.note));
    length = std::min(length + EchoTail(recipe.echo) + ReverbTail(recipe.reverb), kMaxLength);
    Mix mix(static_cast<std::size_t>(std::ceil(length * kSampleRate)) + 1);
    for (const Voice& v : recipe.voices) mix.Play(v.params, v.note);
    mix.Finish(recipe.reverb, recipe.echo);

    auto& left = mix.Left();
    auto& right = mix.Right();
    if (recipe.channels == 1)
        for (std::size_t i = 0; i < left.size(); ++i) left[i] = (left[i] + right[i]) * 0.5f;
    if (recipe.channels == 1) right.assign(left.size(), 0.0f);
    if (!Normalise(left, right, recipe.peakDb)) {
        error = recipeFile + ": the recipe renders silence";
        return false;
    }

    // Drop the inaudible end (below -60 dBFS), then fade the last few milliseconds so nothing clicks.
    std::size_t end = left.size();
    while (end > 1 && std::abs(left[end - 1]) < 1e-3f && std::abs(right[end - 1]) < 1e-3f) --end;
    left.resize(end);
    right.resize(end);
    const std::size_t fade = std::min<std::size_t>(end, kSampleRate / 200);
    for (std::size_t i = 0; i < fade; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        left[end - 1 - i] *= g;
        right[end - 1 - i] *= g;
    }

    std::vector<const std::vector<float>*> channels{&left};
    if (recipe.channels == 2) channels.push_back(&right);
    return WriteOggVorbis(oggFile, channels, kSampleRate, kQuality, error);
}

}  // namespace bake
