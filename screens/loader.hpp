#pragma once
// The resource loader of the loading screens: a fixed list of fonts, pictures, atlases and sounds,
// worked off one real load per frame so the screen keeps drawing its progress. Things already in
// their bank (or font slot) cost nothing and are passed over in the same frame. A file that is
// missing ends the game with the bank's error naming it.
#include <string>
#include <vector>

#include "platform/graphics.hpp"

class LoadItem {
  public:
    // The file name; for sounds the name plus the sound extension.
    std::string name;
    // "font", "anim", "image", "atlas" or "sound".
    std::string type;
    // The font slot, or the region of an atlas that tells it is loaded.
    std::string id;
    // The loaded picture also goes on the pre-cache list.
    int cache = 0;
    int mid = 0;
    int w = 0, h = 0;
    int nr = 0;

    static LoadItem CreateFont(const std::string& file, const std::string& fontId, int cache);
    static LoadItem CreateAnim(const std::string& file, int w, int h, int frames, int mid, int cache);
    static LoadItem CreateImage(const std::string& file, int mid, int cache);
    static LoadItem CreateAtlas(const std::string& file, const std::string& region, int mid, int cache);
    static LoadItem CreateSound(const std::string& name);
};

class Loader {
  public:
    // `Loader_new`: "title" queues the title list and then the game list, "intro" the intro list,
    // "game" the game list.
    explicit Loader(const std::string& type);

    // Loads things until one was really loaded (0) or the list is empty (1).
    int Progress();

    // The three load lists, appended to `items`.
    void StartTitle();
    void StartIntro();
    void StartGame();

    std::string type;
    std::vector<LoadItem> items;
    // The first item still queued.
    size_t next = 0;
    int total = 0;
    int remainingItems = 0;
    int done = 0;

    // Starts decoding the pictures and sounds of the list `type` on the worker, in list order, so
    // that each load finds its file decoded and costs a frame no more than handing it over. The splash calls it
    // for the title's list while its pictures show; every loader does it for its own list.
    static void DecodeAhead(const std::string& type);

    // Pictures loaded since the last loading screen emptied the list: what it waits for before it
    // hands over.
    static std::vector<platform::ImagePtr> preCache;
    static void InitGlobals() { preCache.clear(); }

  private:
    void Init();
    // Queues what this list still has to load on the decoding worker.
    void QueueAhead() const;
    // 1 when the item really loaded something.
    int Load(const LoadItem& item);
};
