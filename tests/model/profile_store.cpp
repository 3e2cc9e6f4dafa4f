// The flag store: pools, reading and writing flags, conditions, levels, money, the dungeon
// diversion and the story clock.
#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "profile_fixture.hpp"

using profiletest::ProfileTest;

TEST_F(ProfileTest, MissingFlagsReadAsZeroAndEmpty) {
    EXPECT_EQ(Profile::GetFlagInt("Nothing.Here"), 0);
    EXPECT_EQ(Profile::GetFlagString("Nothing.Here"), "");
    EXPECT_EQ(Profile::GetFlag("Nothing.Here"), nullptr);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Nothing"), 0);
    EXPECT_EQ(Profile::GetGlobalFlagString("Nothing"), "");
    // Names are exact: no case folding, no prefix match.
    Profile::SetFlagString("Name", "Quell");
    EXPECT_EQ(Profile::GetFlagString("name"), "");
    EXPECT_EQ(Profile::GetFlagString("Nam"), "");
    EXPECT_EQ(Profile::GetFlagString("Name"), "Quell");
    // Slot and global flags are separate stores.
    EXPECT_EQ(Profile::GetGlobalFlagString("Name"), "");
}

TEST_F(ProfileTest, IntegerReadingFollowsTheRuntimeRulesAndSaturates) {
    FlagItem* f = FlagItem::Get();
    // clang-format off
    const std::vector<std::pair<std::string, int>> cases = {
        {"42", 42}, {"  -17", -17}, {"+8", 8}, {"%1011", 11}, {"$ff", 255}, {"$1G", 1}, {"12abc", 12},
        {"abc", 0}, {"", 0}, {"-", 0}, {"%102", 2}, {"\t 7", 7}, {"3.9", 3}, {"2147483647", INT_MAX},
        {"99999999999", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN}, {"$FFFFFFFFFF", INT_MAX}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        f->SetString(text);
        EXPECT_EQ(f->GetInt(), expected) << "\"" << text << "\"";
        EXPECT_EQ(f->GetString(), text);
        EXPECT_EQ(f->FormattedString(), text);
    }
    f->SetInt(-305);
    EXPECT_EQ(f->GetString(), "-305");
    f->SetFloat(0.5f);
    EXPECT_EQ(f->GetString(), "0.5");
    EXPECT_EQ(f->GetInt(), 0);
    FlagItem* g = FlagItem::Create3("Speed", 1.0f);
    EXPECT_EQ(g->name, "Speed");
    EXPECT_EQ(g->GetString(), "1.0");
}

TEST_F(ProfileTest, ComparisonTypesAndOrChains) {
    auto check = [](const std::string& name, const std::string& value, int type) {
        return FlagCompare::Create(name, value, type)->Check();
    };
    // A missing key: equal to "0" fails, "higher" than 0 holds.
    EXPECT_EQ(check("Flag.Act", "0", FlagCompare::kEqual), 0);
    EXPECT_EQ(check("Flag.Act", "0", FlagCompare::kHigher), 1);
    EXPECT_EQ(check("Flag.Act", "", FlagCompare::kEqual), 1);
    EXPECT_EQ(check("Flag.Act", "0", FlagCompare::kNot), 1);

    Profile::SetFlagInt("Flag.Act", 3);
    EXPECT_EQ(check("Flag.Act", "3", FlagCompare::kEqual), 1);
    EXPECT_EQ(check("Flag.Act", "03", FlagCompare::kEqual), 0);  // text equality
    EXPECT_EQ(check("Flag.Act", "3", FlagCompare::kHigher), 1);  // >=
    EXPECT_EQ(check("Flag.Act", "4", FlagCompare::kHigher), 0);
    EXPECT_EQ(check("Flag.Act", "3", FlagCompare::kLower), 0);  // <
    EXPECT_EQ(check("Flag.Act", "4", FlagCompare::kLower), 1);
    EXPECT_EQ(check("Flag.Act", "3", FlagCompare::kNot), 0);
    EXPECT_EQ(check("Flag.Act", "x", FlagCompare::kNot), 1);
    EXPECT_EQ(check("Flag.Act", "3", 4), 0);
    EXPECT_EQ(check("Flag.Act", "3", -1), 0);
    EXPECT_EQ(FlagCompare::Create2("Flag.Act", 2, FlagCompare::kHigher)->Check(), 1);
    EXPECT_EQ(FlagCompare::Create3("Flag.Act", 3.0f, FlagCompare::kEqual)->value, "3.0");

    // Conditions read the slot flags, never the globals.
    Profile::SetGlobalFlagInt("Quality", 1);
    EXPECT_EQ(check("Quality", "1", FlagCompare::kEqual), 0);

    // An or-chain holds when any link holds, even when the head fails.
    FlagCompare* head = FlagCompare::Create("Flag.Act", "9", FlagCompare::kEqual);
    FlagCompare* middle = FlagCompare::Create("Flag.Act", "8", FlagCompare::kEqual);
    FlagCompare* tail = FlagCompare::Create("Flag.Act", "5", FlagCompare::kLower);
    head->eor = middle;
    EXPECT_EQ(head->Check(), 0);
    middle->eor = tail;
    EXPECT_EQ(head->Check(), 1);
    EXPECT_EQ(tail->Check(), 1);
    tail->value = "1";
    EXPECT_EQ(head->Check(), 0);
}

TEST_F(ProfileTest, PoolsHandOutTheLowestFreeObjectAndGrowWhenFull) {
    EXPECT_EQ(FlagItem::PoolSize(), 0);  // made at the first use
    std::vector<FlagItem*> items;
    for (int i = 0; i < 1024; ++i) items.push_back(FlagItem::Get());
    EXPECT_EQ(FlagItem::PoolSize(), 1024);
    EXPECT_EQ(std::set<FlagItem*>(items.begin(), items.end()).size(), 1024u);

    // A freed object is the next one handed out, and comes back empty.
    items[10]->name = "Stale";
    items[10]->value = "7";
    items[10]->add = 1;
    items[10]->inUse = 0;
    items[500]->inUse = 0;
    FlagItem* again = FlagItem::Get();
    EXPECT_EQ(again, items[10]);
    EXPECT_EQ(again->name, "");
    EXPECT_EQ(again->value, "");
    EXPECT_EQ(again->add, 0);
    EXPECT_EQ(FlagItem::Get(), items[500]);

    // Full: one line, then another block instead of the end of the game.
    testing::internal::CaptureStdout();
    FlagItem* extra = FlagItem::Get();
    std::vector<FlagItem*> more;
    for (int i = 0; i < 1500; ++i) more.push_back(FlagItem::Get());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find("FlagItem"), std::string::npos) << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_NE(extra, nullptr);
    EXPECT_EQ(FlagItem::PoolSize(), 3072);
    EXPECT_EQ(FlagItem::PoolInUse(), 1024 + 1 + 1500);
    // The old objects stay where they were.
    EXPECT_EQ(items[0]->inUse, 1);
    items[3]->inUse = 0;
    EXPECT_EQ(FlagItem::Get(), items[3]);

    std::vector<FlagCompare*> compares;
    for (int i = 0; i < 1024; ++i) compares.push_back(FlagCompare::Get());
    testing::internal::CaptureStdout();
    FlagCompare* c = FlagCompare::Create("Flag.Act", "1", FlagCompare::kEqual);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("FlagCompare"), std::string::npos);
    EXPECT_EQ(c->eor, nullptr);
    EXPECT_EQ(FlagCompare::PoolSize(), 2048);
    compares[0]->inUse = 0;
    EXPECT_EQ(FlagCompare::Get(), compares[0]);
}

TEST_F(ProfileTest, GlobalFlagsSetAddAndDefaults) {
    Profile::InitGlobal();
    const std::vector<std::pair<std::string, int>> defaults = {
        {"MusicVolume", 50}, {"SoundVolume", 75}, {"Fullscreen", 1}, {"Widescreen", 1},
        {"TimePlayed", 0},   {"Quality", 1},      {"MapNames", 0},   {"Hints", 1}};
    ASSERT_EQ(Profile::globalFlags.Size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Profile::globalFlags.Get2(i)->name, defaults[i].first);
        EXPECT_EQ(Profile::globalFlags.Get2(i)->GetInt(), defaults[i].second);
    }
    Profile::SetGlobalFlagString("ID", "abc");
    Profile::AddGlobalFlagInt("TimePlayed", 30);
    Profile::AddGlobalFlagInt("TimePlayed", 12);
    Profile::AddGlobalFlagInt("Trophy.First", 1);
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "abc");
    EXPECT_EQ(Profile::GetGlobalFlagInt("TimePlayed"), 42);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.First"), 1);
    EXPECT_EQ(Profile::globalFlags.Size(), 10);
    EXPECT_EQ(Profile::flagsDirty, 0);  // global flags do not wake the action engine

    // InitGlobal gives the old items back and starts over.
    Profile::playTimeAccumulator = 500.0f;
    Profile::InitGlobal();
    EXPECT_EQ(Profile::globalFlags.Size(), 8);
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "");
    EXPECT_EQ(Profile::playTimeAccumulator, 0.0f);
    EXPECT_EQ(FlagItem::PoolInUse(), 8);
}

TEST_F(ProfileTest, AdditiveFlagsMoneyCountAndWhatWakesTheEngine) {
    Profile::AddFlagInt("Game.JobCount", 1);
    Profile::AddFlagInt("Game.JobCount", 2);
    EXPECT_EQ(Profile::GetFlagInt("Game.JobCount"), 3);
    EXPECT_EQ(Profile::flagsDirty, 1);

    Profile::AddFlagInt("Resource.Money", 100);
    Profile::AddFlagInt("Resource.Money", -30);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), 70);
    EXPECT_EQ(Profile::GetFlagInt("Game.MoneyCount"), 70);
    // Setting money is not earning it.
    Profile::SetFlagInt("Resource.Money", 1000);
    EXPECT_EQ(Profile::GetFlagInt("Game.MoneyCount"), 70);
    Profile::SetFlagString("Resource.Money", "5");
    EXPECT_EQ(Profile::GetFlagInt("Game.MoneyCount"), 70);

    // Sums stop at the ends of the int range instead of wrapping.
    Profile::SetFlagInt("Resource.Money", INT_MAX - 5);
    Profile::AddFlagInt("Resource.Money", 100);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), INT_MAX);
    Profile::SetFlagString("Game.OpponentCount", "-2147483640");
    Profile::AddFlagInt("Game.OpponentCount", -100);
    EXPECT_EQ(Profile::GetFlagInt("Game.OpponentCount"), INT_MIN);
    Profile::AddGlobalFlagInt("TimePlayed", INT_MAX);
    Profile::AddGlobalFlagInt("TimePlayed", INT_MAX);
    EXPECT_EQ(Profile::GetGlobalFlagInt("TimePlayed"), INT_MAX);

    // Play time and the clock do not wake the engine; setting the clock does.
    Profile::currentSlot = 0;
    Profile::flagsDirty = 0;
    Profile::AddFlagInt("Date.Time", 5);
    Profile::AddFlagInt("TimePlayed", 2);
    EXPECT_EQ(Profile::flagsDirty, 0);
    EXPECT_EQ(Profile::GetFlagInt("TimePlayed"), 2);
    Profile::SetFlagInt("Date.Time", 7);
    EXPECT_EQ(Profile::flagsDirty, 1);
    Profile::flagsDirty = 0;
    Profile::SetFlagString("Location", "Harbour");
    EXPECT_EQ(Profile::flagsDirty, 1);
}

TEST_F(ProfileTest, SlotPlayTimeCountsOnlyForACharacterInPlay) {
    Profile::Load();
    Choose(1);
    Profile::Init();
    Profile::SetFlagString("Name", "Quell");
    // A character being created keeps its slot, so its first session counts.
    EXPECT_EQ(Profile::currentSlot, 1);
    Profile::AddFlagInt("TimePlayed", 10);
    EXPECT_EQ(Profile::GetFlagInt("TimePlayed"), 10);

    // Back on the title, then the character is deleted: no time lands in the emptied slot.
    Profile::currentSlot = -1;
    Profile::AddFlagInt("TimePlayed", 3);
    EXPECT_EQ(Profile::saveData->GetFlagInt(1, "TimePlayed"), 10);
    Profile::saveData->Clear(1);
    Profile::AddFlagInt("TimePlayed", 3);
    EXPECT_EQ(Profile::saveData->Profiles.Get2(1)->Size(), 0);
    const std::string state = Profile::saveData->ToString();
    EXPECT_EQ(state.substr(state.size() - 15), "1||P|||P|||P|||");
}

TEST_F(ProfileTest, InitStartsAnEmptyCharacter) {
    UseLevels();
    Profile::SetFlagString("Name", "Old");
    Profile::SetFlagInt("ID.intro", 1);
    Profile::SetGlobalFlagInt("Quality", 1);
    Profile::flagsDirty = 0;
    Profile::Init();
    EXPECT_EQ(Profile::GetFlag("Name"), nullptr);
    EXPECT_EQ(Profile::GetFlag("ID.intro"), nullptr);
    EXPECT_EQ(Profile::flagsDirty, 1);
    const std::vector<std::string> keys = {"Date.Time",
                                           "Date.Day",
                                           "Date.Month",
                                           "Resource.Money",
                                           "Resource.Reputation",
                                           "Level.Resource.Reputation",
                                           "Resource.Clues",
                                           "Attribute.Strength",
                                           "Level.Attribute.Strength",
                                           "Attribute.Essence",
                                           "Level.Attribute.Essence",
                                           "Attribute.Intelligence",
                                           "Level.Attribute.Intelligence",
                                           "Attribute.Constitution",
                                           "Level.Attribute.Constitution",
                                           "Attribute.Ethics",
                                           "Level.Attribute.Ethics"};
    ASSERT_EQ(Profile::slotFlags->Size(), static_cast<int>(keys.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(Profile::slotFlags->Get2(static_cast<int>(i))->name, keys[i]);
        EXPECT_EQ(Profile::slotFlags->Get2(static_cast<int>(i))->GetString(), "0");
    }
    EXPECT_EQ(Profile::GetFlag("Game.LevelUp"), nullptr);
    EXPECT_EQ(Profile::GetFlag("Game.RankUp"), nullptr);
    EXPECT_EQ(Profile::GetFlag("Game.MoneyCount"), nullptr);
    // The old character's items went back to the pool.
    EXPECT_EQ(FlagItem::PoolInUse(), static_cast<int>(keys.size()) + 1);
}

TEST_F(ProfileTest, LevelsAndRanksFollowValuesAndSignalOnlyWhenTheyRise) {
    // Until the level module registers its tables nothing is derived.
    Profile::SetFlagInt("Attribute.Strength", 150);
    EXPECT_EQ(Profile::GetFlag("Level.Attribute.Strength"), nullptr);
    EXPECT_EQ(Profile::GetFlag("Game.LevelUp"), nullptr);

    UseLevels();
    Profile::SetFlagInt("Attribute.Strength", 99);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 0);
    EXPECT_EQ(Profile::GetFlag("Game.LevelUp"), nullptr);
    Profile::AddFlagInt("Attribute.Strength", 1);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 1);
    EXPECT_EQ(Profile::GetFlagString("Game.LevelUp"), "Attribute.Strength");
    Profile::SetFlagString("Game.LevelUp", "");
    Profile::SetFlagInt("Attribute.Strength", 99);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 0);
    EXPECT_EQ(Profile::GetFlagString("Game.LevelUp"), "");
    Profile::AddFlagInt("Skill.Manual Labor", 250);
    EXPECT_EQ(Profile::GetFlagInt("Level.Skill.Manual Labor"), 2);
    EXPECT_EQ(Profile::GetFlagString("Game.LevelUp"), "Skill.Manual Labor");
    // Money and plain keys have no level.
    Profile::AddFlagInt("Resource.Money", 500);
    EXPECT_EQ(Profile::GetFlag("Level.Resource.Money"), nullptr);

    Profile::AddFlagInt("Resource.Reputation", 99);
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), 0);
    EXPECT_EQ(Profile::GetFlag("Game.RankUp"), nullptr);
    Profile::AddFlagInt("Resource.Reputation", 400);  // 499: rank 3
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), 3);
    EXPECT_EQ(Profile::GetFlagString("Game.RankUp"), "Resource.Reputation");
    Profile::SetFlagString("Game.RankUp", "");
    Profile::SetFlagInt("Resource.Reputation", -5);
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), -1);
    EXPECT_EQ(Profile::GetFlagString("Game.RankUp"), "");
    Profile::SetFlagInt("Resource.Reputation", INT_MAX);
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), 16);
    EXPECT_STREQ(Profile::RankTitle(Profile::GetFlagInt("Level.Resource.Reputation")), "Superhero");
}

TEST_F(ProfileTest, RankTitlesForEveryRank) {
    const char* expected[] = {"Unknown",        "Wannabe",   "Sidekick",     "Hotshot",  "Do-Gooder",
                              "Adventurer",     "Protector", "Crime Buster", "Defender", "Vanquisher",
                              "Caped Crusader", "Guardian",  "Hero",         "Paladin",  "Paragon",
                              "Champion",       "Superhero"};
    for (int rank = 0; rank < 17; ++rank) {
        EXPECT_STREQ(Profile::rankTitles[static_cast<size_t>(rank)], expected[rank]);
        EXPECT_STREQ(Profile::RankTitle(rank), expected[rank]);
    }
    // Ranks from a damaged save never read outside the table.
    EXPECT_STREQ(Profile::RankTitle(-1), "Unknown");
    EXPECT_STREQ(Profile::RankTitle(40), "Superhero");
}

TEST_F(ProfileTest, DungeonModeDivertsGainsUntilTheyArePaidOut) {
    UseLevels();
    Profile::SetFlagInt("Attribute.Strength", 50);
    Profile::SetFlagInt("Resource.Money", 10);
    Profile::dungeonMode = 1;
    Profile::flagsDirty = 0;
    Profile::SetFlagInt("Attribute.Strength", 500);
    Profile::AddFlagInt("Resource.Money", 40);
    Profile::AddFlagInt("Resource.Money", 2);
    Profile::AddFlagInt("Skill.Science", 300);
    Profile::AddFlagInt("Game.OpponentCount", 1);  // not a diverted family
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), 50);
    EXPECT_EQ(Profile::GetFlagInt("Dungeon.Attribute.Strength"), 500);
    EXPECT_EQ(Profile::GetFlagInt("Dungeon.Resource.Money"), 42);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), 10);
    EXPECT_EQ(Profile::GetFlag("Game.MoneyCount"), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 0);
    EXPECT_EQ(Profile::GetFlag("Level.Dungeon.Attribute.Strength"), nullptr);
    EXPECT_EQ(Profile::GetFlag("Game.LevelUp"), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Game.OpponentCount"), 1);
    EXPECT_EQ(Profile::flagsDirty, 1);  // only by the undiverted counter
    Profile::flagsDirty = 0;
    Profile::AddFlagInt("Resource.Clues", 1);
    EXPECT_EQ(Profile::flagsDirty, 0);

    // Paid out: the items leave the slot under their plain names and stay in use.
    Profile::dungeonMode = 0;
    const int busy = FlagItem::PoolInUse();
    auto rewards = Profile::GetDungeon();
    ASSERT_EQ(rewards->Size(), 4);
    EXPECT_EQ(rewards->Get2(0)->name, "Attribute.Strength");
    EXPECT_EQ(rewards->Get2(0)->GetInt(), 500);
    EXPECT_EQ(rewards->Get2(1)->name, "Resource.Money");
    EXPECT_EQ(rewards->Get2(2)->name, "Skill.Science");
    EXPECT_EQ(rewards->Get2(3)->name, "Resource.Clues");
    EXPECT_EQ(FlagItem::PoolInUse(), busy);
    EXPECT_EQ(Profile::GetFlag("Dungeon.Resource.Money"), nullptr);
    EXPECT_EQ(Profile::flagsDirty, 0);

    Profile::dungeonMode = 1;
    Profile::AddFlagInt("Resource.Money", 5);
    Profile::dungeonMode = 0;
    Profile::ClearDungeon();
    EXPECT_EQ(Profile::GetFlag("Dungeon.Resource.Money"), nullptr);
    EXPECT_EQ(FlagItem::PoolInUse(), busy);
    EXPECT_EQ(Profile::flagsDirty, 1);
}

TEST_F(ProfileTest, ClearIDsDropsOnlyDoneMarkers) {
    Profile::SetFlagInt("ID.intro", 1);
    Profile::SetFlagInt("Flag.Act", 2);
    Profile::SetFlagInt("ID.job1", 1);
    Profile::SetFlagInt("ID.job2", 1);
    Profile::SetFlagInt("IDLE", 1);
    Profile::SetFlagInt("Location.ID.x", 1);
    const int busy = FlagItem::PoolInUse();
    Profile::flagsDirty = 0;
    Profile::ClearIDs();
    ASSERT_EQ(Profile::slotFlags->Size(), 3);
    EXPECT_EQ(Profile::slotFlags->Get2(0)->name, "Flag.Act");
    EXPECT_EQ(Profile::slotFlags->Get2(1)->name, "IDLE");
    EXPECT_EQ(Profile::slotFlags->Get2(2)->name, "Location.ID.x");
    EXPECT_EQ(FlagItem::PoolInUse(), busy - 3);
    EXPECT_EQ(Profile::flagsDirty, 1);
}

TEST_F(ProfileTest, StoryClockRollsDaysMonthsAndTheYear) {
    Profile::Init();
    Profile::SetFlagInt("Date.Time", 950);
    Profile::AddTime(5);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), 955);
    EXPECT_EQ(Profile::GetFlag("Game.NewDay"), nullptr);

    Profile::SetFlagInt("Date.Time", 958);
    Profile::AddTime(5);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), 3);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Game.NewDay"), 1);

    // February has 28 days, never 29.
    Profile::SetFlagInt("Date.Month", 1);
    Profile::SetFlagInt("Date.Day", 27);
    Profile::SetFlagInt("Date.Time", 900);
    Profile::AddTime(60);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Month"), 2);

    // The last day of the year.
    Profile::SetFlagInt("Date.Month", 11);
    Profile::SetFlagInt("Date.Day", 30);
    Profile::SetFlagInt("Date.Time", 955);
    Profile::AddTime(5);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Month"), 0);

    // One day per call at most, however far the clock has run.
    Profile::SetFlagInt("Date.Time", 3000);
    Profile::SetFlagInt("Date.Day", 3);
    Profile::AddTime(0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), 2040);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 4);

    // A month outside the table counts as January; the roll then leaves a valid month.
    for (int badMonth : {12, -1, 1000000}) {
        Profile::SetFlagInt("Date.Month", badMonth);
        Profile::SetFlagInt("Date.Day", 30);
        Profile::SetFlagInt("Date.Time", 959);
        Profile::AddTime(1);
        EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 0) << badMonth;
        EXPECT_EQ(Profile::GetFlagInt("Date.Month"), 1) << badMonth;
    }
    Profile::SetFlagInt("Date.Month", 12);
    Profile::SetFlagInt("Date.Day", 10);
    Profile::SetFlagInt("Date.Time", 959);
    Profile::AddTime(1);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 11);
}
