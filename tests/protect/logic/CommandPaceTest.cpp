#include "protect/logic/CommandPace.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(CommandPaceTest, ProgressShowsOnceAfterTheDelayAndTheWindowAnswersBetween) {
  CommandPace pace({1000, 50}, 5000);
  EXPECT_EQ(pace.AfterItem(5000), PaceStep::Go);
  EXPECT_EQ(pace.AfterItem(5049), PaceStep::Go);
  EXPECT_EQ(pace.AfterItem(5050), PaceStep::Answer);
  pace.Answered(5050, 5052);
  EXPECT_EQ(pace.AfterItem(5060), PaceStep::Go);  // counted from the end of the last answer
  EXPECT_EQ(pace.AfterItem(5102), PaceStep::Answer);
  pace.Answered(5102, 5102);
  EXPECT_FALSE(pace.ProgressShown());
  EXPECT_EQ(pace.AfterItem(6000), PaceStep::ShowProgress);
  pace.Answered(6000, 6001);
  EXPECT_TRUE(pace.ProgressShown());
  EXPECT_EQ(pace.AfterItem(6010), PaceStep::Go);
  EXPECT_EQ(pace.AfterItem(7000), PaceStep::Answer);  // never shown twice
}

TEST(CommandPaceTest, AnsweringTakesAtMostATenthOfTheTime) {
  // A paint of 80 ms: the next answer waits 720 ms of work, not 50.
  CommandPace pace({100000, 50}, 0);
  EXPECT_EQ(pace.AfterItem(50), PaceStep::Answer);
  pace.Answered(50, 130);
  EXPECT_EQ(pace.AfterItem(131), PaceStep::Go);
  EXPECT_EQ(pace.AfterItem(849), PaceStep::Go);
  EXPECT_EQ(pace.AfterItem(850), PaceStep::Answer);
  // A quick answer brings the interval back to 50 ms.
  pace.Answered(850, 851);
  EXPECT_EQ(pace.AfterItem(901), PaceStep::Answer);
}

TEST(CommandPaceTest, TheClocksWrapDoesNotShowProgressEarlyNorStopAnswering) {
  CommandPace pace({1000, 50}, 0xFFFFFF00u);  // 256 ms before the wrap
  EXPECT_EQ(pace.AfterItem(0xFFFFFFF0u), PaceStep::Answer);
  pace.Answered(0xFFFFFFF0u, 0xFFFFFFF0u);
  EXPECT_EQ(pace.AfterItem(0x10u), PaceStep::Go);      // 32 ms after the last answer
  EXPECT_EQ(pace.AfterItem(0x30u), PaceStep::Answer);  // 64 ms after it
  pace.Answered(0x30u, 0x34u);
  EXPECT_FALSE(pace.ProgressShown());
  EXPECT_EQ(pace.AfterItem(0x300u), PaceStep::ShowProgress);
}

TEST(CommandPaceTest, ZeroDelaysAnswerAfterEveryItem) {
  CommandPace pace({0, 0}, 10);
  EXPECT_EQ(pace.AfterItem(10), PaceStep::ShowProgress);
  pace.Answered(10, 40);  // even after a long answer
  EXPECT_EQ(pace.AfterItem(40), PaceStep::Answer);
  EXPECT_FALSE(pace.Stopped());
  pace.Stop();
  EXPECT_TRUE(pace.Stopped());
}

TEST(CommandPaceTest, ProgressTextsAreFrenchWithGroupedCounts) {
  EXPECT_EQ(ProgressTitle(ListCommand::HideAll), L"Masquage des \u00E9l\u00E9ments de la liste...");
  EXPECT_EQ(ProgressTitle(ListCommand::ShowAll), L"Affichage des \u00E9l\u00E9ments de la liste...");
  EXPECT_EQ(ProgressCount(12345, 100000, L"\u00A0"),
            L"12\u00A0345 \u00E9l\u00E9ments sur 100\u00A0000");
  EXPECT_EQ(ProgressCount(1, 999, L" "), L"1 \u00E9l\u00E9ment sur 999");
  EXPECT_EQ(ProgressCount(0, 1000, L"."), L"0 \u00E9l\u00E9ment sur 1.000");
  EXPECT_EQ(ProgressPermille(0, 100000), 0);
  EXPECT_EQ(ProgressPermille(12345, 100000), 123);
  EXPECT_EQ(ProgressPermille(7, 7), 1000);
  EXPECT_EQ(ProgressPermille(0, 0), 1000);
  // No overflow on counts far past what a list holds (half, to the rounding
  // of the width's largest counts: 499 in 32 bits, 500 in 64).
  EXPECT_NEAR(ProgressPermille(SIZE_MAX / 2, SIZE_MAX), 500, 1);
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(CommandPaceTest, AStoppedCommandSaysHowManyWereDoneAndHowManyLeft) {
  EXPECT_EQ(StoppedText(120, 1000, L" "),
            L"Commande arr\u00EAt\u00E9e : 120 \u00E9l\u00E9ments trait\u00E9s, 880 laiss\u00E9s tels qu'ils "
            L"\u00E9taient.");
  EXPECT_EQ(StoppedText(1, 2, L" "),
            L"Commande arr\u00EAt\u00E9e : 1 \u00E9l\u00E9ment trait\u00E9, 1 laiss\u00E9 tel qu'il \u00E9tait.");
  EXPECT_NE(StoppedText(1234, 5000, L".").find(L"1.234"), std::wstring::npos);
  EXPECT_NE(StoppedText(1234, 5000, L".").find(L"3.766"), std::wstring::npos);
  EXPECT_EQ(ProgressTitle(ListCommand::Refresh),
            L"Lecture de l'\u00E9tat des \u00E9l\u00E9ments de la liste...");
}

}  // namespace
}  // namespace ferlane
