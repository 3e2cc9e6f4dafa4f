#pragma once
// The player's whole state: global flags (settings, trophies, the statistics id) and the flags of
// the character being played, all string-keyed values held as text, plus the save-state string
// that stores them with up to three character slots.
//
// Every other module reads and writes the state only through `Profile`; data files change it
// through value lists of `FlagItem` and test it through condition lists of `FlagCompare`.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/collections.hpp"
#include "core/hooks.hpp"
#include "core/pool.hpp"

class FlagItem;
class FlagCompare;
class SaveData;

using FlagList = ArrayList<FlagItem*>;

// One key and its value (a reward of a value list, a stored flag); pooled. Create makes one with
// a text value, Create2 with an int, Create3 with a float.
class FlagItem {
  public:
    PoolMark inUse;
    std::string name;
    std::string value;
    // 1 for an additive reward of a data file's value list; the store itself ignores it.
    int add = 0;

    void SetString(const std::string& s) { value = s; }
    void SetInt(int i);
    void SetFloat(float f);
    // Leading white space, an optional sign, "%" binary, "$" hexadecimal, otherwise decimal,
    // stopping at the first character that does not fit; no digits give 0. Numbers beyond the
    // int range read as the nearest end of it.
    int GetInt() const;
    const std::string& GetString() const { return value; }
    const std::string& FormattedString() const { return value; }

    // The lowest free item of the pool, marked in use and emptied. The pool's first 1024 items
    // are made at the first call; when all are busy it grows by another 1024 (with a note the
    // first time) instead of ending the game.
    static FlagItem* Get();
    static FlagItem* Create(const std::string& name, const std::string& s);
    static FlagItem* Create2(const std::string& name, int i);
    static FlagItem* Create3(const std::string& name, float f);

    // Items made so far (0 before the first Get) and items in use.
    static int PoolSize();
    static int PoolInUse();
    // Drops the pool: the next Get starts a new one (start of a fresh program state).
    static void ResetPool();
};

// One condition on a slot flag; pooled like `FlagItem`, and made like it (Create with a text to
// compare against, Create2 with an int, Create3 with a float).
class FlagCompare {
  public:
    // Comparison types; any other value never holds.
    enum { kEqual = 0, kHigher = 1, kLower = 2, kNot = 3 };

    PoolMark inUse;
    std::string name;
    std::string value;
    int type = kEqual;
    // The next condition of an or-chain, or null.
    FlagCompare* eor = nullptr;

    // 1 when this compare or any compare reached through `eor` holds.
    int Check() const;

    static FlagCompare* Get();
    static FlagCompare* Create(const std::string& name, const std::string& s, int type);
    static FlagCompare* Create2(const std::string& name, int i, int type);
    static FlagCompare* Create3(const std::string& name, float f, int type);

    static int PoolSize();
    static int PoolInUse();
    static void ResetPool();

  private:
    int Holds() const;
};

// What the store asks of the modules built on it: the level tables (answers, one provider each)
// and the statistics upload (a step list). Those modules register here from their layer's
// `Register...` function; until then levels and ranks are not recomputed and nothing is posted.
struct ProfileServices {
    // The level of a raw attribute or skill value.
    int (*getLevel)(int value) = nullptr;
    // The rank (0..16) of a reputation value.
    int (*getReputationLevel)(int value) = nullptr;
    // Posts the current character's statistics (act, play time, strength, essence,
    // intelligence, money, reputation as decimal texts).
    StepList<const std::string&, const std::string&, const std::string&, const std::string&,
             const std::string&, const std::string&, const std::string&>
        postUpdate;
};

class Profile {
  public:
    static FlagList globalFlags;
    // The current character's flags: its own list until a slot is chosen, then the very list
    // held in `saveData->Profiles` for that slot.
    static std::shared_ptr<FlagList> slotFlags;
    // The character being played, -1 when none.
    static int currentSlot;
    // Set when a slot flag changes; the action engine runs while it is set and clears it.
    static int flagsDirty;
    static std::unique_ptr<SaveData> saveData;
    // Advanced by the per-frame update (milliseconds).
    static float uploadTimer;
    static float playTimeAccumulator;
    static int uploadsEnabled;
    // Set while a dungeon runs: attribute, resource and skill changes go to "Dungeon." keys.
    static int dungeonMode;
    // Set by a load that met a state it could not fully read; the damaged file is moved aside
    // as ".vantlestate.bad" (or, while an older one is kept there, the first free of
    // ".vantlestate.bad2" to ".vantlestate.bad9"; with all taken the oldest makes room) before
    // the next save replaces it.
    static int damagedStatePending;

    // The longest hero name the creation screen lets a player type; a name loaded from a save is
    // held to it as well.
    static constexpr size_t kMaxNameLength = 17;

    static const std::array<int, 12> daysInMonth;
    static const std::array<const char*, 17> rankTitles;
    // The title of a rank; ranks outside 0..16 (a damaged or edited save) take the nearest end.
    static const char* RankTitle(int rank);

    static ProfileServices services;

    static FlagItem* GetGlobalFlag(const std::string& name, int unused = 0);
    static int GetGlobalFlagInt(const std::string& name);
    static std::string GetGlobalFlagString(const std::string& name);
    static int SetGlobalFlagInt(const std::string& name, int i);
    static int SetGlobalFlagString(const std::string& name, const std::string& s);
    static int AddGlobalFlagInt(const std::string& name, int i);

    static FlagItem* GetFlag(const std::string& name, int unused = 0);
    static int GetFlagInt(const std::string& name);
    static std::string GetFlagString(const std::string& name);
    static int SetFlagString(const std::string& name, const std::string& s);
    static int SetFlagInt(const std::string& name, int i);
    static int AddFlagInt(const std::string& name, int i);
    static int UpdateLevel(const std::string& name, int value);
    static int UpdateReputationLevel(const std::string& name, int value);

    static int InitGlobal();
    static int Init();
    static int Load();
    static int Save(int noUpload);
    static int AddTime(int minutes);
    static int ClearIDs();
    // The "Dungeon." flags, taken out of the slot and renamed to their plain keys; the items stay
    // in use and belong to the caller.
    static std::shared_ptr<FlagList> GetDungeon();
    static int ClearDungeon();
};

// The store as one text: "v0", the global record, one record per character slot.
class SaveData {
  public:
    using SlotList = std::shared_ptr<FlagList>;

    // Padded with empty slot lists to three.
    SaveData();

    ArrayList<SlotList> Profiles;

    std::string ToString() const;
    std::string FlagsToString(const FlagList& list) const;
    // Replaces the whole store (global flags and every slot) with what the text holds.
    int FromString(const std::string& text);

    FlagItem* GetFlag(int slot, const std::string& name) const;
    std::string GetFlagString(int slot, const std::string& name) const;
    int GetFlagInt(int slot, const std::string& name) const;
    int Clear(int slot);

    // 1 when the last FromString met text that the writer could not have made (a wrong version,
    // a cut or unknown record, missing records, stray bytes, control codes in a flag, a hero name
    // longer than can be typed): some of it may have been lost.
    int loadDamaged = 0;

  private:
    int PadProfiles();
};

// Gives every global of this module its initial value (the program's global initialiser, and
// tests that start from a clean state). The registered services stay.
void InitProfileGlobals();
