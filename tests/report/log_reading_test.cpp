// Logs written by the program's own log code, read back; and the damage logs suffer after they are written.
#include <gtest/gtest.h>

#include <cmath>

#include "battery/life_percent.h"
#include "logs/log_file.h"
#include "panel_fixture.h"
#include "report/log_summary.h"
#include "report/summary_table.h"

namespace {

std::string saved_with_lf(std::string bytes) {
  for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at)) {
    bytes.erase(at, 1);
  }
  return bytes;
}

struct Reading {
  uint32_t full, remaining;
  int32_t rate, diff, item;
};

class WrittenLogTest : public PanelFixture {
 protected:
  // The bytes the panel's log code leaves for `kind`, one row per reading, a minute apart from `start`.
  std::string write_log(LogKind kind, const char16_t* name, SYSTEMTIME start,
                        const std::vector<Reading>& rows) {
    copy_name(name);
    const HANDLE log = open_test_log(state, ports);
    format_log_header(state, kind);
    write_log_line(ports, log, state.log_line);
    SYSTEMTIME time = start;
    for (const Reading& row : rows) {
      BatterySnapshot snapshot = {};
      snapshot.full_charged_capacity = row.full;
      snapshot.remaining_capacity = row.remaining;
      snapshot.rate = row.rate;
      format_log_row(kind, row.item, time, snapshot, row.diff, state.log_line);
      write_log_line(ports, log, state.log_line);
      time.wMinute = static_cast<WORD>((time.wMinute + 1) % 60);
      time.wHour = static_cast<WORD>(time.wMinute == 0 ? (time.wHour + 1) % 24 : time.wHour);
    }
    close_test_log(ports, log);
    return files.files[name];
  }

  void copy_name(const char16_t* name) {
    size_t i = 0;
    for (; name[i] != 0; ++i) {
      state.log_file_path[i] = name[i];
    }
    state.log_file_path[i] = 0;
  }
};

const std::vector<Reading> kOddReadings = {
    {48000, 42102, -10434, 0, 0},                   // an ordinary row
    {48000, 41928, -10434, -174, 1},                // a negative Diff, as every discharging row has
    {0, 41000, -9000, -928, 2},                     // no full-charged capacity: N/A
    {0xFFFFFFFF, 0xFFFFFFFF, INT32_MIN, 41929, 3},  // the driver's unknown values
    {40000, 48000, 21000, 7000, 10},                // above full (over 100 %), charging, a wider item
    {52120, 1, -123456789, -2000000000, 11},        // numbers wider than their columns
};

TEST_F(WrittenLogTest, EveryFieldReadsBackAsTheLogCodeWroteIt) {
  for (const LogKind kind : {LogKind::s1, LogKind::s3}) {
    const std::string bytes = write_log(
        kind, kind == LogKind::s1 ? u"S1-23h58m00s-2026y12m31d.txt" : u"S3-23h58m00s-2026y12m31d.txt",
        {2026, 12, 4, 31, 23, 58, 0, 0}, kOddReadings);
    const ReadLog log = read_log(
        kind == LogKind::s1 ? "S1-23h58m00s-2026y12m31d.txt" : "S3-23h58m00s-2026y12m31d.txt", bytes);
    ASSERT_TRUE(log.is_log);
    EXPECT_EQ(log.kind, kind == LogKind::s1 ? ReportLogKind::s1 : ReportLogKind::s3);
    EXPECT_TRUE(log.problems.empty()) << log.problems.front().text;
    EXPECT_EQ(log.line_ends, LineEnds::crlf);
    EXPECT_FALSE(log.cut_mid_line);
    ASSERT_EQ(log.rows.size(), kOddReadings.size());
    for (size_t i = 0; i < kOddReadings.size(); ++i) {
      SCOPED_TRACE(i);
      const Reading& want = kOddReadings[i];
      const LogRow& row = log.rows[i];
      EXPECT_EQ(row.line, static_cast<int>(i) + 2);
      EXPECT_EQ(row.item, kind == LogKind::s1 ? want.item : 0);
      EXPECT_EQ(row.full, static_cast<int32_t>(want.full));
      EXPECT_EQ(row.remains, static_cast<int32_t>(want.remaining));
      EXPECT_EQ(row.rate, want.rate);
      EXPECT_EQ(row.diff, want.diff);
      BatterySnapshot snapshot = {};
      snapshot.full_charged_capacity = want.full;
      snapshot.remaining_capacity = want.remaining;
      // A percentage of an unknown capacity (printed negative) is no figure.
      EXPECT_EQ(row.life_known, life_percent_known(snapshot) && row.remains >= 0 && row.full >= 0);
      if (row.life_known) {
        EXPECT_NEAR(row.life_percent, life_percent(snapshot), 0.005);
      }
      // Across midnight the clock runs on: a minute per row.
      EXPECT_EQ(row.elapsed_s, static_cast<int64_t>(i) * 60);
    }
    EXPECT_EQ(wall_clock_text(log, log.rows.back().elapsed_s), "2027-01-01 00:03:00");
    EXPECT_FALSE(log.rows[3].remains_known());
    EXPECT_FALSE(log.rows[3].full_known());
    EXPECT_FALSE(log.rows[3].rate_known());
  }
}

TEST_F(WrittenLogTest, DamagedLogsAreReadAsFarAsTheyGoAndSayWhere) {
  const std::string s1 =
      write_log(LogKind::s1, u"S1-10h00m00s-2026y12m01d.txt", {2026, 12, 2, 1, 10, 0, 0, 0},
                {{50000, 49000, -11000, 0, 0},
                 {50000, 48820, -11000, -180, 1},
                 {50000, 48640, -11000, -180, 2},
                 {50000, 48460, -11000, -180, 3}});
  const std::string lf = saved_with_lf(s1);
  std::string garbled = s1;
  garbled.replace(garbled.find("48820"), 5, "4#820");
  const struct {
    const char* what;
    std::string bytes;
    bool is_log;
    size_t rows;
    int problem_line;  // 0: none
    const char* problem;
    LineEnds ends;
  } cases[] = {
      {"as written", s1, true, 4, 0, "", LineEnds::crlf},
      {"saved again with LF", lf, true, 4, 0, "", LineEnds::lf},
      {"saved again as UTF-8 with a mark", "\xEF\xBB\xBF" + s1, true, 4, 0, "", LineEnds::crlf},
      {"cut in its last row", s1.substr(0, s1.size() - 9), true, 3, 5, "the row is cut off", LineEnds::crlf},
      {"a row garbled", garbled, true, 3, 3, "the row cannot be read (it reads \"1 10:01:00", LineEnds::crlf},
      {"not a log", "<html>\r\nhello\r\n", false, 0, 1, "not a Chargewright test log", LineEnds::crlf},
      {"a sleep header in an S1 name", "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\n",
       true, 0, 0, "", LineEnds::lf},
      {"empty", "", false, 0, 0, "the file is empty", LineEnds::crlf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ReadLog log = read_log("S1-10h00m00s-2026y12m01d.txt", c.bytes);
    EXPECT_EQ(log.is_log, c.is_log);
    EXPECT_EQ(log.rows.size(), c.rows);
    EXPECT_EQ(log.line_ends, c.ends);
    if (*c.problem == 0) {
      EXPECT_TRUE(log.problems.empty());
    } else {
      ASSERT_EQ(log.problems.size(), 1u);
      EXPECT_EQ(log.problems[0].line, c.problem_line);
      EXPECT_NE(log.problems[0].text.find(c.problem), std::string::npos) << log.problems[0].text;
    }
  }
}

TEST_F(WrittenLogTest, SummaryMarksWhatATesterMustKnow) {
  const std::string s1 =
      write_log(LogKind::s1, u"S1-10h00m00s-2026y12m01d.txt", {2026, 12, 2, 1, 10, 0, 0, 0},
                {{50000, 49000, -11000, 0, 0},
                 {0, 48820, -11000, -180, 1},
                 {50000, 48900, 2000, 80, 2},
                 {50000, 48720, -11000, -180, 4}});
  const std::string lf = saved_with_lf(s1);
  const LogReport report = summarise(read_log("S1-10h00m00s-2026y12m01d.txt", lf));
  std::string notes;
  for (const std::string& note : report.notes) {
    notes += note + "\n";
  }
  for (const char* expected :
       {"LF line ends", "1 row has no full-charged capacity", "1 row has a positive Diff",
        "items jump from 2 to 4", "no Stop row", "charged during the run"}) {
    EXPECT_NE(notes.find(expected), std::string::npos) << expected << " in\n" << notes;
  }
  // The row without a full-charged capacity still counts its remaining capacity.
  EXPECT_EQ(report.s1->energy_used_mwh, 280);
  EXPECT_EQ(report.s1->duration_s, 180);
}

TEST(SleepLogTest, UnfinishedAndFailedResumesGiveNoFigures) {
  const std::string header = "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n";
  const std::string before = "23:00:00 80.00%\t   50000\t   40000\t  -12000\t       0\r\n";
  const struct {
    std::string after;
    SleepOutcome outcome;
    std::optional<double> drain;
    const char* end_remains;  // as the summary table shows it
  } cases[] = {
      {"", SleepOutcome::no_resume_row, std::nullopt, "n/a"},
      {"01:00:00  N/A%\t       0\t       0\t       0\t  -40000\r\n", SleepOutcome::resume_reading_failed,
       std::nullopt, "n/a"},
      {"01:00:00 78.00%\t   50000\t   39000\t  -12000\t   -1000\r\n", SleepOutcome::finished, 500.0, "39000"},
  };
  size_t end_remains_column = 0;
  while (std::string(summary_columns(ReportFamily::sleep_tests)[end_remains_column].title) !=
         "Remains after (mWh)") {
    ++end_remains_column;
  }
  for (const auto& c : cases) {
    const LogReport report = summarise(read_log("S4-23h00m00s-2026y12m01d.txt", header + before + c.after));
    ASSERT_TRUE(report.sleep.has_value());
    EXPECT_EQ(report.log.kind, ReportLogKind::s4);
    EXPECT_EQ(report.sleep->outcome, c.outcome);
    EXPECT_EQ(report.sleep->average_drain_mw, c.drain);
    EXPECT_EQ(summary_cells(report)[end_remains_column].text, c.end_remains);
    if (c.drain) {
      EXPECT_EQ(report.sleep->asleep_s, 2 * 3600);  // across midnight
      EXPECT_DOUBLE_EQ(*report.sleep->percent_per_hour, 1.0);
    }
  }
}

}  // namespace
