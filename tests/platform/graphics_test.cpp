// Image decoding and drawing, checked on the pixels of real headless frames.
#include "platform/graphics.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <tuple>

#include "engine_fixture.hpp"
#include "image_fixtures.hpp"
#include "ogg_fixture.hpp"
#include "platform/audio.hpp"
#include "platform/decodeahead.hpp"
#include "platform/imagecodec.hpp"
#include "platform/mixer.hpp"
#include "platform/renderer.hpp"
#include "platform/storage.hpp"

using namespace testapp;
using fixtures::Rgba;
namespace drv = platform::driver;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Decode(const std::string& bytes, platform::DecodedImage& out) {
    std::string error;
    return platform::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error);
}

// A 4 x 4 picture: red top-left, green top-right, blue bottom-left, half-transparent white
// bottom-right quadrant.
std::vector<uint8_t> Quadrants() {
    return fixtures::Pixels(4, 4, [](int x, int y) {
        if (y < 2) return x < 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255};
        return x < 2 ? Rgba{0, 0, 255, 255} : Rgba{255, 255, 255, 128};
    });
}

void ExpectNear(const std::vector<int>& px, std::vector<int> want, int tolerance, const char* what) {
    ASSERT_EQ(px.size(), 4u) << what;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(px[c], want[c], tolerance) << what << " channel " << c;
}

class GraphicsTest : public EngineTest {
  protected:
    void SetUp() override { fs::create_directories(fs::path(dir.path()) / "data" / "graphics"); }
    std::string DataFile(const std::string& rel) { return (fs::path(dir.path()) / "data" / rel).string(); }
    // Runs OnCreate (w x h window) and then one frame that draws `draw`.
    void Frame(int w, int h, std::function<void()> draw) {
        HookApp& app = StartWindow(w, h);
        app.render = [draw, &app] {
            if (app.renders == 1) return;  // the render after OnCreate
            platform::Cls(0, 0, 0);
            draw();
        };
        ASSERT_TRUE(drv::Step(2));
    }
};

}  // namespace

TEST(ImageCodec, PngAndJpegDecodeAndRubbishIsRefused) {
    TempDir dir;
    const std::string png = dir.path() + "/q.png", grey = dir.path() + "/g.png", jpg = dir.path() + "/b.jpg";
    ASSERT_TRUE(platform::WritePNG(png, 4, 4, Quadrants().data()));
    ASSERT_TRUE(fixtures::WriteGreyPNG(grey, 3, 1, {0, 100, 255}));
    const auto orange = fixtures::Pixels(16, 8, [](int, int) { return Rgba{240, 120, 20, 255}; });
    ASSERT_TRUE(fixtures::WriteJPEG(jpg, 16, 8, orange));

    platform::DecodedImage image;
    ASSERT_TRUE(Decode(ReadFile(png), image));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.rgba, Quadrants());

    ASSERT_TRUE(Decode(ReadFile(grey), image));
    EXPECT_EQ(image.rgba, (std::vector<uint8_t>{0, 0, 0, 255, 100, 100, 100, 255, 255, 255, 255, 255}));

    ASSERT_TRUE(Decode(ReadFile(jpg), image));
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 8);
    EXPECT_NEAR(image.rgba[0], 240, 4);
    EXPECT_NEAR(image.rgba[1], 120, 4);
    EXPECT_NEAR(image.rgba[2], 20, 4);
    EXPECT_EQ(image.rgba[3], 255);

    const std::string pngBytes = ReadFile(png), jpgBytes = ReadFile(jpg);
    EXPECT_FALSE(Decode(pngBytes.substr(0, pngBytes.size() / 2), image));
    EXPECT_FALSE(Decode(jpgBytes.substr(0, 40), image));
    EXPECT_FALSE(Decode("GIF89a not ours", image));
    EXPECT_FALSE(Decode("", image));
}

TEST_F(GraphicsTest, RectsHonourColourAlphaMatrixAndEdges) {
    Frame(64, 48, [] {
        platform::SetColor(255, 0, 0);
        platform::DrawRect(10, 10, 20, 10);
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(0.5f);
        platform::DrawRect(40, 10, 10, 10);
        platform::SetAlpha(1);
        // Scale then translate compose on the local side: virtual (0,0) lands at 2 * (0 + 5).
        platform::PushMatrix();
        platform::Scale(2, 2);
        platform::Translate(5, 15);
        platform::SetColor(0, 0, 255);
        platform::DrawRect(0, 0, 5, 3);
        platform::PopMatrix();
        // Shapes from a division by zero upstream are skipped, not rasterised.
        const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
        platform::DrawRect(nan, 0, 10, 10);
        platform::DrawRect(0, 0, inf, 10);
        platform::DrawCircle(20, 20, nan);
        platform::DrawOval(0, 0, inf, 4);
        platform::PushMatrix();
        platform::Scale(inf, 0);
        platform::DrawRect(1, 1, 2, 2);
        platform::PopMatrix();
        platform::SetColor(nan, 255, 300);
        float r = -1, g = -1, b = -1;
        platform::GetColor(r, g, b);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(g, 255);
        EXPECT_EQ(b, 255);
        platform::DrawRect(50, 30, 4, 4);
    });
    ExpectNear(Pixel(51, 31), {0, 255, 255}, 0, "a colour channel that is not a number reads 0");
    ExpectNear(Pixel(10, 10), {255, 0, 0}, 0, "rect top-left");
    ExpectNear(Pixel(29, 19), {255, 0, 0}, 0, "rect bottom-right");
    ExpectNear(Pixel(30, 15), {0, 0, 0}, 0, "right of rect");
    ExpectNear(Pixel(9, 15), {0, 0, 0}, 0, "left of rect");
    ExpectNear(Pixel(45, 15), {128, 128, 128}, 2, "half alpha");
    ExpectNear(Pixel(10, 30), {0, 0, 255}, 0, "scaled rect start");
    ExpectNear(Pixel(19, 35), {0, 0, 255}, 0, "scaled rect end");
    ExpectNear(Pixel(20, 35), {0, 0, 0}, 0, "scaled rect past end");
    ExpectNear(Pixel(10, 36), {0, 0, 0}, 0, "scaled rect below");
    ExpectNear(Pixel(60, 5), {0, 0, 0}, 0, "non-finite shapes drew nothing");
    ExpectNear(Pixel(2, 2), {0, 0, 0}, 0, "non-finite shapes drew nothing");
}

TEST_F(GraphicsTest, ImagesDrawTintedRotatedAndMirrored) {
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/q.png"), 4, 4, Quadrants().data()));
    // A bar 8 wide: red on its left half, blue on its right half.
    const auto bar = fixtures::Pixels(8, 2, [](int x, int) {
        return x < 4 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/bar.png"), 8, 2, bar.data()));
    const auto teal = fixtures::Pixels(4, 4, [](int, int) { return Rgba{0, 160, 150, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/teal.png"), 4, 4, teal.data()));
    platform::ImagePtr quad, barImage, tealImage;
    Frame(1280, 800, [&] {
        if (!quad) quad = platform::LoadImage("graphics/q.png");
        if (!barImage) barImage = platform::LoadImage("graphics/bar.png");
        if (!tealImage) tealImage = platform::LoadImage("graphics/teal.png");
        ASSERT_TRUE(quad && barImage && tealImage);
        // Larger than the software renderer takes in one piece, turned and reaching past the
        // window's top and bottom edges.
        tealImage->SetHandle(2, 2);
        platform::DrawImage(tealImage, 700, 420, 20, 170, 170);
        // A vast turned sliver through the window's top-left corner, too thin to cover a pixel.
        platform::PushMatrix();
        platform::Rotate(30);
        platform::DrawRect(-4e8f, 0, 8e8f, 2e-12f);
        platform::PopMatrix();
        platform::DrawImage(quad, 2, 2);
        // Scaled 4x: each quadrant becomes 8 x 8 device pixels.
        platform::DrawImage(quad, 10, 2, 0, 4, 4);
        // Mirrored about its handle (0,0) and drawn at x + w: same area, left and right swapped.
        platform::DrawImage(quad, 30 + 16, 2, 0, -4, 4);
        // 90 degrees counter-clockwise on screen: the bar's +x now points up.
        platform::DrawImage(barImage, 20, 60, 90, 1, 1);
        // Tint: the texels are multiplied by colour / 255.
        platform::SetColor(128, 255, 255);
        platform::DrawImage(quad, 50, 40, 0, 4, 4);
        platform::SetColor(255, 255, 255);
        // Out-of-range frames draw nothing.
        platform::DrawImage(quad, 2, 40, 1);
        platform::DrawImage(quad, 2, 40, -1);
    });
    ASSERT_TRUE(quad);
    EXPECT_EQ(quad->Width(), 4);
    EXPECT_EQ(quad->Frames(), 1);
    ExpectNear(Pixel(2, 2), {255, 0, 0}, 0, "plain red");
    ExpectNear(Pixel(5, 2), {0, 255, 0}, 0, "plain green");
    ExpectNear(Pixel(2, 5), {0, 0, 255}, 0, "plain blue");
    ExpectNear(Pixel(14, 6), {255, 0, 0}, 10, "scaled red");
    ExpectNear(Pixel(23, 6), {0, 255, 0}, 10, "scaled green");
    ExpectNear(Pixel(33, 6), {0, 255, 0}, 10, "mirrored: green now left");
    ExpectNear(Pixel(42, 6), {255, 0, 0}, 10, "mirrored: red now right");
    ExpectNear(Pixel(29, 6), {0, 0, 0}, 0, "mirrored stays within its area");
    ExpectNear(Pixel(20, 57), {255, 0, 0}, 10, "rotated: the red half just above the handle");
    ExpectNear(Pixel(20, 53), {0, 0, 255}, 10, "rotated: the blue half further up");
    ExpectNear(Pixel(20, 61), {0, 0, 0}, 0, "rotated: nothing below the handle");
    ExpectNear(Pixel(54, 44), {128, 0, 0}, 10, "tinted red quadrant is darker red");
    ExpectNear(Pixel(3, 41), {0, 0, 0}, 0, "frame out of range drew nothing");
    // Every pixel whose centre lies a pixel or more inside the turned square is filled, and none
    // a pixel or more outside it.
    const std::vector<uint8_t> frame = drv::ReadPixels(0, 0, 1280, 800);
    ASSERT_EQ(frame.size(), 1280u * 800u * 4u);
    const float turn = 20 * 3.14159265f / 180;
    int holes = 0, spills = 0;
    for (int y = 0; y < 800; ++y) {
        for (int x = 100; x < 1280; ++x) {
            // The pixel's centre in the square's own axes (counter-clockwise on screen).
            const float dx = x + 0.5f - 700, dy = y + 0.5f - 420;
            const float across = dx * std::cos(turn) - dy * std::sin(turn);
            const float down = dx * std::sin(turn) + dy * std::cos(turn);
            const float reach = std::max(std::fabs(across), std::fabs(down));
            const uint8_t* p = &frame[(static_cast<size_t>(y) * 1280 + x) * 4];
            const bool teal = p[0] == 0 && p[1] == 160 && p[2] == 150;
            holes += reach < 339 && !teal;
            spills += reach > 341 && (p[0] | p[1] | p[2]) != 0;
        }
    }
    EXPECT_EQ(holes, 0) << "pixels left unfilled inside the large turned square";
    EXPECT_EQ(spills, 0) << "pixels filled outside the large turned square";
}

TEST_F(GraphicsTest, ScissorClsAndAdditiveBlend) {
    Frame(64, 48, [] {
        platform::Cls(128, 64, 0);
        platform::SetBlend(1);
        platform::SetColor(255, 128, 0);
        platform::SetAlpha(128.0f / 255.0f);
        platform::DrawRect(0, 0, 16, 16);
        platform::SetBlend(0);
        platform::SetAlpha(1);
        // Scissor in device pixels; fractional edges round to the nearest pixel.
        platform::SetScissor(31.6f, 0, 10, 48);
        platform::Cls(0, 0, 80);
        platform::SetColor(255, 255, 255);
        platform::DrawRect(0, 30, 64, 10);
    });
    ExpectNear(Pixel(5, 5), {255, 128, 0}, 2, "additive brightens, never darkens");
    ExpectNear(Pixel(20, 5), {128, 64, 0}, 0, "outside the blend");
    ExpectNear(Pixel(31, 5), {128, 64, 0}, 0, "left of the scissor");
    ExpectNear(Pixel(32, 5), {0, 0, 80}, 0, "Cls inside the scissor");
    ExpectNear(Pixel(41, 5), {0, 0, 80}, 0, "last scissor column");
    ExpectNear(Pixel(42, 5), {128, 64, 0}, 0, "right of the scissor");
    ExpectNear(Pixel(35, 35), {255, 255, 255}, 0, "rect inside the scissor");
    ExpectNear(Pixel(20, 35), {128, 64, 0}, 0, "rect clipped away");
}

// 1000 x 600 shown in 1024 x 768: the view runs from device y 76.8 to 691.2. Whatever fills the
// view must reach the same rows the scissor keeps, and shapes meeting at a fractional edge must
// neither leave a gap nor overlap there.
TEST_F(GraphicsTest, FractionalViewEdgesFillExactlyTheScissor) {
    const auto white = fixtures::Pixels(10, 6, [](int, int) { return Rgba{255, 255, 255, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/w.png"), 10, 6, white.data()));
    platform::ImagePtr image;
    Frame(1024, 768, [&] {
        if (!image) image = platform::LoadImage("graphics/w.png");
        ASSERT_TRUE(image);
        platform::SetScissor(0, 76.8f, 1024, 614.4f);
        platform::PushMatrix();
        platform::Scale(1.024f, 1.024f);
        platform::Translate(0, 75);
        platform::SetColor(255, 0, 0);
        platform::DrawRect(0, 0, 500, 600);
        platform::SetColor(0, 255, 0);
        platform::DrawImage(image, 500, 0, 0, 50, 100);
        // Two half-transparent bands that share the edge at virtual y 300.3.
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(0.5f);
        platform::DrawRect(100, 200.1f, 100, 100.2f);
        platform::DrawRect(100, 300.3f, 100, 100);
        platform::PopMatrix();
    });
    ExpectNear(Pixel(100, 76), {0, 0, 0}, 0, "rect: above the view");
    ExpectNear(Pixel(100, 77), {255, 0, 0}, 0, "rect: first view row");
    ExpectNear(Pixel(100, 690), {255, 0, 0}, 0, "rect: last view row");
    ExpectNear(Pixel(100, 691), {0, 0, 0}, 0, "rect: below the view");
    ExpectNear(Pixel(900, 76), {0, 0, 0}, 0, "image: above the view");
    ExpectNear(Pixel(900, 77), {0, 255, 0}, 0, "image: first view row");
    ExpectNear(Pixel(900, 690), {0, 255, 0}, 0, "image: last view row");
    ExpectNear(Pixel(900, 691), {0, 0, 0}, 0, "image: below the view");
    ExpectNear(Pixel(1023, 690), {0, 255, 0}, 0, "image: bottom-right corner");
    // The shared edge sits at device y 1.024 * (300.3 + 75) = 384.3: rows 383 and 384 lie on
    // either side of it, each covered exactly once.
    ExpectNear(Pixel(150, 383), {255, 128, 128}, 2, "upper band, last row");
    ExpectNear(Pixel(150, 384), {255, 128, 128}, 2, "lower band, first row");
}

TEST_F(GraphicsTest, LinesOvalsFramesAndSharedGrabs) {
    // Three 4 x 4 frames in a 8 x 8 sheet: two on the first row, the third wraps to the next.
    const auto sheet = fixtures::Pixels(8, 8, [](int x, int y) {
        const int cell = (y / 4) * 2 + x / 4;
        return cell == 0   ? Rgba{255, 0, 0, 255}
               : cell == 1 ? Rgba{0, 255, 0, 255}
               : cell == 2 ? Rgba{0, 0, 255, 255}
                           : Rgba{255, 255, 0, 255};
    });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/sheet.png"), 8, 8, sheet.data()));
    platform::ImagePtr frames, grab;
    Frame(64, 48, [&] {
        if (!frames) frames = platform::LoadImage("graphics/sheet.png", 4, 4, 3);
        ASSERT_TRUE(frames);
        if (!grab) grab = platform::GrabImage(frames, 4, 4, 4, 4);
        ASSERT_TRUE(grab);
        platform::DrawImage(frames, 10, 10, 2);  // handle at the frame's centre
        platform::DrawImage(grab, 20, 20);
        platform::DrawImageRect(frames, 30, 10, 0, 0, 2, 4, 1);  // left half of frame 1
        platform::SetColor(255, 255, 255);
        platform::DrawLine(5, 40, 14, 40);
        platform::DrawCircle(50, 30, 6);
        // A faded disc stretched to twice its width, part of it off the window's right edge.
        platform::SetAlpha(0.5f);
        platform::PushMatrix();
        platform::Scale(2, 1);
        platform::DrawCircle(28, 8, 4);
        platform::PopMatrix();
        platform::SetAlpha(1);
    });
    ASSERT_TRUE(frames);
    EXPECT_EQ(frames->Frames(), 3);
    EXPECT_EQ(frames->frames[2].x, 0);
    EXPECT_EQ(frames->frames[2].y, 4);
    EXPECT_EQ(grab->texture, frames->texture) << "a grab shares the pixels";
    ExpectNear(Pixel(8, 8), {0, 0, 255}, 10, "frame 2 centred on its handle");
    ExpectNear(Pixel(11, 11), {0, 0, 255}, 10, "frame 2 centred on its handle");
    ExpectNear(Pixel(12, 12), {0, 0, 0}, 0, "frame 2 ends");
    ExpectNear(Pixel(21, 21), {255, 255, 0}, 10, "grabbed cell");
    ExpectNear(Pixel(28, 9), {0, 255, 0}, 10, "sub-rectangle of frame 1");
    ExpectNear(Pixel(30, 9), {0, 0, 0}, 0, "sub-rectangle is two wide");
    ExpectNear(Pixel(5, 40), {255, 255, 255}, 0, "line start included");
    ExpectNear(Pixel(14, 40), {255, 255, 255}, 0, "line end included");
    ExpectNear(Pixel(15, 40), {0, 0, 0}, 0, "line stops at its end");
    ExpectNear(Pixel(10, 41), {0, 0, 0}, 0, "line is one pixel thick");
    ExpectNear(Pixel(50, 30), {255, 255, 255}, 0, "circle centre");
    ExpectNear(Pixel(54, 30), {255, 255, 255}, 0, "inside the radius");
    ExpectNear(Pixel(55, 35), {0, 0, 0}, 0, "outside the radius");
    ExpectNear(Pixel(56, 8), {128, 128, 128}, 2, "faded disc: half strength at its centre");
    ExpectNear(Pixel(49, 8), {128, 128, 128}, 2, "faded disc: stretched sideways");
    ExpectNear(Pixel(63, 8), {128, 128, 128}, 2, "faded disc: cut at the window's edge");
    ExpectNear(Pixel(56, 13), {0, 0, 0}, 0, "faded disc: not stretched up and down");
}

// Pictures the renderer takes short cuts with must still look as drawn the long way: an opaque
// one that stops blending at full strength, mirrored frames read from a turned-over copy, and a
// picture put together from overlapping translucent pieces.
TEST_F(GraphicsTest, OpaqueMirroredAndComposedPicturesLookAsDrawnPieceByPiece) {
    // Two 4 x 4 frames side by side: opaque red | green, and blue above translucent yellow.
    const auto strip = fixtures::Pixels(8, 4, [](int x, int y) {
        if (x < 4) return x < 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255};
        return y < 2 ? Rgba{0, 0, 255, 255} : Rgba{255, 255, 0, 96};
    });
    const auto solid = fixtures::Pixels(4, 4, [](int x, int) {
        return Rgba{static_cast<uint8_t>(x < 2 ? 200 : 20), 40, 60, 255};
    });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/strip.png"), 8, 4, strip.data()));
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/solid.png"), 4, 4, solid.data()));
    platform::ImagePtr frames, sheet, opaque, composed;
    const platform::Piece pieces[] = {{{4, 0, 4, 4}, 0, 0}, {{0, 0, 4, 4}, 2, 1}, {{4, 0, 4, 4}, 3, 2}};
    Frame(64, 64, [&] {
        platform::Cls(90, 90, 90);
        if (!frames) frames = platform::LoadImage("graphics/strip.png", 4, 4, 2);
        if (!sheet) sheet = platform::LoadImage("graphics/strip.png", 1, platform::kKeepPixels);
        if (!opaque) opaque = platform::LoadImage("graphics/solid.png");
        ASSERT_TRUE(frames && sheet && opaque);
        if (!composed) composed = platform::ComposeImage(sheet, pieces, 3);
        ASSERT_TRUE(composed);
        platform::DrawImage(opaque, 0, 0);
        platform::SetAlpha(0.5f);
        platform::DrawImage(opaque, 8, 0);  // fading: it blends after all
        platform::SetAlpha(1);
        // Mirrored about the frames' centres: left-right twice (the copy is made once, then
        // reused, and must show the frame asked for), and upside down.
        platform::DrawImage(frames, 20, 2, 0, -1, 1, 0);
        platform::DrawImage(frames, 28, 2, 0, -1, 1, 1);
        platform::DrawImage(frames, 36, 2, 0, 1, -1, 1);
        platform::SetColor(255, 128, 255);
        for (const platform::Piece& p : pieces)
            platform::DrawImageRect(sheet, static_cast<float>(2 + p.x), static_cast<float>(20 + p.y),
                                    static_cast<float>(p.source.x), static_cast<float>(p.source.y),
                                    static_cast<float>(p.source.w), static_cast<float>(p.source.h), 0);
        platform::DrawImage(composed, 22, 20);
        platform::SetColor(255, 255, 255);
    });
    ASSERT_TRUE(composed);
    ExpectNear(Pixel(0, 0), {200, 40, 60}, 0, "opaque picture at full strength");
    ExpectNear(Pixel(8, 0), {145, 65, 75}, 2, "opaque picture at half strength blends");
    ExpectNear(Pixel(18, 1), {0, 255, 0}, 0, "mirrored: green now left");
    ExpectNear(Pixel(21, 1), {255, 0, 0}, 0, "mirrored: red now right");
    ExpectNear(Pixel(28, 1), {0, 0, 255}, 0, "mirrored frame 1 shows frame 1");
    ExpectNear(Pixel(28, 3), {152, 152, 56}, 2, "mirrored frame keeps its translucency");
    ExpectNear(Pixel(36, 0), {152, 152, 56}, 2, "upside down: the translucent rows on top");
    ExpectNear(Pixel(36, 3), {0, 0, 255}, 0, "upside down: the blue rows below");
    EXPECT_EQ(composed->Width(), 7);
    EXPECT_EQ(composed->Height(), 6);
    for (int y = 19; y < 28; ++y) {
        for (int x = 1; x < 11; ++x) ExpectNear(Pixel(x + 20, y), Pixel(x, y), 2, "composed against its pieces");
    }
}

// A picture drawn at the same scale frame after frame is scaled once and then copied: every frame
// looks like the first. A small glow crossing the window's edge shows the part inside it.
TEST_F(GraphicsTest, SteadilyScaledPicturesLookTheSameEveryFrame) {
    const auto ramp = fixtures::Pixels(8, 4, [](int x, int y) {
        return Rgba{static_cast<uint8_t>(x * 32), static_cast<uint8_t>(y * 60), 200, static_cast<uint8_t>(x == 7 ? 0 : 255)};
    });
    const auto glow = fixtures::Pixels(16, 16, [](int, int) { return Rgba{255, 255, 255, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/ramp.png"), 8, 4, ramp.data()));
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/glow.png"), 16, 16, glow.data()));
    platform::ImagePtr picture, dot;
    HookApp& app = StartWindow(48, 32);
    app.render = [&] {
        if (app.renders == 1) return;
        platform::Cls(10, 20, 30);
        if (!picture) picture = platform::LoadImage("graphics/ramp.png");
        if (!dot) dot = platform::LoadImage("graphics/glow.png");
        ASSERT_TRUE(picture && dot);
        platform::SetAlpha(0.75f);
        platform::DrawImage(picture, 3.3f, 2, 0, 2.5f, 3, 0);
        platform::DrawImage(picture, 40, 14, 0, -2.5f, 3, 0);  // and mirrored
        platform::SetAlpha(1);
        platform::SetBlend(1);
        platform::SetColor(255, 0, 0);
        platform::DrawImage(dot, -3, 24, 0, 0.5f, 0.5f, 0);  // 8 x 8, three columns off the window
        platform::SetBlend(0);
        platform::SetColor(255, 255, 255);
    };
    ASSERT_TRUE(drv::Step(2));
    const std::vector<uint8_t> first = drv::ReadPixels(0, 0, 48, 32);
    ASSERT_TRUE(drv::Step(3));
    EXPECT_EQ(drv::ReadPixels(0, 0, 48, 32), first) << "later frames differ from the first";
    ExpectNear(Pixel(0, 24), {255, 20, 30}, 0, "the glow's part inside the window");
    ExpectNear(Pixel(4, 31), {255, 20, 30}, 0, "the glow's last visible column and row");
    ExpectNear(Pixel(5, 24), {10, 20, 30}, 0, "the glow ends where its size says");
}

// Draws that share a texture reach the renderer together. Such runs must look exactly like the
// same draws sent one by one: in the order drawn, each with its own alpha and blend, whatever
// comes between them (another picture, a clear, a new view, a picture let go) and when the frame
// is read part-way through.
TEST_F(GraphicsTest, DrawsSentInRunsLookAsSentOneByOne) {
    const auto spot = fixtures::Pixels(8, 8, [](int x, int) {
        return Rgba{200, static_cast<uint8_t>(40 + x * 20), 60, static_cast<uint8_t>(x < 6 ? 255 : 96)};
    });
    const auto tile = fixtures::Pixels(8, 8, [](int, int) { return Rgba{30, 160, 220, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/spot.png"), 8, 8, spot.data()));
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/tile.png"), 8, 8, tile.data()));
    platform::ImagePtr a, b;
    std::vector<uint8_t> partWay;
    HookApp& app = StartWindow(64, 48);
    app.render = [&] {
        if (app.renders == 1) return;
        if (!a) a = platform::LoadImage("graphics/spot.png");
        if (!b) b = platform::LoadImage("graphics/tile.png");
        ASSERT_TRUE(a && b);
        platform::Cls(20, 20, 20);
        platform::SetColor(255, 0, 0);
        platform::DrawRect(10, 0, 6, 20);
        platform::SetColor(255, 255, 255);
        platform::DrawImage(a, 0, 0);
        platform::SetAlpha(0.5f);
        platform::DrawImage(a, 4, 4);
        platform::SetAlpha(1);
        platform::DrawImage(b, 6, 6);
        platform::DrawImage(a, 8, 8);
        platform::SetBlend(1);
        platform::DrawImage(a, 12, 2);
        platform::SetBlend(0);
        platform::DrawCircle(20, 22, 6);
        partWay = drv::ReadPixels(0, 0, 64, 48);
        platform::DrawImage(a, 18, 18, 30, 2, 2);  // turned, across the edge of the view below
        platform::SetScissor(24, 0, 16, 48);
        platform::DrawImage(a, 20, 4);
        platform::Cls(0, 0, 120);  // over the picture just drawn in the view
        platform::DrawImage(b, 30, 30);
        platform::SetScissor(0, 0, 64, 48);
        {
            const platform::ImagePtr brief = platform::LoadImage("graphics/tile.png");
            platform::DrawImage(brief, 40, 0);
        }
        platform::DrawLine(0, 47, 63, 40);
        platform::DrawImage(a, 56, 20, 0, -1, 1);
    };
    ASSERT_TRUE(drv::Step(1));
    const auto frame = [&](platform::QuadBatching how) {
        platform::SetQuadBatching(how);
        EXPECT_TRUE(drv::Step(1));
        return std::pair{partWay, drv::ReadPixels(0, 0, 64, 48)};
    };
    const auto alone = frame(platform::QuadBatching::kOneByOne);
    const auto runs = frame(platform::QuadBatching::kAlways);
    const auto game = frame(platform::QuadBatching::kRendererChoice);
    ASSERT_EQ(runs.second.size(), 64u * 48 * 4);
    EXPECT_TRUE(runs.first == alone.first) << "the frame read part-way differs";
    EXPECT_TRUE(runs.second == alone.second) << "the finished frame differs";
    // Against the game's own way on this renderer (copies and fills): the same picture.
    const auto at = [&](const std::vector<uint8_t>& px, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * 64 + x) * 4;
        return std::vector<int>{px[i], px[i + 1], px[i + 2], px[i + 3]};
    };
    for (const auto& [x, y, what] : std::vector<std::tuple<int, int, const char*>>{
             {1, 1, "opaque"}, {5, 11, "half strength"}, {13, 3, "additive over the rectangle"},
             {30, 10, "cleared view"}, {33, 33, "after the clear"}, {43, 3, "a picture let go"},
             {57, 21, "mirrored"}})
        ExpectNear(at(runs.second, x, y), at(game.second, x, y), 2, what);
    ExpectNear(at(runs.second, 43, 3), {30, 160, 220}, 0, "the whole window in view again");
}

// One picture drawn three ways in every frame (plain, as a tinted glow, faded), at a size that
// changes from frame to frame past the number of sizes kept, once more taller (each size drawn
// once, as a growing ring's are, sharing the scratch picture the others use before they are kept),
// and once at its own size: every draw shows the picture at the size and in the way asked for that frame.
TEST_F(GraphicsTest, APictureDrawnManyWaysAtChangingSizesShowsEachAsAsked) {
    // Red on the left half, blue on the right.
    const auto halves = fixtures::Pixels(8, 4, [](int x, int) {
        return x < 4 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/halves.png"), 8, 4, halves.data()));
    platform::ImagePtr picture;
    float scale = 0;
    HookApp& app = StartWindow(220, 40);
    app.render = [&] {
        if (app.renders == 1) return;
        platform::Cls(0, 0, 0);
        if (!picture) picture = platform::LoadImage("graphics/halves.png");
        ASSERT_TRUE(picture);
        platform::DrawImage(picture, 0, 0, 0, scale, 2, 0);
        platform::SetBlend(1);
        platform::SetColor(255, 255, 128);
        platform::SetAlpha(0.6f);
        platform::DrawImage(picture, 72, 0, 0, scale, 2, 0);
        platform::SetBlend(0);
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(0.5f);
        platform::DrawImage(picture, 144, 0, 0, scale, 2, 0);
        platform::SetAlpha(1);
        platform::DrawImage(picture, 0, 20);
        platform::DrawImage(picture, 0, 26, 0, scale, 3, 0);
    };
    ASSERT_TRUE(drv::Step(1));
    for (int frame = 0; frame < 60; ++frame) {
        // Between 2 and 8 times as wide, a new width each frame and back to earlier ones.
        scale = 2.0f + static_cast<float>((frame * 7) % 48) / 8.0f;
        ASSERT_TRUE(drv::Step(1));
        // The halves meet in the middle, smoothed over about a texel's width on either side.
        const int width = static_cast<int>(8 * scale), middle = static_cast<int>(4 * scale);
        const int smooth = static_cast<int>(std::ceil(scale / 2)) + 1;
        for (int x0 : {0, 72, 144}) {
            const bool glow = x0 == 72, faded = x0 == 144;
            const int red = glow ? 153 : faded ? 128 : 255, blue = glow ? 77 : faded ? 128 : 255;
            ExpectNear(Pixel(x0 + middle - smooth, 4), {red, 0, 0}, 3, "left of the middle");
            ExpectNear(Pixel(x0 + middle + smooth, 4), {0, 0, blue}, 3, "right of the middle");
            ExpectNear(Pixel(x0 + width - 1, 4), {0, 0, blue}, 3, "the last column");
            ExpectNear(Pixel(x0 + width, 4), {0, 0, 0}, 0, "past the last column");
        }
        ExpectNear(Pixel(middle - smooth, 32), {255, 0, 0}, 3, "taller, left of the middle");
        ExpectNear(Pixel(middle + smooth, 37), {0, 0, 255}, 3, "taller, right of the middle");
        ExpectNear(Pixel(width - 1, 37), {0, 0, 255}, 3, "taller, the last column");
        ExpectNear(Pixel(width, 32), {0, 0, 0}, 0, "taller, past the last column");
        ExpectNear(Pixel(3, 38), {0, 0, 0}, 0, "taller, past the last row");
        ExpectNear(Pixel(3, 21), {255, 0, 0}, 0, "at its own size");
        ExpectNear(Pixel(4, 21), {0, 0, 255}, 0, "at its own size");
        if (HasFailure()) FAIL() << "at scale " << scale;
    }
}

// Data may scale a picture far past any window: a thousand times (wider than an int holds its
// area), a hundred million times (wider than an int holds), turned or beyond any float sum. Each
// still shows the texels that lie under the window.
TEST_F(GraphicsTest, APictureScaledFarPastTheWindowShowsTheTexelsUnderIt) {
    const auto halves = fixtures::Pixels(8, 4, [](int x, int) {
        return x < 4 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/halves.png"), 8, 4, halves.data()));
    platform::ImagePtr picture;
    Frame(220, 40, [&] {
        picture = platform::LoadImage("graphics/halves.png");
        ASSERT_TRUE(picture);
        platform::DrawImage(picture, 110, 30, 30, 1e30f, 1e30f, 0);
        // Each with the middle of the picture at x 110: red left of it, blue right.
        for (const auto& [scale, top] : {std::pair{1000.0f, 0.0f}, {1e8f, 10.0f}, {-1e8f, 20.0f}})
            platform::DrawImage(picture, 110 - 4 * scale, top, 0, scale, 2, 0);
    });
    for (int y : {4, 14}) {
        EXPECT_GT(Pixel(20, y)[0], Pixel(20, y)[2]) << "red left of the middle, row " << y;
        EXPECT_GT(Pixel(200, y)[2], Pixel(200, y)[0]) << "blue right of the middle, row " << y;
    }
    EXPECT_GT(Pixel(20, 24)[2], Pixel(20, 24)[0]) << "turned over: blue on the left";
    EXPECT_GT(Pixel(200, 24)[0], Pixel(200, 24)[2]) << "turned over: red on the right";
}

TEST_F(GraphicsTest, EachRenderStartsFromResetStateAndImagesSurviveReopen) {
    const auto white = fixtures::Pixels(2, 2, [](int, int) { return Rgba{255, 255, 255, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/w.png"), 2, 2, white.data()));
    HookApp& app = StartWindow(32, 32);
    // Loaded before the window exists: it waits for the renderer.
    platform::ImagePtr image = platform::LoadImage("graphics/w.png");
    ASSERT_TRUE(image);
    std::vector<float> seenAlpha;
    app.render = [&] {
        seenAlpha.push_back(platform::GetAlpha());
        platform::Cls();
        platform::DrawImage(image, 0, 0, 0, 4, 4);
        // Leave a mess for the next frame: it must not see any of it.
        platform::SetColor(255, 0, 0);
        platform::SetAlpha(0.25f);
        platform::SetBlend(1);
        platform::PushMatrix();
        platform::Scale(3, 3);
        platform::SetScissor(0, 0, 1, 1);
    };
    app.update = [&] {
        if (app.updates == 1) {
            ASSERT_TRUE(platform::OpenGraphics(48, 40, 0, 60, 0));
        }
    };
    ASSERT_TRUE(drv::Step(3));
    EXPECT_EQ(platform::DeviceWidth(), 48);
    EXPECT_EQ(seenAlpha, (std::vector<float>{1, 1, 1}));
    ExpectNear(Pixel(1, 1), {255, 255, 255}, 0, "white, unscaled by the last frame's matrix");
    ExpectNear(Pixel(7, 7), {255, 255, 255}, 0, "drawn at scale 4 only");
    ExpectNear(Pixel(9, 9), {0, 0, 0}, 0, "not at scale 12");
    ASSERT_TRUE(drv::SaveFramePNG(dir.path() + "/frame.png"));
    platform::DecodedImage saved;
    ASSERT_TRUE(Decode(ReadFile(dir.path() + "/frame.png"), saved));
    EXPECT_EQ(saved.width, 48);
    EXPECT_EQ(saved.height, 40);
}

TEST_F(GraphicsTest, MissingOrDamagedImagesLoadAsNullWithALine) {
    {
        std::ofstream bad(DataFile("graphics/bad.png"), std::ios::binary);
        bad << "\x89PNG\r\n\x1a\n-cut-short";
    }
    StartWindow(16, 16);
    ASSERT_TRUE(drv::Step(1));
    testing::internal::CaptureStdout();
    EXPECT_EQ(platform::LoadImage("graphics/none.png"), nullptr);
    EXPECT_EQ(platform::LoadImage("graphics/bad.png"), nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("graphics/none.png"), std::string::npos);
    EXPECT_NE(out.find("graphics/bad.png"), std::string::npos);
}

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// An .ico with one entry holding `payload`.
std::string Ico(const std::string& payload, int w, int h) {
    std::string ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, 1);
    ico.push_back(static_cast<char>(w));
    ico.push_back(static_cast<char>(h));
    ico.push_back(0);
    ico.push_back(0);
    Put16(ico, 1);
    Put16(ico, 32);
    Put32(ico, static_cast<uint32_t>(payload.size()));
    Put32(ico, 22);
    return ico + payload;
}

bool DecodeIco(const std::string& bytes, platform::DecodedImage& out) {
    return platform::DecodeIcoFirst(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

}  // namespace

TEST(ImageCodec, IconEntriesInPngAndBmpForm) {
    TempDir dir;
    const std::string png = dir.path() + "/i.png";
    ASSERT_TRUE(platform::WritePNG(png, 4, 4, Quadrants().data()));
    platform::DecodedImage icon;
    ASSERT_TRUE(DecodeIco(Ico(ReadFile(png), 4, 4), icon));
    EXPECT_EQ(icon.rgba, Quadrants());

    // A 2 x 2 BMP entry: rows bottom-up in BGRA, then the AND mask (4 bytes per row).
    std::string bmp;
    Put32(bmp, 40);
    Put32(bmp, 2);
    Put32(bmp, 4);  // twice the height: picture and mask
    Put16(bmp, 1);
    Put16(bmp, 32);
    for (int i = 0; i < 6; ++i) Put32(bmp, 0);
    const uint8_t bottom[8] = {255, 0, 0, 255, 0, 255, 0, 255};  // blue, green
    const uint8_t top[8] = {0, 0, 255, 255, 0, 0, 0, 0};         // red, transparent
    bmp.append(reinterpret_cast<const char*>(bottom), 8);
    bmp.append(reinterpret_cast<const char*>(top), 8);
    bmp.append(8, '\0');
    ASSERT_TRUE(DecodeIco(Ico(bmp, 2, 2), icon));
    EXPECT_EQ(icon.width, 2);
    EXPECT_EQ(icon.height, 2);
    EXPECT_EQ(icon.rgba, (std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 255, 0, 255}));

    EXPECT_FALSE(DecodeIco(Ico(bmp, 2, 2).substr(0, 40), icon)) << "cut short";
    EXPECT_FALSE(DecodeIco("not an icon at all, really", icon));
}

TEST_F(GraphicsTest, WindowIconFromTheWorkingFolderAndMissingIsQuiet) {
    const std::string png = dir.path() + "/i.png";
    ASSERT_TRUE(platform::WritePNG(png, 4, 4, Quadrants().data()));
    {
        std::ofstream out(DataFile("icon.ico"), std::ios::binary);
        out << Ico(ReadFile(png), 4, 4);
    }
    StartWindow(16, 16);
    ASSERT_TRUE(drv::Step(1));
    testing::internal::CaptureStdout();
    platform::SetWindowIcon("data/icon.ico");
    platform::SetWindowIcon("data/missing.ico");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(RendererChoice, OnlyAnOpenGlThatDrawsOnTheProcessorGivesWayToTheSoftwareRenderer) {
    using platform::UseSoftwareInstead;
    for (const char* rasteriser :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa DRI swrast", "Software Rasterizer"}) {
        EXPECT_TRUE(UseSoftwareInstead("", "opengl", rasteriser)) << rasteriser;
        EXPECT_TRUE(UseSoftwareInstead("", "opengles2", rasteriser)) << rasteriser;
        // Asked for by name, it stays, whatever it is; a name SDL does not know counts for nothing.
        EXPECT_FALSE(UseSoftwareInstead("opengl", "opengl", rasteriser)) << rasteriser;
        EXPECT_TRUE(UseSoftwareInstead("vulkan", "opengl", rasteriser)) << rasteriser;
    }
    // Real graphics cards, one of them compiled by LLVM too.
    EXPECT_FALSE(UseSoftwareInstead("", "opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(
        UseSoftwareInstead("", "opengl", "AMD Radeon RX 580 Series (radeonsi, polaris10, LLVM 15.0.6)"));
    // An OpenGL that would not say what it is, and renderers that are no OpenGL.
    EXPECT_FALSE(UseSoftwareInstead("", "opengl", ""));
    EXPECT_FALSE(UseSoftwareInstead("", "direct3d11", ""));
    EXPECT_FALSE(UseSoftwareInstead("", "software", ""));
}

// Pictures and sounds decoded ahead on the worker load as the very ones an ordinary load makes,
// each once; a stop while the worker is busy ends it cleanly, and the next engine starts afresh.
TEST_F(GraphicsTest, PicturesAndSoundsDecodedAheadAreTheSameAndGoWithTheEngine) {
    const auto photo = fixtures::Pixels(8, 8, [](int x, int y) {
        return Rgba{static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 30), 128, 255};
    });
    const auto black4 = fixtures::Pixels(4, 4, [](int, int) { return Rgba{0, 0, 0, 255}; });
    const auto black8 = fixtures::Pixels(8, 8, [](int, int) { return Rgba{0, 0, 0, 255}; });
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/q.png"), 4, 4, Quadrants().data()));
    ASSERT_TRUE(fixtures::WriteJPEG(DataFile("graphics/p.jpg"), 8, 8, photo));
    std::ofstream(DataFile("graphics/bad.png"), std::ios::binary) << "\x89PNG\r\n\x1a\n-cut-short";
    fs::create_directories(DataFile("sounds"));
    testogg::WriteOgg(DataFile("sounds/s.ogg"), testogg::Sine(4000, 22050, 440, 0.3f), 22050);

    HookApp& app = StartWindow(32, 8);
    ASSERT_TRUE(drv::Step(1));
    const platform::ImagePtr plainQ = platform::LoadImage("graphics/q.png");
    const platform::ImagePtr plainP = platform::LoadImage("graphics/p.jpg");
    const platform::SamplePtr plainS = platform::LoadSound("sounds/s.ogg");
    platform::DecodeAhead({"graphics/q.png", "graphics/p.jpg", "graphics/bad.png", "graphics/q.png"});
    platform::DecodeSoundsAhead({"sounds/s.ogg"});
    ASSERT_TRUE(platform::WaitForDecodingAhead(20000));
    testogg::WriteOgg(DataFile("sounds/s.ogg"), testogg::Sine(900, 22050, 880, 0.3f), 22050);
    const platform::SamplePtr aheadS = platform::LoadSound("sounds/s.ogg");
    const platform::SamplePtr againS = platform::LoadSound("sounds/s.ogg");
    ASSERT_TRUE(plainS && aheadS && againS);
    EXPECT_EQ(aheadS->data, plainS->data) << "the sound decoded ahead";
    EXPECT_NE(againS->Frames(), plainS->Frames()) << "a second load reads the file again";
    // The files change now: a load that shows the old pictures read none of them again.
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/q.png"), 4, 4, black4.data()));
    ASSERT_TRUE(platform::WritePNG(DataFile("graphics/p.jpg"), 8, 8, black8.data()));
    testing::internal::CaptureStdout();
    const platform::ImagePtr aheadQ = platform::LoadImage("graphics/q.png");
    const platform::ImagePtr aheadP = platform::LoadImage("graphics/p.jpg");
    EXPECT_EQ(platform::LoadImage("graphics/bad.png"), nullptr);
    const platform::ImagePtr againQ = platform::LoadImage("graphics/q.png");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("graphics/bad.png"), std::string::npos)
        << "a picture the worker could not decode is reported by its load";
    ASSERT_TRUE(plainQ && plainP && aheadQ && aheadP && againQ);
    app.render = [&] {
        platform::Cls(0, 0, 80);
        platform::DrawImage(plainQ, 0, 0);
        platform::DrawImage(aheadQ, 4, 0);
        platform::DrawImage(againQ, 8, 0);
        platform::DrawImage(plainP, 16, 0);
        platform::DrawImage(aheadP, 24, 0);
    };
    ASSERT_TRUE(drv::Step(1));
    const auto region = [](int x, int w) { return drv::ReadPixels(x, 0, w, w); };
    EXPECT_EQ(region(4, 4), region(0, 4)) << "the PNG decoded ahead";
    EXPECT_EQ(region(24, 8), region(16, 8)) << "the JPEG decoded ahead";
    ExpectNear(Pixel(8, 0), {0, 0, 0}, 0, "a second load reads the file again");

    // Stopped with the worker busy on pictures nobody will load.
    const auto noise = fixtures::Pixels(256, 256, [](int x, int y) {
        return Rgba{static_cast<uint8_t>(x * y), static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x + y),
                    255};
    });
    std::vector<std::string> many;
    for (int i = 0; i < 8; ++i) {
        many.push_back("graphics/n" + std::to_string(i) + ".png");
        ASSERT_TRUE(platform::WritePNG(DataFile(many.back()), 256, 256, noise.data()));
    }
    platform::DecodeAhead(many);
    drv::Stop();
    delete Current();
    Current() = nullptr;

    StartWindow(4, 4);
    ASSERT_TRUE(drv::Step(1));
    ASSERT_TRUE(platform::WritePNG(DataFile(many[0]), 4, 4, black4.data()));
    platform::DecodeAhead({"graphics/p.jpg"});
    ASSERT_TRUE(platform::WaitForDecodingAhead(20000)) << "the next engine has a worker again";
    const platform::ImagePtr fresh = platform::LoadImage(many[0]);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->Width(), 4) << "nothing decoded for the stopped engine is handed out";
}
