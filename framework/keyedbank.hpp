#pragma once
// The keyed store both banks are made of: entries under upper-case keys, found by name, replaced
// without freeing an entry somebody may still hold, and loaded when the screen that owns them
// starts.
#include <map>
#include <memory>
#include <string>
#include <vector>

// The upper case of a key, byte by byte.
std::string UpperKey(const std::string& text);

// What every entry of a bank has: its key, the file it loads from, and for an entry that waits for
// the screen that owns it to start (preLoad), that screen's name.
class BankEntry {
  public:
    BankEntry() = default;
    virtual ~BankEntry() = default;
    // Holders keep plain pointers to entries: an entry never moves or copies.
    BankEntry(const BankEntry&) = delete;
    BankEntry& operator=(const BankEntry&) = delete;

    std::string name;
    std::string path;
    bool preLoad = false;
    std::string screenName;
};

// Entry is the bank's entry class, a BankEntry. Kind says the rest: the words of the bank's
// messages (kMap "image map", kEntry "Image", kBank "ImageBank"), whether an entry holds its data
// (Loaded), how a replaced entry lets go of it (Unload) and how an entry waiting for its screen
// loads (Reload).
template <class Entry, class Kind>
class KeyedBank {
  public:
    // The entry under `name` upper-cased; raises "<kEntry> 'KEY' not found in the <kBank>" when
    // there is none, or when it waits for its screen to start. With the debug switch on, every
    // entry loaded so far is listed first.
    Entry* Find(const std::string& name);
    // The map lookup itself: no upper-casing, null when missing.
    Entry* Get(const std::string& key) const;
    bool Contains(const std::string& key) const { return map.count(key) != 0; }
    // Stores under `key`. An earlier entry lets go of its data and is kept (not freed) until the
    // program ends, so anybody still holding it draws or plays nothing instead of freed memory.
    Entry* Set(const std::string& key, std::unique_ptr<Entry> entry);
    // Loads every entry that waits for the screen of that name (compared upper-cased). Entries stay
    // screen-owned, so each later start of such a screen loads them again.
    void LoadPreloaded(const std::string& screenName);

    std::map<std::string, std::unique_ptr<Entry>> map;

  protected:
    // The entry under key, unless there is none or ignoreCache: then a new entry that load(entry)
    // fills, named key and stored.
    template <class Load>
    Entry* Cached(const std::string& key, bool ignoreCache, Load&& load) {
        if (!ignoreCache) {
            if (Entry* existing = Get(key)) return existing;
        }
        auto entry = std::make_unique<Entry>();
        load(*entry);
        entry->name = key;
        return Set(key, std::move(entry));
    }

  private:
    std::vector<std::unique_ptr<Entry>> retired;
};
