#include "lab/lab_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(LabCommandLine, TimesAreSumsOfUnitsAndNeverZero) {
  const std::pair<const char*, std::optional<uint64_t>> cases[] = {
      {"90m", 5400},
      {"8h", 28800},
      {"1h30m", 5400},
      {"10", 10},
      {"3s", 3},
      {"2d", 172800},
      {"0", std::nullopt},
      {"0m", std::nullopt},
      {"m", std::nullopt},
      {"5x", std::nullopt},
      {"", std::nullopt},
      {"-5s", std::nullopt},
      {"99999999999999999999s", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) {
    EXPECT_EQ(parse_seconds(text), seconds) << text;
  }
}

TEST(LabCommandLine, SleepNeedsItsCyclesAndTime) {
  const char* complete[] = {"chargewright", "sleep", "--cycles", "3", "--sleep", "10m", "--hibernate"};
  const LabCommand sleep = parse_lab_command(7, complete);
  EXPECT_EQ(sleep.error, "");
  EXPECT_TRUE(sleep.kind == LabCommand::Kind::sleep && sleep.cycles == 3 && sleep.sleep_s == 600 &&
              sleep.wait_s == 60 && sleep.hibernate);
  const char* missing[] = {"chargewright", "sleep", "--cycles", "3"};
  EXPECT_NE(parse_lab_command(4, missing).error, "");
  const char* foreign[] = {"chargewright", "log", "--cycles", "3"};
  EXPECT_NE(parse_lab_command(4, foreign).error, "") << "--cycles belongs to sleep";
  const char* simulated[] = {"chargewright", "--simulate", "log"};
  EXPECT_TRUE(names_lab_command(3, simulated));
  EXPECT_TRUE(parse_lab_command(3, simulated).simulate);
}

}  // namespace
