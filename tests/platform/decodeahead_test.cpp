// The worker that decodes pictures and sounds ahead, when the memory runs short.
#include "platform/decodeahead.hpp"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "engine_fixture.hpp"
#include "image_fixtures.hpp"
#include "ogg_fixture.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "platform/mixer.hpp"

namespace {

// While set, every allocation of at least this many bytes fails, as on a machine with little
// memory left. Only the plain forms are replaced: arrays and aligned blocks keep the sanitizer's.
std::atomic<size_t> failFrom{0};

void* Allocate(size_t size) {
    const size_t from = failFrom.load();
    return from != 0 && size >= from ? nullptr : std::malloc(size != 0 ? size : 1);
}

}  // namespace

void* operator new(size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

class DecodeAheadTest : public testapp::EngineTest {};

// What the worker has no memory to decode fails its own load, with the load's own line, not the
// program, and leaves nothing of the decoders behind; a later load reads it afresh.
TEST_F(DecodeAheadTest, WhatTheWorkerHasNoMemoryToDecodeFailsItsOwnLoadOnly) {
    const std::string data = dir.path() + "/data/";
    std::filesystem::create_directories(data + "graphics");
    std::filesystem::create_directories(data + "sounds");
    const auto grey = fixtures::Pixels(1024, 1024, [](int, int) { return fixtures::Rgba{90, 90, 90, 255}; });
    ASSERT_TRUE(platform::WritePNG(data + "graphics/big.png", 1024, 1024, grey.data()));
    ASSERT_TRUE(fixtures::WriteJPEG(data + "graphics/big.jpg", 1024, 1024, grey));
    testogg::WriteOgg(data + "sounds/long.ogg", testogg::Sine(140000, 44100, 440, 0.3f), 44100);
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
        EXPECT_NE(out.find(std::string(picture) + ": there is not enough memory"), std::string::npos) << out;
        EXPECT_NE(platform::LoadImage(picture), nullptr) << picture;
    }
    EXPECT_NE(platform::LoadSound("sounds/long.ogg"), nullptr);
}

}  // namespace
