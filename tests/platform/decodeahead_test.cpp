// The worker that decodes pictures ahead, when the memory runs short.
#include "platform/decodeahead.hpp"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "engine_fixture.hpp"
#include "image_fixtures.hpp"
#include "ogg_fixture.hpp"
#include "platform/audio.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "platform/mixer.hpp"

namespace {

// While a test sets it, every allocation of at least this many bytes fails, as on a machine with
// little memory left; 0 lets every allocation through.
std::atomic<size_t> failFrom{0};

void* Allocate(size_t size) {
    const size_t from = failFrom.load(std::memory_order_relaxed);
    if (from != 0 && size >= from) throw std::bad_alloc();
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

// The plain forms only: arrays and aligned blocks keep the sanitizer's own pair.
void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

using testapp::EngineTest;

class DecodeAheadTest : public EngineTest {};

// Pictures and a sound the worker has no memory to decode are each one failed load, said in the
// load's own line, not the end of the program, and leave nothing of the decoders behind; a later
// load reads them afresh.
TEST_F(DecodeAheadTest, WhatTheWorkerHasNoMemoryToDecodeFailsItsOwnLoadOnly) {
    const std::filesystem::path data = std::filesystem::path(dir.path()) / "data";
    std::filesystem::create_directories(data / "graphics");
    std::filesystem::create_directories(data / "sounds");
    const auto grey = fixtures::Pixels(1024, 1024, [](int, int) { return fixtures::Rgba{90, 90, 90, 255}; });
    ASSERT_TRUE(platform::WritePNG((data / "graphics/big.png").string(), 1024, 1024, grey.data()));
    ASSERT_TRUE(fixtures::WriteJPEG((data / "graphics/big.jpg").string(), 1024, 1024, grey));
    testogg::WriteOgg((data / "sounds/long.ogg").string(), testogg::Sine(140000, 44100, 440, 0.3f), 44100);
    StartWindow(16, 16);
    ASSERT_TRUE(platform::driver::Step(1));

    failFrom = size_t{1} << 20;  // the files are read, their pixels and samples are not to be had
    platform::DecodeAhead({"graphics/big.png", "graphics/big.jpg"});
    platform::DecodeSoundsAhead({"sounds/long.ogg"});
    const bool done = platform::WaitForDecodingAhead(20000);
    failFrom = 0;
    ASSERT_TRUE(done);
    testing::internal::CaptureStdout();
    const bool loaded = platform::LoadImage("graphics/big.png") || platform::LoadImage("graphics/big.jpg") ||
                        platform::LoadSound("sounds/long.ogg");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(loaded);
    for (const char* picture : {"graphics/big.png", "graphics/big.jpg"}) {
        EXPECT_NE(out.find("Error loading image " + std::string(picture) + ": there is not enough memory"),
                  std::string::npos)
            << out;
        const platform::ImagePtr later = platform::LoadImage(picture);
        ASSERT_NE(later, nullptr) << picture;
        EXPECT_EQ(later->Width(), 1024);
    }
    const platform::SamplePtr later = platform::LoadSound("sounds/long.ogg");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->Frames(), 140000);
}

}  // namespace
