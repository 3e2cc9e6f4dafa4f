// Any sound file (Ogg Vorbis, or RIFF WAVE by its first bytes) either decodes into whole stereo
// frames or is refused, and any music file streams, looping, without reading past what it gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mixer.hpp"
#include "platform/storage.hpp"
#include "tests/fuzz/support.hpp"

namespace {
constexpr int kBlock = 4096;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::OwnFolder().Put("sounds/Fuzzed.ogg", data, size);
    // The path the game's sound loader and music player hand the decoder.
    const std::string file = platform::MapPath(platform::DataPath("sounds/Fuzzed.ogg"));
    if (platform::SamplePtr sample = platform::DecodeSoundFile(file)) {
        fuzz::Check(sample->data.size() % 2 == 0);
        fuzz::Check(sample->rate > 0);
    }
    platform::MusicStream music;
    if (music.Open(file, true)) {
        fuzz::Check(music.SourceRate() > 0);
        std::vector<float> out(2 * kBlock);
        // A few blocks carry a short track around its loop more than once.
        for (int block = 0; block < 4; ++block) {
            const int got = music.Decode(out.data(), kBlock);
            fuzz::Check(got >= 0 && got <= kBlock);
        }
    }
    return 0;
}
