#pragma once
// The one Ogg Vorbis writer: the baker encodes every sound and track with it, and the audio tests
// write their fixtures with it.
#include <string>
#include <vector>

namespace bake::synth {

// Writes planar float samples (one or two channels of equal length) as Ogg Vorbis at `rate`
// samples per second, with the encoder's variable-bit-rate quality (0 to 1). The same input gives
// the same bytes. False, with `error` naming the file and the problem, when it cannot be written;
// a file cut short is removed.
bool WriteOggVorbis(const std::string& path, const std::vector<const std::vector<float>*>& channels, int rate,
                    float quality, std::string& error);

}  // namespace bake::synth
