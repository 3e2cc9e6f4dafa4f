// The framework's start-up registration: the core's screen data layers find their pictures in the
// image bank.
#include "framework/wiring.hpp"

#include "core/briskdata.hpp"
#include "framework/framework.hpp"

namespace {

// A name the bank lacks raises the bank's own assertion; without a game there is no bank.
platform::ImagePtr FindBankImage(const std::string& name) {
    GameImage* entry = briskGame ? briskGame->images->Find(name) : nullptr;
    return entry ? entry->image : nullptr;
}

}  // namespace

void RegisterFramework() {
    BriskDataObject::imageFinder = FindBankImage;
}
