// Stands in for the synthesiser until it lands; every recipe fails loudly instead of baking silence.
#include "synth.hpp"

namespace bake {

bool BakeSoundEffect(const std::string&, const std::string&, std::string& error) {
    error = "the synthesiser is not built into this baker yet";
    return false;
}

bool BakeMusicTrack(const std::string&, const std::string&, std::string& error) {
    error = "the synthesiser is not built into this baker yet";
    return false;
}

}  // namespace bake
