#include "synth_dsp.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace bake::synth {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Envelope segments approach their target like exp(-4 t / length): 98% of the way at `length`.
constexpr double kEnvelopeRate = 4.0;
// Filter coefficients follow a moving cutoff in blocks this long; tan() per sample is wasteful.
constexpr int kFilterBlock = 8;

// Small, fast and, above all, the same on every machine: the noise must be identical between bakes.
struct Random {
    std::uint32_t state;
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double Next() {  // -1 .. 1
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

// Band-limiting correction for a hard edge at phase 0 (saw and square waves alias badly without it).
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// State-variable filter (trapezoidal integration): stays stable while the cutoff moves.
struct Svf {
    double ic1 = 0.0, ic2 = 0.0, a1 = 0.0, a2 = 0.0, a3 = 0.0, k = 1.0;
    void Set(double cutoff, double q) {
        cutoff = std::clamp(cutoff, 10.0, kSampleRate * 0.45);
        const double g = std::tan(kPi * cutoff / kSampleRate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    double Process(double v0, FilterMode mode) {
        const double v3 = v0 - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        switch (mode) {
            case FilterMode::LowPass:
                return v2;
            case FilterMode::BandPass:
                return v1;
            case FilterMode::HighPass:
                return v0 - k * v1 - v2;
            case FilterMode::None:
                break;
        }
        return v0;
    }
};

double EnvelopeBeforeRelease(const VoiceParams& p, double t) {
    if (t < p.attack) return t / p.attack;
    if (p.decay <= 0.0) return p.sustain;
    return p.sustain + (1.0 - p.sustain) * std::exp(-kEnvelopeRate * (t - p.attack) / p.decay);
}

// Freeverb-style reverb: parallel damped combs into series allpasses, slightly different per side.
class Reverb {
  public:
    Reverb(double size, double damping, int spread) : feedback_(Feedback(size)), damping_(damping) {
        static constexpr std::array<int, 8> kCombs{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static constexpr std::array<int, 4> kAllpasses{556, 441, 341, 225};
        for (int c : kCombs)
            combs_.push_back({std::vector<float>(static_cast<std::size_t>(c + spread), 0.0f)});
        for (int a : kAllpasses)
            allpasses_.push_back({std::vector<float>(static_cast<std::size_t>(a + spread), 0.0f)});
    }
    static double Feedback(double size) { return 0.7 + 0.28 * size; }
    static constexpr double kLongestComb = 1617.0 + 23.0;  // samples

    float Process(float in) {
        float out = 0.0f;
        for (auto& c : combs_) {
            const float y = c.buffer[c.index];
            c.store = static_cast<float>(y * (1.0 - damping_) + c.store * damping_);
            c.buffer[c.index] = in + static_cast<float>(c.store * feedback_);
            if (++c.index == c.buffer.size()) c.index = 0;
            out += y;
        }
        for (auto& a : allpasses_) {
            const float b = a.buffer[a.index];
            a.buffer[a.index] = out + b * 0.5f;
            out = b - out;
            if (++a.index == a.buffer.size()) a.index = 0;
        }
        return out;
    }

  private:
    struct Line {
        std::vector<float> buffer;
        std::size_t index = 0;
        float store = 0.0f;
    };
    double feedback_, damping_;
    std::vector<Line> combs_, allpasses_;
};

}  // namespace

double ReverbTail(const ReverbSettings& reverb) {
    if (reverb.mix <= 0.0) return 0.0;
    // Each trip round the longest comb loses a factor `feedback`; the allpasses add a little more.
    const double trips = std::log(1e-4) / std::log(Reverb::Feedback(reverb.size));
    return trips * Reverb::kLongestComb / kSampleRate + 0.05;
}

double EchoTail(const EchoSettings& echo) {
    if (echo.mix <= 0.0) return 0.0;
    if (echo.feedback <= 0.0) return echo.time;
    return echo.time * (1.0 + std::log(1e-3) / std::log(echo.feedback));
}

double NoteFrequency(double midi) {
    return 440.0 * std::exp2((midi - 69.0) / 12.0);
}

double VoiceLength(const VoiceParams& p, const NoteEvent& n) {
    double length = n.gate + p.release;
    // A voice with no sustain is inaudible (below -80 dB) long before its key is let go.
    if (p.sustain <= 0.0 && p.decay > 0.0) length = std::min(length, p.attack + p.decay * 2.4);
    return length;
}

Mix::Mix(std::size_t frames) : left_(frames), right_(frames), reverbSend_(frames), echoSend_(frames) {}

void Mix::Play(const VoiceParams& p, const NoteEvent& n) {
    const auto first = static_cast<std::size_t>(std::max(0.0, std::round(n.start * kSampleRate)));
    if (first >= Frames()) return;
    const auto length = static_cast<std::size_t>(std::ceil(VoiceLength(p, n) * kSampleRate));
    const std::size_t count = std::min(length, Frames() - first);
    const double logStart = std::log(n.freqStart), logEnd = std::log(n.freqEnd);
    const double cutoffEnd = p.cutoffEnd < 0.0 ? p.cutoff : p.cutoffEnd;
    const double cutoffTime = p.cutoffTime < 0.0 ? n.gate : p.cutoffTime;
    const double logCutStart = std::log(p.cutoff), logCutEnd = std::log(cutoffEnd);
    const int copies = std::max(1, p.unison);
    Random random(n.seed);

    for (int copy = 0; copy < copies; ++copy) {
        // Copies spread evenly from -detune to +detune cents, and from left to right around `pan`.
        const double spread = copies == 1 ? 0.0 : 2.0 * copy / (copies - 1) - 1.0;
        const double ratio = std::exp2(spread * p.detune / 1200.0);
        const double pan = std::clamp(p.pan + spread * 0.35, -1.0, 1.0);
        const double angle = (pan + 1.0) * kPi / 4.0;
        const double gain = p.volume * n.velocity / std::sqrt(static_cast<double>(copies));
        const float gainLeft = static_cast<float>(std::cos(angle) * gain * std::sqrt(2.0));
        const float gainRight = static_cast<float>(std::sin(angle) * gain * std::sqrt(2.0));
        double phase = copies == 1 ? 0.0 : (random.Next() + 1.0) * 0.5;
        // The envelope's exponentials advance by one constant factor per sample rather than an exp() each.
        const double decayStep = p.decay > 0.0 ? std::exp(-kEnvelopeRate / (p.decay * kSampleRate)) : 0.0;
        const double releaseStep = std::exp(-kEnvelopeRate / (p.release * kSampleRate));
        const double gateLevel = EnvelopeBeforeRelease(p, n.gate);
        const double steadyFreq = n.freqEnd * ratio;
        double decayTerm = 1.0, releaseTerm = 1.0;
        double held = random.Next();
        Svf svf;
        for (std::size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            double freq = steadyFreq;
            if (n.glide > 0.0 && t < n.glide)
                freq = std::exp(logStart + (logEnd - logStart) * t / n.glide) * ratio;
            if (p.vibDepth > 0.0 && t >= p.vibDelay)
                freq *= std::exp2(p.vibDepth / 12.0 * std::sin(2.0 * kPi * p.vibRate * (t - p.vibDelay)));
            const double dt = std::min(freq / kSampleRate, 0.5);

            double s = 0.0;
            switch (p.wave) {
                case Wave::Sine:
                    s = std::sin(2.0 * kPi * phase);
                    break;
                case Wave::Saw:
                    s = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
                    break;
                case Wave::Square: {
                    s = phase < p.duty ? 1.0 : -1.0;
                    s += PolyBlep(phase, dt);
                    double falling = phase - p.duty;
                    if (falling < 0.0) falling += 1.0;
                    s -= PolyBlep(falling, dt);
                    s -= 2.0 * p.duty - 1.0;  // an uneven pulse carries DC
                    break;
                }
                case Wave::Triangle:
                    s = 1.0 - 4.0 * std::abs(phase - 0.5);
                    break;
                case Wave::Noise:
                    s = random.Next();
                    break;
                case Wave::SampleHold:
                    s = held;
                    break;
            }
            phase += dt;
            if (phase >= 1.0) {
                phase -= 1.0;
                held = random.Next();
            }

            if (p.filter != FilterMode::None) {
                if (i % kFilterBlock == 0) {
                    double cut = logCutEnd;
                    if (cutoffTime > 0.0 && t < cutoffTime)
                        cut = logCutStart + (logCutEnd - logCutStart) * t / cutoffTime;
                    svf.Set(std::exp(cut), p.resonance);
                }
                s = svf.Process(s, p.filter);
            }

            double amp;
            if (t < n.gate) {
                if (t < p.attack) {
                    amp = t / p.attack;
                } else {
                    amp = p.decay > 0.0 ? p.sustain + (1.0 - p.sustain) * decayTerm : p.sustain;
                    decayTerm *= decayStep;
                }
            } else {
                // Ends exactly on zero (the linear factor), so a voice never stops with a step.
                const double tau = t - n.gate;
                amp = tau >= p.release ? 0.0 : gateLevel * releaseTerm * (1.0 - tau / p.release);
                releaseTerm *= releaseStep;
            }
            if (p.tremDepth > 0.0)
                amp *= 1.0 - p.tremDepth * 0.5 * (1.0 - std::cos(2.0 * kPi * p.tremRate * t));
            const float out = static_cast<float>(s * amp);
            const std::size_t at = first + i;
            left_[at] += out * gainLeft;
            right_[at] += out * gainRight;
            const float mono = static_cast<float>(out * gain);
            reverbSend_[at] += mono * static_cast<float>(p.reverbSend);
            echoSend_[at] += mono * static_cast<float>(p.echoSend);
        }
    }
}

void Mix::Finish(const ReverbSettings& reverb, const EchoSettings& echo) {
    const std::size_t frames = Frames();
    if (echo.mix > 0.0) {
        // Ping-pong: the send enters on the left, each repeat crosses to the other side.
        const auto delay = static_cast<std::size_t>(std::max(1.0, std::round(echo.time * kSampleRate)));
        std::vector<float> lineLeft(delay, 0.0f), lineRight(delay, 0.0f);
        std::size_t index = 0;
        const auto feedback = static_cast<float>(echo.feedback), mix = static_cast<float>(echo.mix);
        for (std::size_t i = 0; i < frames; ++i) {
            const float outLeft = lineLeft[index], outRight = lineRight[index];
            lineLeft[index] = echoSend_[i] + outRight * feedback;
            lineRight[index] = outLeft * feedback;
            if (++index == delay) index = 0;
            left_[i] += outLeft * mix;
            right_[i] += outRight * mix;
            reverbSend_[i] += (outLeft + outRight) * 0.5f * static_cast<float>(echo.mix);
        }
    }
    if (reverb.mix > 0.0) {
        Reverb sideLeft(reverb.size, reverb.damping, 0), sideRight(reverb.size, reverb.damping, 23);
        const auto wet = static_cast<float>(reverb.mix * 3.0 * 0.015);
        for (std::size_t i = 0; i < frames; ++i) {
            const float in = reverbSend_[i];
            left_[i] += sideLeft.Process(in) * wet;
            right_[i] += sideRight.Process(in) * wet;
        }
    }
    // DC blocker (a first-order high-pass near 5 Hz).
    for (auto* channel : {&left_, &right_}) {
        double x1 = 0.0, y1 = 0.0;
        for (float& v : *channel) {
            const double y = v - x1 + 0.9993 * y1;
            x1 = v;
            y1 = y;
            v = static_cast<float>(y);
        }
    }
}

void LimitLoop(std::vector<float>& left, std::vector<float>& right, double reductionDb) {
    const std::size_t n = left.size();
    constexpr std::size_t kLookahead = kSampleRate / 600;  // ~1.7 ms: the gain is down before a peak
    if (n <= kLookahead || reductionDb <= 0.0) return;
    const double releaseRate = 1.0 - std::exp(-1.0 / (0.08 * kSampleRate));
    std::vector<float> level(n);
    float peak = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        level[i] = std::max(std::abs(left[i]), std::abs(right[i]));
        peak = std::max(peak, level[i]);
    }
    const double threshold = peak * std::pow(10.0, -reductionDb / 20.0);
    const auto need = [&](std::size_t i) {
        return std::min(1.0, threshold / std::max<double>(level[i % n], 1e-9));
    };
    // least[i]: the smallest gain needed anywhere in the next kLookahead samples (sliding minimum).
    std::vector<double> least(n);
    std::deque<std::size_t> window;
    for (std::size_t i = 0; i < n + kLookahead; ++i) {
        while (!window.empty() && need(window.back()) >= need(i)) window.pop_back();
        window.push_back(i);
        if (i + 1 >= kLookahead) {
            const std::size_t start = i + 1 - kLookahead;
            while (window.front() < start) window.pop_front();
            if (start < n) least[start] = need(window.front());
        }
    }
    // Averaging the minimum over the same span ramps the gain down smoothly and still in time.
    std::vector<double> ramp(n);
    double sum = 0.0;
    for (std::size_t i = 0; i < kLookahead; ++i) sum += least[(n - kLookahead + i) % n];
    for (std::size_t i = 0; i < n; ++i) {
        sum += least[i] - least[(i + n - kLookahead) % n];
        ramp[i] = sum / kLookahead;
    }
    // Two turns round the loop so the release state at the start is the one the end leaves behind.
    double gain = 1.0;
    for (std::size_t turn = 0; turn < 2; ++turn) {
        for (std::size_t i = 0; i < n; ++i) {
            gain = std::min(ramp[i], gain + (1.0 - gain) * releaseRate);
            if (turn == 1) {
                left[i] = static_cast<float>(left[i] * gain);
                right[i] = static_cast<float>(right[i] * gain);
            }
        }
    }
}

bool Normalise(std::vector<float>& left, std::vector<float>& right, double peakDb) {
    float peak = 0.0f;
    for (float v : left) peak = std::max(peak, std::abs(v));
    for (float v : right) peak = std::max(peak, std::abs(v));
    if (peak < 1e-6f) return false;
    const auto scale = static_cast<float>(std::pow(10.0, peakDb / 20.0) / peak);
    for (float& v : left) v *= scale;
    for (float& v : right) v *= scale;
    return true;
}

}  // namespace bake::synth
