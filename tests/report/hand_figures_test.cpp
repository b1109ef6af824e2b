// Logs as testers bring them, each figure computed by hand from the rows.
#include <gtest/gtest.h>

#include <string>

#include "report/capacity_history.h"
#include "report/log_summary.h"
#include "report/page_data.h"
#include "report/summary_table.h"

namespace {

const std::string kS1Header = "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n";
const std::string kSleepHeader = "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n";

// The value after `label` in the console summary, "" when the label is not printed.
std::string printed(const LogReport& report, const std::string& label) {
  const std::string text = text_summary({report});
  const size_t at = text.find("\n  " + label + " ");
  if (at == std::string::npos) {
    return "";
  }
  const size_t value = text.find_first_not_of(' ', at + 3 + label.size());
  return text.substr(value, text.find('\n', value) - value);
}

std::string notes_of(const LogReport& report) {
  std::string notes;
  for (const std::string& note : report.notes) {
    notes += note + "\n";
  }
  return notes;
}

TEST(HandFiguresTest, WithoutFullChargedCapacityOnlyThePercentFiguresAreUnknown) {
  // The panel prints N/A where the driver reports no full-charged capacity (FullCharged 0).
  const LogReport s1 =
      summarise(read_log("S1-10h00m00s-2026y12m01d.txt",
                         kS1Header + "0\t10:00:00  N/A%\t       0\t   30000\t   -8010\t       0\r\n"
                                     "1\t10:15:00  N/A%\t       0\t   27998\t   -8010\t   -2002\r\n"
                                     "2\t10:30:00  N/A%\t       0\t   25995\t   -8010\t   -2003\r\n"));
  EXPECT_EQ(printed(s1, "Start remains (mWh)"), "30000");
  EXPECT_EQ(printed(s1, "End remains (mWh)"), "25995");
  EXPECT_EQ(printed(s1, "Energy used (mWh)"), "4005");
  EXPECT_EQ(printed(s1, "Average drain (mW)"), "8010");  // 4005 mWh in half an hour
  EXPECT_EQ(printed(s1, "Drain (% of full per hour)"), "n/a");
  EXPECT_EQ(printed(s1, "Projected runtime"), "n/a");
  EXPECT_EQ(notes_of(s1).find("unknown capacities"), std::string::npos) << notes_of(s1);

  const LogReport sleep =
      summarise(read_log("S3-23h00m00s-2026y12m01d.txt",
                         kSleepHeader + "23:00:00  N/A%\t       0\t   30000\t  -12000\t       0\r\n"
                                        "01:00:00  N/A%\t       0\t   29000\t   -1000\t   -1000\r\n"));
  ASSERT_TRUE(sleep.sleep.has_value());
  EXPECT_EQ(sleep.sleep->energy_lost_mwh, 1000);
  EXPECT_EQ(sleep.sleep->average_drain_mw, 500.0);  // 1000 mWh in two hours
  EXPECT_FALSE(sleep.sleep->percent_per_hour.has_value());
}

TEST(HandFiguresTest, DatesRollOverWithTheClockAfterTheNamesTime) {
  // A sleep test named at the last second of the year; its first row is taken a second later.
  const LogReport sleep =
      summarise(read_log("S3-23h59m59s-2026y12m31d.txt",
                         kSleepHeader + "00:00:00 80.00%\t   50000\t   40000\t  -12000\t       0\r\n"
                                        "07:30:00 78.00%\t   50000\t   39000\t    -900\t   -1000\r\n"));
  EXPECT_EQ(wall_clock_text(sleep.log, 0), "2027-01-01 00:00:00");
  EXPECT_EQ(wall_clock_text(sleep.log, sleep.log.rows.back().elapsed_s), "2027-01-01 07:30:00");
  // An S1 run's first row has the name's own time: the same day.
  const LogReport s1 =
      summarise(read_log("S1-23h59m59s-2026y12m31d.txt",
                         kS1Header + "0\t23:59:59 80.00%\t   50000\t   40000\t  -12000\t       0\r\n"
                                     "1\t00:00:58 79.67%\t   50000\t   39833\t  -12000\t    -167\r\n"));
  EXPECT_EQ(wall_clock_text(s1.log, 0), "2026-12-31 23:59:59");
  EXPECT_EQ(wall_clock_text(s1.log, s1.log.rows.back().elapsed_s), "2027-01-01 00:00:58");
}

TEST(HandFiguresTest, AnS1RunShowsWhereItEnded) {
  const LogReport s1 =
      summarise(read_log("S1-22h30m00s-2026y12m01d.txt",
                         kS1Header + "0\t22:30:00 95.00%\t   50000\t   47500\t  -10000\t       0\r\n"
                                     "1\t00:10:30 61.50%\t   50000\t   30750\t  -10000\t  -16750\r\n"));
  EXPECT_EQ(printed(s1, "End"), "2026-12-02 00:10:30");
  EXPECT_EQ(printed(s1, "Duration"), "01:40:30");
}

TEST(HandFiguresTest, AnAllOnesRemainingCapacityHasNoLifePercentage) {
  // The driver's unknown capacity (all ones) prints as -1; the panel's percentage of it is 8947848.53 %.
  const ReadLog log = read_log("S1-10h00m00s-2026y12m01d.txt",
                               kS1Header +
                                   "0\t10:00:00 87.71%\t   48000\t   42102\t  -10434\t       0\r\n"
                                   "1\t10:00:59 8947848.53%\t   48000\t      -1\t  -10434\t   41929\r\n"
                                   "2\t10:01:58 87.35%\t   48000\t   41928\t  -10434\t -41930\r\n");
  ASSERT_EQ(log.rows.size(), 3u);
  EXPECT_TRUE(log.rows[0].life_known);
  EXPECT_FALSE(log.rows[1].life_known);
  EXPECT_TRUE(log.rows[2].life_known);
  const LogReport report = summarise(log);
  EXPECT_EQ(printed(report, "Energy used (mWh)"), "174");
  // Nor is it charted.
  EXPECT_NE(page_data_json({report}, MachineBattery{}).find("\"life\":[87.71,null,87.35]"),
            std::string::npos);
}

TEST(HandFiguresTest, FiguresThatDoNotFitAreNoFigures) {
  // 60,000 rows 86,399 s apart: one mWh used in about 164 years, by a pack of 2147483647 mWh.
  std::string rows = kS1Header;
  for (int item = 0; item < 60000; ++item) {
    const int seconds = static_cast<int>((static_cast<int64_t>(item) * 86399) % 86400);
    char row[128];
    std::snprintf(row, sizeof row, "%d\t%02d:%02d:%02d  0.00%%\t2147483647\t%8d\t  -10000\t%8d\r\n", item,
                  seconds / 3600, seconds % 3600 / 60, seconds % 60, item == 0 ? 1 : 0, item == 1 ? -1 : 0);
    rows += row;
  }
  const LogReport long_run = summarise(read_log("S1-00h00m00s-2026y12m01d.txt", rows));
  ASSERT_TRUE(long_run.s1.has_value());
  EXPECT_EQ(long_run.s1->duration_s, int64_t{59999} * 86399);
  EXPECT_FALSE(long_run.s1->projected_runtime_s.has_value());
  EXPECT_EQ(printed(long_run, "Projected runtime"), "n/a");

  // The largest Item a row can carry, followed by a gap.
  const LogReport items =
      summarise(read_log("S1-10h00m00s-2026y12m01d.txt",
                         kS1Header + "2147483647\t10:00:00 80.00%\t   50000\t   40000\t  -12000\t0\r\n"
                                     "0\t10:00:59 79.67%\t   50000\t   39833\t  -12000\t    -167\r\n"));
  EXPECT_NE(notes_of(items).find("items jump from 2147483647 to 0"), std::string::npos) << notes_of(items);
  EXPECT_EQ(duration_text(INT64_MIN), "-106751991167300 d 15:30:08");
}

TEST(HandFiguresTest, CapacityOverTimeTakesEachLogsFirstAndLastKnownCapacity) {
  const std::vector<LogReport> reports = {
      // A failed first reading (full-charged capacity 0), then two known ones.
      summarise(read_log("S1-10h00m00s-2026y12m01d.txt",
                         kS1Header + "0\t10:00:00  N/A%\t       0\t   30000\t   -8010\t       0\r\n"
                                     "1\t10:00:59 60.00%\t   50000\t   30000\t   -8010\t       0\r\n"
                                     "2\t10:01:58 59.74%\t   49990\t   29866\t   -8010\t    -134\r\n")),
      // After midnight: the sleep test named at 23:59:59 starts the next day.
      summarise(read_log("S3-23h59m59s-2026y12m31d.txt",
                         kSleepHeader + "00:00:00 80.00%\t   49000\t   39200\t  -12000\t       0\r\n")),
      // No date in the name, and a log with no known capacity at all.
      summarise(
          read_log("run.txt", kSleepHeader + "08:00:00 80.00%\t   48000\t   38400\t  -12000\t       0\r\n")),
      summarise(read_log("S4-08h00m00s-2026y12m02d.txt",
                         kSleepHeader + "08:00:00  N/A%\t       0\t   38400\t  -12000\t       0\r\n")),
  };
  const CapacityHistory history = capacity_history(reports);
  const int64_t december_first = 20788 * int64_t{86400};  // days from 1970-01-01
  ASSERT_EQ(history.points.size(), 3u);
  EXPECT_EQ(history.points[0].clock_s, december_first + 10 * 3600 + 59);
  EXPECT_EQ(history.points[0].full_mwh, 50000);
  EXPECT_EQ(history.points[1].clock_s, december_first + 10 * 3600 + 118);
  EXPECT_EQ(history.points[1].full_mwh, 49990);
  EXPECT_EQ(history.points[2].clock_s, december_first + 31 * 86400);
  EXPECT_EQ(history.points[2].full_mwh, 49000);
  EXPECT_EQ(history.points[2].report, 1u);
  EXPECT_EQ(history.undated_logs, 1);
}

}  // namespace
