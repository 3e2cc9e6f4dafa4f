// Runs the baker on a small fixture content folder and checks every kind of output it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/content/content_check.hpp"

namespace fs = std::filesystem;
using namespace content_check;

// Built without the baker (BRISK_BAKE off) there is nothing to run these against.
#ifdef BRISK_BAKE_EXECUTABLE

namespace {

struct BakeRun {
    int status = -1;
    std::string out, err;
};

class BakeFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/brisk-bake-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        content = root / "content";
        data = root / "data";
        fs::copy(fs::path(BRISK_SOURCE_ROOT) / "tests/content/fixtures/content", content,
                 fs::copy_options::recursive);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    BakeRun Bake() {
        BakeRun run;
        const std::string out = (root / "out.txt").string(), err = (root / "err.txt").string();
        const std::string command = std::string("'") + BRISK_BAKE_EXECUTABLE + "' '" + content.string() +
                                    "' '" + data.string() + "' --stamps '" + (root / "stamps").string() +
                                    "' > '" + out + "' 2> '" + err + "'";
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    static void Write(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }

    static fs::file_time_type Stamp(const fs::path& file) { return fs::last_write_time(file); }

    fs::path root, content, data;
};

bool Near(int a, int b, int tolerance = 2) {
    return std::abs(a - b) <= tolerance;
}

}  // namespace

TEST_F(BakeFixture, PicturesIconAndCopiedFiles) {
    const BakeRun run = Bake();
    ASSERT_EQ(run.status, 0) << run.err;

    // Straight (not premultiplied) alpha, frames where the SVG drew them.
    const Picture strip = LoadPicture((data / "graphics/Strip.png").string());
    ASSERT_TRUE(strip.ok) << strip.error;
    EXPECT_EQ(strip.width, 32);
    EXPECT_EQ(strip.height, 8);
    EXPECT_TRUE(strip.hasAlpha);
    const std::uint8_t* red = strip.At(4, 4);
    EXPECT_EQ(red[0], 255);
    EXPECT_EQ(red[1], 0);
    EXPECT_EQ(red[3], 255);
    const std::uint8_t* green = strip.At(24, 4);
    EXPECT_TRUE(Near(green[3], 128)) << int(green[3]);
    EXPECT_TRUE(Near(green[1], 255)) << int(green[1]);
    EXPECT_EQ(green[0], 0);

    // JPEG: transparent parts flattened onto black.
    const Picture backdrop = LoadPicture((data / "graphics/Backdrop.jpg").string());
    ASSERT_TRUE(backdrop.ok) << backdrop.error;
    EXPECT_EQ(backdrop.width, 40);
    EXPECT_EQ(backdrop.height, 24);
    EXPECT_TRUE(Near(backdrop.At(5, 12)[2], 0xe0, 12));
    EXPECT_LT(backdrop.At(35, 12)[0] + backdrop.At(35, 12)[1] + backdrop.At(35, 12)[2], 20);

    // top/ pictures land at the top of the data folder.
    EXPECT_TRUE(LoadPicture((data / "Splash9.jpg").string()).ok);
    EXPECT_FALSE(FileExists((data / "graphics/Splash9.jpg").string()));

    // The icon: PNG entries of 256, 48, 32 and 16 px, largest first.
    const std::vector<IconEntry> icons = ReadIco(ReadText((data / "icon.ico").string()));
    ASSERT_EQ(icons.size(), 4u);
    const int sizes[] = {256, 48, 32, 16};
    for (size_t i = 0; i < icons.size(); ++i) {
        const Picture entry = DecodePng(icons[i].png);
        ASSERT_TRUE(entry.ok) << entry.error;
        EXPECT_EQ(icons[i].width, sizes[i]);
        EXPECT_EQ(entry.width, sizes[i]);
        EXPECT_EQ(entry.height, sizes[i]);
        EXPECT_GT(entry.At(sizes[i] / 2, sizes[i] / 2)[3], 250);  // the circle's middle
        EXPECT_EQ(entry.At(0, 0)[3], 0);                          // the corner outside it
    }

    // files/** is copied byte for byte, folders kept.
    EXPECT_EQ(ReadText((data / "data/act1.xml").string()),
              ReadText((content / "files/data/act1.xml").string()));
    EXPECT_EQ(ReadText((data / "dialogues/main.xml").string()), "<dialogues>\xe9</dialogues>\n");
}

TEST_F(BakeFixture, AtlasPacksRegionsWithBleedAndGreyedTwins) {
    const BakeRun run = Bake();
    ASSERT_EQ(run.status, 0) << run.err;
    const Atlas atlas = ParseAtlas(ReadText((data / "graphics/Atlas09.txt").string()));
    EXPECT_TRUE(atlas.problems.empty()) << atlas.problems.front();
    EXPECT_EQ(atlas.page, "Atlas09.png");
    const Picture page = LoadPicture((data / "graphics/Atlas09.png").string());
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_TRUE(page.hasAlpha);

    std::map<std::string, Region> byName;
    for (const Region& r : atlas.regions) byName[r.name + "#" + std::to_string(r.index)] = r;
    ASSERT_EQ(byName.size(), 4u);
    ASSERT_TRUE(byName.count("Red#-1") && byName.count("RedG#-1") && byName.count("Blue#2") &&
                byName.count("Dot#0"));
    EXPECT_EQ(byName["Red#-1"].width, 10);
    EXPECT_EQ(byName["Red#-1"].height, 6);
    EXPECT_EQ(byName["Blue#2"].width, 7);

    // Every region with its 2 px bleed lies inside the page and overlaps no other.
    for (const Region& a : atlas.regions) {
        EXPECT_GE(a.x, 2);
        EXPECT_GE(a.y, 2);
        EXPECT_LE(a.x + a.width + 2, page.width);
        EXPECT_LE(a.y + a.height + 2, page.height);
        for (const Region& b : atlas.regions) {
            if (&a == &b) continue;
            const bool apart = a.x + a.width + 2 <= b.x - 2 || b.x + b.width + 2 <= a.x - 2 ||
                               a.y + a.height + 2 <= b.y - 2 || b.y + b.height + 2 <= a.y - 2;
            EXPECT_TRUE(apart) << a.name << " touches " << b.name;
        }
    }

    // The bleed repeats the edge pixels, so filtering at the edge stays red.
    const Region& r = byName["Red#-1"];
    for (int y = r.y - 2; y < r.y + r.height + 2; ++y)
        for (int x = r.x - 2; x < r.x + r.width + 2; ++x) {
            const std::uint8_t* p = page.At(x, y);
            ASSERT_TRUE(p[0] == 255 && p[1] == 0 && p[2] == 0 && p[3] == 255) << "at " << x << "," << y;
        }
    // Transparent pixels around the round dot carry its gold, not black, so filtering leaves no dark rim.
    const Region& dot = byName["Dot#0"];
    int rim = 0;
    for (int y = dot.y; y < dot.y + dot.height; ++y)
        for (int x = dot.x; x < dot.x + dot.width; ++x) {
            const std::uint8_t* p = page.At(x, y);
            if (p[3] != 0 || page.At(x + 1, y)[3] == 0) continue;
            ++rim;
            EXPECT_GT(p[0], 200) << "at " << x << "," << y;
            EXPECT_GT(p[1], 150) << "at " << x << "," << y;
        }
    EXPECT_GT(rim, 0);

    // The greyed twin: grey and darker than the original, same size, same alpha.
    const Region& g = byName["RedG#-1"];
    EXPECT_EQ(g.width, r.width);
    const std::uint8_t* grey = page.At(g.x + 3, g.y + 3);
    EXPECT_EQ(grey[3], 255);
    EXPECT_LT(grey[0], 140);
    EXPECT_LT(std::abs(grey[0] - grey[1]), 40);
    EXPECT_LT(std::abs(grey[1] - grey[2]), 5);
}

TEST_F(BakeFixture, FontsFollowTheFontTextRules) {
    const BakeRun run = Bake();
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* name : {"Plain12", "Heading20"}) {
        SCOPED_TRACE(name);
        const Font font = ParseFont(ReadText((data / (std::string(name) + ".txt")).string()));
        EXPECT_TRUE(font.badLines.empty()) << font.badLines.front();
        const Picture page = LoadPicture((data / (std::string(name) + ".png")).string());
        ASSERT_TRUE(page.ok) << page.error;
        for (int code = 32; code <= 126; ++code) EXPECT_TRUE(font.glyphs.count(code)) << code;
        for (int code = 127; code < 160; ++code) EXPECT_FALSE(font.glyphs.count(code)) << code;
        EXPECT_TRUE(font.glyphs.count(0xe9));  // é, Latin-1
        // The comic face keeps its kerning in GPOS: "AV" and "To" must come out tighter.
        ASSERT_TRUE(font.kerning.count({'A', 'V'}));
        EXPECT_LT(font.kerning.at({'A', 'V'}), 0);
        ASSERT_TRUE(font.kerning.count({'T', 'o'}));
        EXPECT_LT(font.kerning.at({'T', 'o'}), 0);
        for (const auto& [pair, amount] : font.kerning) {
            EXPECT_TRUE(font.glyphs.count(pair.first) && font.glyphs.count(pair.second));
            EXPECT_LT(std::abs(amount), 12);
        }
        int white = 0, dark = 0;
        for (const auto& [code, glyph] : font.glyphs) {
            EXPECT_EQ(glyph.page, 0);
            EXPECT_GT(glyph.xAdvance, 0) << code;
            EXPECT_GE(glyph.yOffset, 0) << code << " reaches above the line's top";
            ASSERT_LE(glyph.x + glyph.width, page.width) << code;
            ASSERT_LE(glyph.y + glyph.height, page.height) << code;
            for (int y = glyph.y; y < glyph.y + glyph.height; ++y)
                for (int x = glyph.x; x < glyph.x + glyph.width; ++x) {
                    const std::uint8_t* p = page.At(x, y);
                    if (p[3] < 200) continue;
                    if (p[0] == 255 && p[1] == 255 && p[2] == 255) ++white;
                    if (p[0] < 64 && p[1] < 64 && p[2] < 64) ++dark;
                }
        }
        EXPECT_GT(white, 100);
        // Plain glyphs are all white (the game tints them); heading glyphs carry a dark outline.
        if (std::string(name) == "Plain12")
            EXPECT_EQ(dark, 0);
        else
            EXPECT_GT(dark, white / 4);
        // Capitals sit on one baseline (the comic face's rounded ends may overshoot it by a pixel).
        const Glyph& e = font.glyphs.at('E');
        const Glyph& h = font.glyphs.at('H');
        EXPECT_LE(std::abs((e.yOffset + e.height) - (h.yOffset + h.height)), 1);
        EXPECT_GT(font.glyphs.at('g').yOffset + font.glyphs.at('g').height, e.yOffset + e.height);
        // The heading asks for a 22 pixel line: its em shrinks until every glyph fits it, and no
        // further than the next pixel size down would take it.
        if (std::string(name) == "Heading20") {
            int line = 0;
            for (const auto& [code, glyph] : font.glyphs) line = std::max(line, glyph.yOffset + glyph.height);
            EXPECT_LE(line, 22);
            EXPECT_GE(line, 20);
        }
    }
}

TEST_F(BakeFixture, RebakesOnlyWhatChangedAndRemovesOrphans) {
    ASSERT_EQ(Bake().status, 0);
    const auto stripTime = Stamp(data / "graphics/Strip.png");
    const auto atlasTime = Stamp(data / "graphics/Atlas09.png");

    const BakeRun again = Bake();
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("0 baked"), std::string::npos) << again.out;
    EXPECT_EQ(Stamp(data / "graphics/Strip.png"), stripTime);

    // Edit one region: only the atlas is baked again.
    Write(content / "atlas/Atlas09/Blue@2.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"5\"><rect width=\"9\" height=\"5\" "
          "fill=\"#00f\"/></svg>");
    const BakeRun edited = Bake();
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_NE(edited.out.find("1 baked"), std::string::npos) << edited.out;
    EXPECT_EQ(Stamp(data / "graphics/Strip.png"), stripTime);
    EXPECT_NE(ReadText((data / "graphics/Atlas09.txt").string()).find("size: 9, 5"), std::string::npos);
    (void)atlasTime;

    // A deleted output is made again even though its source did not change.
    fs::remove(data / "graphics/Strip.png");
    ASSERT_EQ(Bake().status, 0);
    EXPECT_TRUE(FileExists((data / "graphics/Strip.png").string()));

    // The half-written file of an interrupted run is swept away; a file merely named like one is not.
    Write(data / "graphics/Strip.png.tmp140211", "half");
    Write(data / "graphics/notes.tmpl", "kept");
    ASSERT_EQ(Bake().status, 0);
    EXPECT_FALSE(FileExists((data / "graphics/Strip.png.tmp140211").string()));
    EXPECT_TRUE(FileExists((data / "graphics/notes.tmpl").string()));

    // A source that is gone takes its output with it.
    fs::remove(content / "graphics/Backdrop.jpg.svg");
    ASSERT_EQ(Bake().status, 0);
    EXPECT_FALSE(FileExists((data / "graphics/Backdrop.jpg").string()));
    EXPECT_TRUE(FileExists((data / "graphics/Strip.png").string()));
}

TEST_F(BakeFixture, BadSourcesFailTheBakeNamingTheFile) {
    ASSERT_EQ(Bake().status, 0);

    Write(content / "graphics/Broken.png.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\"");
    BakeRun run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Broken.png.svg"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists((data / "graphics/Broken.png").string()));
    fs::remove(content / "graphics/Broken.png.svg");

    Write(content / "graphics/Sizeless.png.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"4\" height=\"4\"/></svg>");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Sizeless.png.svg"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("width and height"), std::string::npos) << run.err;
    fs::remove(content / "graphics/Sizeless.png.svg");

    // A sheet the game cuts into frames must have the canvas of its frame grid.
    Write(content / "graphics/Buttons01.png.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"96\"><rect width=\"400\" "
          "height=\"96\"/></svg>");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Buttons01.png.svg"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("600 x 96"), std::string::npos) << run.err;
    fs::remove(content / "graphics/Buttons01.png.svg");

    // The city map must reach its farthest node.
    Write(content / "graphics/Map.jpg.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"600\"><rect width=\"1000\" "
          "height=\"600\"/></svg>");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Map.jpg.svg"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("at least 1160 x 950"), std::string::npos) << run.err;
    fs::remove(content / "graphics/Map.jpg.svg");

    // Sources may not lean on other files: the stamp would not see them change.
    Write(
        content / "graphics/Linked.png.svg",
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"8\" "
        "height=\"8\"><image xlink:href=\"parts/hero.png\" width=\"8\" height=\"8\"/></svg>");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Linked.png.svg"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("parts/hero.png"), std::string::npos) << run.err;
    fs::remove(content / "graphics/Linked.png.svg");

    // An atlas that cannot fit one 2048 page is refused, not split or clipped.
    Write(content / "atlas/Atlas09/Huge.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2100\" height=\"16\"><rect width=\"2100\" "
          "height=\"16\"/></svg>");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Atlas09"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("2048"), std::string::npos) << run.err;
    fs::remove(content / "atlas/Atlas09/Huge.svg");

    Write(content / "atlas/Atlas09/greyed.txt", "Red\nGreen\n");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("greyed.txt:2"), std::string::npos) << run.err;
    Write(content / "atlas/Atlas09/greyed.txt", "Red\n");

    Write(content / "fonts/fonts.txt", "Plain12 face=/nonexistent/face.otf size=12\n");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("fonts.txt"), std::string::npos) << run.err;

    Write(content / "fonts/fonts.txt",
          "Plain12 face=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf sise=12\n");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("fonts.txt:1"), std::string::npos) << run.err;
    Write(content / "fonts/fonts.txt",
          "Plain12 face=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf size=12 hinting=sharp\n");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("hinting must be face or auto"), std::string::npos) << run.err;

    // A recipe the synthesiser cannot read fails the bake too, naming the recipe.
    fs::create_directories(content / "sounds");
    Write(content / "sounds/Garbled.sfx", "%%% this is no recipe %%%\n");
    run = Bake();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Garbled.sfx"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists((data / "sounds/Garbled.ogg").string()));
    fs::remove(content / "sounds/Garbled.sfx");

    // Fixed again, the next bake succeeds.
    fs::remove(content / "fonts/fonts.txt");
    run = Bake();
    EXPECT_EQ(run.status, 0) << run.err;
}

#endif  // BRISK_BAKE_EXECUTABLE
