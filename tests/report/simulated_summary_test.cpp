// The figures of runs on the simulated laptop, whose pack drains at 8 to 15 W awake and at its sleep
// loads asleep: the report must find what the simulation did.
#include <gtest/gtest.h>

#include "fakes/fake_log_file_port.h"
#include "report/log_summary.h"
#include "report/summary_table.h"
#include "simulated/battery_model.h"
#include "simulated/simulated_power_port.h"
#include "simulated_logs.h"

namespace {

std::string to_ascii(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

// The one log a run left, read and summarised.
LogReport only_log(const FakeLogFilePort& files) {
  EXPECT_EQ(files.files.size(), 1u);
  const auto& [name, bytes] = *files.files.begin();
  return summarise(read_log(to_ascii(name), bytes));
}

TEST(SimulatedRunTest, OvernightS1SessionShowsTheDrainTheBatteryHad) {
  for (const bool stopped : {true, false}) {
    SCOPED_TRACE(stopped ? "stopped" : "closed during the session");
    FakeLogFilePort files;
    run_simulated_s1_session(files, {{2026, 12, 2, 1, 22, 30, 0, 0}, 0.95}, 4 * 60, stopped);
    const LogReport report = only_log(files);
    ASSERT_TRUE(report.s1.has_value());
    const S1Summary& s1 = *report.s1;
    // A start row, a row per 59 ticks, and the Stop row.
    EXPECT_EQ(s1.rows, 1 + 4 * 60 * 60 / 59 + (stopped ? 1 : 0));
    EXPECT_EQ(s1.ending, stopped ? S1Ending::stopped : S1Ending::no_stop_row);
    EXPECT_NEAR(static_cast<double>(s1.duration_s), 4 * 3600, 60);
    EXPECT_EQ(summary_cells(report)[2].text, "2026-12-01 22:30:00");
    EXPECT_EQ(*s1.full, static_cast<int32_t>(kFullChargedCapacityMwh));
    EXPECT_NEAR(*s1.start_remains, 0.95 * kFullChargedCapacityMwh, 5);
    ASSERT_TRUE(s1.average_drain_mw.has_value());
    EXPECT_GT(*s1.average_drain_mw, 8000);
    EXPECT_LT(*s1.average_drain_mw, 15000);
    // The Rate column and the falling capacity are two readings of one drain.
    EXPECT_NEAR(-*s1.average_rate_mw, *s1.average_drain_mw, 0.02 * *s1.average_drain_mw);
    EXPECT_GE(*s1.lowest_rate_mw, -15000);
    EXPECT_LE(*s1.highest_rate_mw, -8000);
    EXPECT_NEAR(static_cast<double>(*s1.projected_runtime_s),
                kFullChargedCapacityMwh / *s1.average_drain_mw * 3600, 2);
  }
}

TEST(SimulatedRunTest, SleepAndHibernateLossesAreTheSleepLoads) {
  for (const bool hibernate : {false, true}) {
    SCOPED_TRACE(hibernate ? "S4" : "S3");
    FakeLogFilePort files;
    run_simulated_sleep_test(files, {{2026, 12, 3, 2, 23, 0, 0, 0}, 0.8}, hibernate, 8 * 3600);
    const LogReport report = only_log(files);
    ASSERT_TRUE(report.sleep.has_value());
    EXPECT_EQ(report.log.kind, hibernate ? ReportLogKind::s4 : ReportLogKind::s3);
    EXPECT_EQ(report.sleep->outcome, SleepOutcome::finished);
    EXPECT_NEAR(static_cast<double>(report.sleep->asleep_s), 8 * 3600, 5);
    const double load = hibernate ? kHibernateLoadMw : kSleepLoadMw;
    ASSERT_TRUE(report.sleep->average_drain_mw.has_value());
    EXPECT_NEAR(*report.sleep->average_drain_mw, load, 0.01 * load + 1);
    EXPECT_NEAR(*report.sleep->percent_per_hour, load * 100 / kFullChargedCapacityMwh, 0.01);
  }
}

}  // namespace
