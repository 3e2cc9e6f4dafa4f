#pragma once
// Ogg Vorbis files written by the tests themselves, with the baker's writer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/bake/synth_ogg.hpp"

namespace testogg {

// Writes a stereo Ogg Vorbis file of the given samples (interleaved).
inline void WriteOgg(const std::string& file, const std::vector<float>& stereo, int rate) {
    std::vector<float> left, right;
    for (size_t i = 0; i + 1 < stereo.size(); i += 2) {
        left.push_back(stereo[i]);
        right.push_back(stereo[i + 1]);
    }
    std::string error;
    ASSERT_TRUE(bake::synth::WriteOggVorbis(file, {&left, &right}, rate, 0.6f, error)) << error;
}

inline std::vector<float> Sine(int frames, int rate, double hz, float amplitude) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<float>(amplitude * std::sin(2 * 3.14159265358979323846 * hz * i / rate));
        out.push_back(v);
        out.push_back(-v);
    }
    return out;
}

}  // namespace testogg
