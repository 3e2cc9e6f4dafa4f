#pragma once
// The synthesiser's sound engine: voices (oscillator -> filter -> envelope) mixed into a stereo
// buffer, with shared reverb and echo sends. Both the effect recipes and the music scores are turned
// into a list of notes played by voices described here.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "synth_ogg.hpp"

namespace bake::synth {

constexpr int kSampleRate = 44100;

enum class Wave { Sine, Square, Saw, Triangle, Noise, SampleHold };
enum class FilterMode { None, LowPass, HighPass, BandPass };

// How one voice sounds. Times are in seconds, frequencies in Hz.
struct VoiceParams {
    Wave wave = Wave::Sine;
    double duty = 0.5;  // square waves: fraction of the period spent high
    double attack = 0.002;
    double decay = 0.1;
    double sustain = 1.0;  // level held after the decay, 0..1
    double release = 0.02;
    double volume = 1.0;
    double pan = 0.0;                                      // -1 left .. +1 right
    double vibRate = 0.0, vibDepth = 0.0, vibDelay = 0.0;  // depth in semitones
    double tremRate = 0.0, tremDepth = 0.0;                // depth 0..1
    FilterMode filter = FilterMode::None;
    double cutoff = 8000.0;
    double cutoffEnd = -1.0;   // < 0: the cutoff stays put
    double cutoffTime = -1.0;  // < 0: the cutoff moves over the whole gate
    double resonance = 0.707;  // filter Q
    int unison = 1;            // detuned copies spread across the stereo field
    double detune = 0.0;       // cents between the outermost copies and the centre
    double reverbSend = 1.0;
    double echoSend = 1.0;
};

// One played note: when, how long the key is held, and the pitch path.
struct NoteEvent {
    double start = 0.0;
    double gate = 0.1;
    double freqStart = 440.0;
    double freqEnd = 440.0;
    double glide = 0.0;  // seconds from freqStart to freqEnd (exponential)
    double velocity = 1.0;
    std::uint32_t seed = 1;
};

// Seconds a voice keeps sounding after its start (gate plus release, or less when it dies away).
double VoiceLength(const VoiceParams& p, const NoteEvent& n);

struct ReverbSettings {
    double mix = 0.0;  // 0 = off
    double size = 0.5;
    double damping = 0.4;
};

// Seconds the reverb needs to die away by 80 dB once its input stops.
double ReverbTail(const ReverbSettings& reverb);

struct EchoSettings {
    double mix = 0.0;  // 0 = off
    double time = 0.25;
    double feedback = 0.3;
};

// Seconds the echo needs to die away by 60 dB once its input stops.
double EchoTail(const EchoSettings& echo);

// A stereo mix being built: dry voices plus the sends that feed the shared reverb and echo.
class Mix {
  public:
    explicit Mix(std::size_t frames);
    std::size_t Frames() const { return left_.size(); }
    void Play(const VoiceParams& p, const NoteEvent& n);
    // Runs the sends through the effects and adds them to the dry signal, then removes any DC.
    void Finish(const ReverbSettings& reverb, const EchoSettings& echo);
    std::vector<float>& Left() { return left_; }
    std::vector<float>& Right() { return right_; }

  private:
    std::vector<float> left_, right_, reverbSend_, echoSend_;
};

// Treats the buffers as one turn of a loop and pulls its loudest peaks down by `reductionDb` with a
// look-ahead limiter (fast, smooth attack; slow release), wrapping around the loop point so the
// result still loops seamlessly.
void LimitLoop(std::vector<float>& left, std::vector<float>& right, double reductionDb);

// Scales both channels so the loudest sample sits at `peakDb` dBFS. False when the mix is silent.
bool Normalise(std::vector<float>& left, std::vector<float>& right, double peakDb);

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteFrequency(double midi);

}  // namespace bake::synth
