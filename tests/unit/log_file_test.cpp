#include "logs/log_file.h"
#include "panel/deferred_reports.h"
#include "panel_fixture.h"
#include "text/wide_text.h"

namespace {

std::string narrow(const char16_t* text) {
  return FakeDialogPort::narrow(text);
}

class TestLogTest : public PanelFixture {
 protected:
  char16_t line[kWideTextSize] = {};

  BatterySnapshot snapshot(uint32_t full, uint32_t remaining, int32_t rate) {
    BatterySnapshot result = {};
    result.full_charged_capacity = full;
    result.remaining_capacity = remaining;
    result.rate = rate;
    return result;
  }
};

TEST_F(TestLogTest, NamesCarryKindTimeAndFullYear) {
  SYSTEMTIME time = {2012, 7, 3, 4, 9, 5, 3, 0};
  test_log_name(state, LogKind::s3, time);
  EXPECT_EQ(narrow(state.log_file_path), "S3-09h05m03s-2012y07m04d.txt");
  test_log_name(state, LogKind::s4, time);
  EXPECT_EQ(narrow(state.log_file_path), "S4-09h05m03s-2012y07m04d.txt");
  time = {987, 12, 0, 31, 23, 59, 58, 0};
  test_log_name(state, LogKind::s1, time);
  EXPECT_EQ(narrow(state.log_file_path), "S1-23h59m58s-987y12m31d.txt");
}

TEST_F(TestLogTest, HeadersAndTheWorkedExampleRowComeOutExactly) {
  format_log_header(state, LogKind::s1);
  EXPECT_EQ(narrow(state.log_line),
            "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n");
  format_log_header(state, LogKind::s4);
  EXPECT_EQ(narrow(state.log_line), "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n");

  const SYSTEMTIME time = {2026, 12, 1, 7, 14, 7, 12, 0};
  format_log_row(LogKind::s1, 3, time, snapshot(48000, 41928, -10434), -174, line);
  EXPECT_EQ(narrow(line), "3\t14:07:12 87.35%\t   48000\t   41928\t  -10434\t    -174\r\n");
  format_log_row(LogKind::s3, 3, time, snapshot(48000, 41928, -10434), -174, line);
  EXPECT_EQ(narrow(line), "14:07:12 87.35%\t   48000\t   41928\t  -10434\t    -174\r\n");
}

TEST_F(TestLogTest, WideAndUnreportedValuesPushFieldsWithoutCutting) {
  const SYSTEMTIME time = {2026, 1, 1, 1, 0, 0, 9, 0};
  format_log_row(LogKind::s1, 12345, time, snapshot(0xFFFFFFFF, 0xFFFFFFFF, INT32_MIN), INT32_MIN, line);
  EXPECT_EQ(narrow(line), "12345\t00:00:09 100.00%\t      -1\t      -1\t-2147483648\t-2147483648\r\n");
  format_log_row(LogKind::s1, 10, time, snapshot(40000, 41000, 5), 1000, line);
  EXPECT_EQ(narrow(line), "10\t00:00:09 102.50%\t   40000\t   41000\t       5\t    1000\r\n");
  format_log_row(LogKind::s4, 0, time, snapshot(0x80000000u, 1, 0), 0, line);
  EXPECT_EQ(narrow(line), "00:00:09 0.00%\t-2147483648\t       1\t       0\t       0\r\n");
  // No full-charged capacity: a marker in the percentage's place, not "inf" or "nan".
  format_log_row(LogKind::s1, 1, time, snapshot(0, 0, 0), -5, line);
  EXPECT_EQ(narrow(line), "1\t00:00:09  N/A%\t       0\t       0\t       0\t      -5\r\n");
  format_log_row(LogKind::s3, 1, time, snapshot(0, 7, 0), 0, line);
  EXPECT_EQ(narrow(line), "00:00:09  N/A%\t       0\t       7\t       0\t       0\r\n");
}

TEST_F(TestLogTest, LinesAreWrittenOnceEachAsTheirCharactersWithoutMark) {
  copy_wide(state.log_file_path, u"S1-01h02m03s-2026y12m07d.txt");
  files.files[state.log_file_path] = "old contents";
  const HANDLE log = open_test_log(state, ports);
  EXPECT_EQ(files.last_access, 0xC0000000u);
  EXPECT_EQ(files.last_share, 1u);
  EXPECT_EQ(files.last_creation, 2u);
  EXPECT_EQ(files.last_flags, 0u);
  format_log_header(state, LogKind::s1);
  EXPECT_TRUE(write_log_line(ports, log, state.log_line));
  copy_wide(line, u"0\t01:02:03 50.00%\r\n");
  EXPECT_TRUE(write_log_line(ports, log, line));
  close_test_log(ports, log);
  EXPECT_EQ(
      files.files[u"S1-01h02m03s-2026y12m07d.txt"],
      "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n0\t01:02:03 50.00%\r\n");
  EXPECT_EQ(files.open_count(), 0);
  show_deferred_reports(state, ports);
  EXPECT_TRUE(dialog.message_boxes.empty());
}

TEST_F(TestLogTest, ConversionNeverRunsPastItsBuffer) {
  const HANDLE log = open_test_log(state, ports);
  for (size_t i = 0; i < kWideTextSize - 1; ++i) {
    line[i] = u'x';
  }
  line[kWideTextSize - 1] = 0;
  files.bytes_per_unit = 2;  // 1022 bytes: fits
  EXPECT_TRUE(write_log_line(ports, log, line));
  EXPECT_EQ(files.files[u""].size(), 1022u);
  files.bytes_per_unit = 3;  // does not fit: nothing written, failure told
  EXPECT_FALSE(write_log_line(ports, log, line));
  EXPECT_EQ(files.files[u""].size(), 1022u);
}

TEST_F(TestLogTest, ALogThatCannotBeCreatedIsReportedWithFileAndReason) {
  copy_wide(state.log_file_path, u"S3-09h05m03s-2012y07m04d.txt");
  files.create_error = 5;
  EXPECT_EQ(open_test_log(state, ports), INVALID_HANDLE_VALUE);
  show_deferred_reports(state, ports);
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[0].text),
            "The test log S3-09h05m03s-2012y07m04d.txt could not be created.\r\nAccess is denied.");
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[0].caption), "Chargewright");
  EXPECT_FALSE(write_log_line(ports, INVALID_HANDLE_VALUE, state.log_line));
  close_test_log(ports, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.close_calls, 0);

  files.create_error = 1234;  // an error the system has no text for
  open_test_log(state, ports);
  show_deferred_reports(state, ports);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[1].text),
            "The test log S3-09h05m03s-2012y07m04d.txt could not be created.\r\nerror 1234");
}

TEST_F(TestLogTest, NotepadStartsFromTheSystemDirectoryOnTheLogPath) {
  copy_wide(state.log_file_path, u"S4-00h00m00s-2026y01m01d.txt");
  show_test_log(state, ports);
  ASSERT_EQ(files.shell_calls.size(), 1u);
  const auto& call = files.shell_calls[0];
  EXPECT_EQ(call.verb, u"open");
  EXPECT_EQ(call.file, u"C:\\Windows\\system32\\notepad.exe");
  EXPECT_EQ(call.parameters, u"S4-00h00m00s-2026y01m01d.txt");
  EXPECT_FALSE(call.had_directory);
  EXPECT_EQ(call.show, SW_SHOWNORMAL);

  // A system directory that leaves no room for the program's name starts nothing.
  files.system_directory = std::u16string(250, u'd');
  show_test_log(state, ports);
  files.system_directory = std::u16string(300, u'd');
  show_test_log(state, ports);
  EXPECT_EQ(files.shell_calls.size(), 1u);
}

}  // namespace
