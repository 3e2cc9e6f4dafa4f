// Step lists: the order steps run in, wiring twice, and slots that order steps across layers.
#include "core/hooks.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ran;
void First() {
    ran.push_back("first");
}
int Second() {
    ran.push_back("second");
    return 7;
}
void Sum(int& total, int add) {
    total += add;
}

TEST(StepList, RunsInTheOrderAddedAndNeverAddsOneFunctionTwice) {
    ran.clear();
    StepList<> steps;
    EXPECT_TRUE(steps.Empty());
    steps.Run();
    auto third = [] { ran.push_back("third"); };
    for (int wiring = 0; wiring < 2; ++wiring) {
        steps.Add(First);
        steps.Add(Second);  // its answer is dropped
        steps.Add(third);
    }
    int captured = 0;
    steps.Add([&captured] { ++captured; });
    steps.Add([&captured] { ++captured; });
    EXPECT_EQ(steps.Size(), 5);
    steps.Run();
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(captured, 2);
    // Taking down runs them from the last added to the first.
    ran.clear();
    steps.RunReversed();
    EXPECT_EQ(ran, (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_EQ(captured, 4);

    // Assigning replaces every step.
    steps = [] { ran.push_back("only"); };
    ran.clear();
    steps.Run();
    EXPECT_EQ(ran, (std::vector<std::string>{"only"}));

    StepList<int&, int> adders;
    adders.Add(Sum);
    adders.Add(Sum);
    adders.Add([](int& total, int add) { total *= add; });
    int total = 2;
    adders.Run(total, 5);
    EXPECT_EQ(total, 35);
}

enum class Stage { kEarly, kMiddle, kLate, kCount };

TEST(SlotSteps, RunSlotBySlotWhateverOrderTheyWereAddedIn) {
    ran.clear();
    SlotSteps<Stage> steps;
    EXPECT_TRUE(steps.Empty());
    steps.Add(Stage::kLate, [] { ran.push_back("late"); });
    steps.Add(Stage::kEarly, [] { ran.push_back("early"); });
    steps.Add(Stage::kMiddle, First);
    steps.Add(Stage::kEarly, Second);
    steps.Add(Stage::kEarly, Second);
    EXPECT_FALSE(steps.Empty());
    steps.Run();
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "second", "first", "late"}));
    steps.Clear();
    EXPECT_TRUE(steps.Empty());
}

}  // namespace
