#pragma once
// The program-wide image and sound banks: every picture and sound effect is a named entry, loaded
// once (at once, or when the screen that owns it starts) and found by its upper-cased name. The
// image bank also cuts texture atlases into named sub-images; sound effects play through a
// 32-channel player that hands out channels round-robin and keeps looping sounds on theirs.
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/briskstack.hpp"
#include "framework/keyedbank.hpp"
#include "platform/audio.hpp"
#include "platform/graphics.hpp"

// A picture of the image bank. Numbered names: Load2 loads a whole image and LoadAnim one cut
// into frames; Draw2 draws a frame; MidHandle sets and MidHandle2 reads the centred handle.
class GameImage : public BankEntry {
  public:
    // Draws the frame rotated (degrees) and scaled about the handle. Frames the image does not
    // have, and an image that is not loaded, draw nothing.
    void Draw2(float x, float y, float rotation = 0, float scaleX = 1, float scaleY = 1, int frame = 0,
               bool roundPosition = false);
    void CalcSize();
    void MidHandle(bool on);
    bool MidHandle2() const { return midhandled; }
    void SetMaskColor(int r, int g, int b);
    void LoadAnim(const std::string& file, int w, int h, int frames, bool midhandle, bool readPixels,
                  int maskRed, int maskGreen, int maskBlue, bool preLoad, const std::string& screenName);
    void Load2(const std::string& file, bool midhandle, bool readPixels, int maskRed, int maskGreen,
               int maskBlue, bool preLoad, const std::string& screenName);
    void DrawSubImage(float x, float y, float srcX, float srcY, float srcW, float srcH, float rotation = 0,
                      float scaleX = 1, float scaleY = 1, int frame = 0);
    void SetHandle(float x, float y);

    platform::ImagePtr image;
    int w = 0, h = 0;
    int offSetX = 0, offSetY = 0;
    int frames = 0;
    bool midhandle = false;
    bool readPixels = false;
    int maskRed = 0, maskGreen = 0, maskBlue = 0;
    float w2 = 0, h2 = 0;
    bool midhandled = false;
    // w x h ints, allocated at load and never read back. Zeroed pages from calloc stay untouched,
    // so the buffer costs address space rather than memory.
    struct FreeDeleter {
        void operator()(int* p) const { std::free(p); }
    };
    std::unique_ptr<int[], FreeDeleter> pixels;
    std::string atlasName;
    int subX = 0, subY = 0;

  private:
    void AllocatePixels();
};

// A sound effect of the sound bank; Load4 loads it.
class GameSound : public BankEntry {
  public:
    // Loads "sounds/" + file, with ".wav" added when the name carries none of the known extensions.
    void Load4(const std::string& file, bool preLoad, const std::string& screenName);
    bool IsPlaying() const;
    void Stop();
    // playChannel -1 picks the next free channel. False when the play was refused: too soon after
    // the previous one, or no channel free.
    bool Play(int playChannel = -1, bool ignoreDelay = false);

    platform::SamplePtr sound;
    float volume = 1.0f;
    float rate = 1.0f;
    int soundDelay = 0;
    int soundAvailableMillis = 0;
    bool stopChannelBeforePlaying = true;
    int channel = 0;
    BriskIntStack loopChannelList;
    float pan = 0;
    int loop = 0;
};

// What the image bank's entries are to the keyed store (framework/keyedbank.hpp).
struct ImageKind {
    static constexpr const char* kMap = "image map";
    static constexpr const char* kEntry = "Image";
    static constexpr const char* kBank = "ImageBank";
    static bool Loaded(const GameImage& entry) { return entry.image != nullptr; }
    static void Unload(GameImage& entry);
    static void Reload(GameImage& entry);
};

struct SoundKind {
    static constexpr const char* kMap = "sound map";
    static constexpr const char* kEntry = "Sound";
    static constexpr const char* kBank = "SoundBank";
    static bool Loaded(const GameSound& entry) { return entry.sound != nullptr; }
    static void Unload(GameSound& entry) { entry.sound.reset(); }
    static void Reload(GameSound& entry);
};

// Bank keys are upper case. Entries live until the program ends (KeyedBank says why). Load3
// stores a whole picture, LoadAnim2 one cut into frames.
class ImageBank : public KeyedBank<GameImage, ImageKind> {
  public:
    ImageBank();

    GameImage* Load3(const std::string& file, const std::string& nameOverride = "", bool midhandle = false,
                     bool ignoreCache = false, bool readPixels = false, int maskRed = 0, int maskGreen = 0,
                     int maskBlue = 0, bool preLoad = false, const std::string& screenName = "");
    // `image` is not read: the frames always come from the file (callers pass null).
    GameImage* LoadAnim2(const std::string& file, int w, int h, int frames,
                         const platform::ImagePtr& image = nullptr, bool midhandle = false,
                         bool ignoreCache = false, const std::string& nameOverride = "",
                         bool readPixels = false, int maskRed = 0, int maskGreen = 0, int maskBlue = 0,
                         bool preLoad = false, const std::string& screenName = "");
    // The whole text of path + file; an empty text raises "Error loading Atlas " + path + file.
    std::string LoadAtlasString(const std::string& file);
    // Stores the page under "_briskAtlas_" + the file's upper-cased base name and returns that key.
    std::string SaveAtlasToBank(const platform::ImagePtr& image, const std::string& file);
    void LoadSparrowAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed,
                          int maskGreen, int maskBlue);
    void LoadLibGdxAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed, int maskGreen,
                         int maskBlue);
    void LoadJsonAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed, int maskGreen,
                       int maskBlue);
    // format 0 XML, 1 text, 2 JSON; any other raises the runtime error "Invalid atlas format".
    void LoadAtlas(const std::string& file, int format, bool midhandle = false, bool readPixels = false,
                   int maskRed = 0, int maskGreen = 0, int maskBlue = 0);

    std::string path = "graphics/";

  private:
    // Builds one region of an atlas page into the bank.
    void AddRegion(const platform::ImagePtr& page, const std::string& atlasKey, const std::string& file,
                   const std::string& regionName, int x, int y, int w, int h, bool midhandle, bool readPixels,
                   int maskRed, int maskGreen, int maskBlue);
    platform::ImagePtr LoadAtlasPage(const std::string& page);
};

// Load5 stores a sound effect.
class SoundBank : public KeyedBank<GameSound, SoundKind> {
  public:
    SoundBank();

    GameSound* Load5(const std::string& file, const std::string& nameOverride = "", bool ignoreCache = false,
                     int soundDelay = 0, bool preLoad = false, const std::string& screenName = "");

    static std::string path;
};

// The 32 sound channels: a cursor and one state per channel (0 free, 1 reserved by a loop).
class SoundPlayer {
  public:
    // The channel the sound plays on, or -1 when no channel could be had.
    static int PlayFx(const platform::SamplePtr& sound, float pan, float rate, float volume, int loop,
                      int playChannel);
    static void PlayerStopChannel(int number);

    static int channel;
    static int channels[platform::kSoundChannels];
};

// Gives the banks' class-level values their initial state (program start, and every test).
void InitBankGlobals();
