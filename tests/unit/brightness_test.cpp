#include <gtest/gtest.h>

#include <vector>

#include "devices/brightness.h"
#include "fakes/fake_lcd_port.h"

namespace {

std::vector<int> normalised(std::vector<uint8_t> reported) {
  const BrightnessLevels levels = normalise_levels(reported.data(), reported.size());
  return std::vector<int>(levels.level, levels.level + levels.count);
}

TEST(NormaliseLevelsTest, SortsOnlyAnAscendingStartAndPutsOneHundredInFront) {
  EXPECT_EQ(normalised({12, 25, 37, 50, 62, 75, 87, 96}),
            (std::vector<int>{100, 96, 87, 75, 62, 50, 37, 25, 12}));
  EXPECT_EQ(normalised({90, 70, 50, 30}), (std::vector<int>{100, 90, 70, 50, 30}));
  EXPECT_EQ(normalised({100, 50, 80, 20}), (std::vector<int>{100, 50, 80, 20}));
  EXPECT_EQ(normalised({90, 20, 80}), (std::vector<int>{100, 90, 20, 80}))
      << "a descending start is never sorted";
  EXPECT_EQ(normalised({50, 100, 20}), (std::vector<int>{100, 50, 20}));
  EXPECT_EQ(normalised({80, 100, 30}), (std::vector<int>{100, 80, 30}));
  EXPECT_EQ(normalised({70, 10, 100}), (std::vector<int>{100, 70, 10, 100}))
      << "a 100 further down is not looked for";
  EXPECT_EQ(normalised({}), (std::vector<int>{100}));
  EXPECT_EQ(normalised({100}), (std::vector<int>{100}));
  EXPECT_EQ(normalised({30}), (std::vector<int>{100, 30}));
  EXPECT_EQ(normalised({20, 40, 40, 20}), (std::vector<int>{100, 40, 40, 20, 20})) << "duplicates stay";
  EXPECT_EQ(normalised({255, 0, 200}), (std::vector<int>{100, 255, 0, 200})) << "bytes compare unsigned";
}

TEST(NormaliseLevelsTest, AFullListGrowsTo257WithTheHundred) {
  std::vector<uint8_t> reported(256);
  for (size_t i = 0; i < reported.size(); ++i) {
    reported[i] = static_cast<uint8_t>(i);  // ascending 0..255
  }
  const BrightnessLevels levels = normalise_levels(reported.data(), reported.size());
  ASSERT_EQ(levels.count, 257u);
  EXPECT_EQ(levels.level[0], 100);
  EXPECT_EQ(levels.level[1], 255);
  EXPECT_EQ(levels.level[256], 0);
}

TEST(PickLevelTest, FollowsTheWorkedTable) {
  const BrightnessLevels levels =
      normalise_levels(std::vector<uint8_t>{12, 25, 37, 50, 62, 75, 87, 96}.data(), 8);
  const struct {
    uint8_t current, dark, bright;
  } rows[] = {{100, 96, 100}, {96, 87, 100}, {50, 37, 62}, {45, 37, 62},
              {25, 12, 37},   {12, 12, 25},    // "Bright" at the lowest level leaves it for the next level up
              {5, 12, 12},    {120, 12, 12}};  // above the first level: nothing brackets it
  for (const auto& row : rows) {
    EXPECT_EQ(pick_level(levels, row.current, false), row.dark) << int{row.current};
    EXPECT_EQ(pick_level(levels, row.current, true), row.bright) << int{row.current};
  }
  const BrightnessLevels single = normalise_levels(nullptr, 0);
  EXPECT_EQ(pick_level(single, 40, true), 100);
  EXPECT_EQ(pick_level(single, 100, false), 100);
  const BrightnessLevels duplicates = normalise_levels(std::vector<uint8_t>{60, 40, 40, 20}.data(), 4);
  // 100 60 40 40 20: the first pair with level >= 40 > next is the second 40 and the 20.
  EXPECT_EQ(pick_level(duplicates, 40, false), 20);
  EXPECT_EQ(pick_level(duplicates, 40, true), 40);
  EXPECT_EQ(pick_level(duplicates, 20, true), 40) << "duplicates at the bottom";
  // Unsorted (the first two descend): "Bright" at the lowest goes to the next higher level, 50.
  const BrightnessLevels unsorted = normalise_levels(std::vector<uint8_t>{100, 50, 80, 20}.data(), 4);
  EXPECT_EQ(pick_level(unsorted, 20, true), 50);
  EXPECT_EQ(pick_level(unsorted, 20, false), 20);
}

TEST(StepBrightnessTest, DarkFiveTimesFromFiftyWalksDownAndStays) {
  FakeLcdPort lcd;
  std::vector<int> set;
  for (int press = 0; press < 5; ++press) {
    ASSERT_EQ(step_brightness(lcd, false), 0);
    set.push_back(lcd.sets.back().ucDCBrightness);
  }
  EXPECT_EQ(set, (std::vector<int>{37, 25, 12, 12, 12}));
  EXPECT_EQ(lcd.sets.back().ucDisplayPolicy, 2);
  EXPECT_EQ(lcd.sets.back().ucACBrightness, 12);
  EXPECT_EQ(lcd.last_path, u"\\\\.\\LCD");
  EXPECT_EQ(lcd.last_access, 0x80000000u);
  EXPECT_EQ(lcd.last_share, 3u);
  EXPECT_EQ(lcd.last_creation, 3u);
  EXPECT_EQ(lcd.open_handles, 0);
}

TEST(StepBrightnessTest, EachFailingCallNamesItselfAndClosesTheDevice) {
  for (int failing = 1; failing <= 4; ++failing) {
    FakeLcdPort lcd;
    lcd.failing_call = failing;
    EXPECT_EQ(step_brightness(lcd, true), failing);
    EXPECT_EQ(lcd.open_handles, 0) << failing;
    EXPECT_TRUE(lcd.sets.empty());
  }
}

TEST(StepBrightnessTest, OddAnswersGiveDefinedLevels) {
  FakeLcdPort lcd;
  lcd.levels.clear();  // no levels: the list is 100
  lcd.current = 0;
  EXPECT_EQ(step_brightness(lcd, false), 0);
  EXPECT_EQ(lcd.sets.back().ucDCBrightness, 100);

  lcd.levels = {40};
  lcd.current = 200;  // above every level
  EXPECT_EQ(step_brightness(lcd, true), 0);
  EXPECT_EQ(lcd.sets.back().ucDCBrightness, 40);

  lcd.levels.assign(256, 7);
  lcd.current = 7;  // the lowest level: "Bright" goes up to the only level above it
  EXPECT_EQ(step_brightness(lcd, true), 0);
  EXPECT_EQ(lcd.sets.back().ucDCBrightness, 100);

  lcd.levels = {100, 60};
  lcd.current = 100;  // "Bright" at the top sends 100 again
  EXPECT_EQ(step_brightness(lcd, true), 0);
  EXPECT_EQ(lcd.sets.back().ucDCBrightness, 100);
  EXPECT_EQ(lcd.sets.size(), 4u);
}

}  // namespace
