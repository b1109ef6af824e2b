// The cycle summary as the program writes it, read back as the report reads it: saved again with
// CR LF by an editor, and cut off in its last row while it was being written.
#include <gtest/gtest.h>

#include "lab/cycle_record.h"
#include "report/cycle_summary_reading.h"

namespace {

CycleRecord record(int number, uint64_t asleep_ms, std::optional<uint64_t> hw_us, bool failed, int32_t diff) {
  CycleRecord made;
  made.number = number;
  made.log_name = "S3-10h0" + std::to_string(number) + "m00s-2026y12m07d.txt";
  made.kernel.state = "s2idle";
  made.kernel.asleep_ms = asleep_ms;
  made.kernel.hw_sleep_us = hw_us;
  if (hw_us) {
    made.kernel.hw_sleep_wrapped = asleep_ms > 4'294'967;
  }
  made.kernel.suspend = failed ? SleepReading::Suspend::failed : SleepReading::Suspend::ok;
  made.kernel.failed_step = failed ? "suspend_noirq" : "";
  made.resume_row = ResumeRow{52000, 41000, diff};
  return made;
}

TEST(CycleSummary, ReadsBackWhatWasWrittenAndMarksTheCyclesToLookAt) {
  std::string text = summary_header();
  text += summary_row(record(1, 600'000, 590'000'000, false, -312));     // 98.3 %
  text += summary_row(record(2, 600'000, 300'000'000, false, -500));     // 50.0 %: marked
  text += summary_row(record(3, 5'000'000, 605'032'704, false, -2000));  // wrapped: 12.1 %, unreliable
  text += summary_row(record(4, 20, std::nullopt, true, 0));             // failed: marked
  text += summary_row(record(5, 600'000, std::nullopt, false, -300));
  text.resize(text.size() - 9);  // the last row cut while it was written
  std::string crlf;
  for (char c : text) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }

  const CycleRun run = read_cycle_summary("S3-10h01m00s-2026y12m07d-cycles.tsv", crlf);
  ASSERT_TRUE(run.is_summary);
  ASSERT_EQ(run.rows.size(), 4u);
  ASSERT_EQ(run.problems.size(), 1u);
  EXPECT_EQ(run.problems[0].line, 6);
  EXPECT_EQ(run.problems[0].text, "cut off while it was written");

  const CycleRow& first = run.rows[0];
  EXPECT_EQ(first.log, "S3-10h01m00s-2026y12m07d.txt");
  EXPECT_EQ(first.asleep_ms, 600'000);
  EXPECT_EQ(first.hw_sleep_ms, 590'000);
  EXPECT_EQ(first.hw_share_tenths, 983);
  EXPECT_EQ(first.lost_mwh, 312);
  EXPECT_EQ(first.drain_mw, 1872);
  EXPECT_EQ(first.drain_share_hundredths, 360);
  EXPECT_FALSE(first.marked());
  EXPECT_TRUE(run.rows[1].marked());
  EXPECT_TRUE(run.rows[2].hw_unreliable);
  EXPECT_FALSE(run.rows[2].marked()) << "a share the counter could not hold says nothing";
  EXPECT_TRUE(run.rows[3].failed() && run.rows[3].marked());
  EXPECT_EQ(run.rows[3].failed_step, "suspend_noirq");
  EXPECT_FALSE(run.rows[3].hw_share_tenths.has_value()) << "unknown, not 0";

  EXPECT_TRUE(looks_like_cycle_summary_name("s4-01h02m03s-2026y12m07d-CYCLES.TSV"));
  EXPECT_FALSE(looks_like_cycle_summary_name("S3-01h02m03s-2026y12m07d.txt"));
  EXPECT_FALSE(read_cycle_summary("x-cycles.tsv", "Time\tLife%\r\n").is_summary) << "a log is no summary";
}

}  // namespace
