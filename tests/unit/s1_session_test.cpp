#include <sstream>

#include "../../res/control_ids.h"
#include "panel_fixture.h"

namespace {

class S1SessionTest : public PanelFixture {
 protected:
  S1SessionTest() {
    set_capacity(40000);
    panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
    clock.now = {2026, 12, 1, 7, 10, 20, 30, 0};
  }
  void press_s1() { EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, IDC_S1_SAVE, 0), TRUE); }
  std::vector<std::string> lines(const std::u16string& path) {
    std::vector<std::string> result;
    const std::string& bytes = files.files[path];
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
      result.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
    return result;
  }
  static const std::u16string kLog;
};
const std::u16string S1SessionTest::kLog = u"S1-10h20m30s-2026y12m07d.txt";

TEST_F(S1SessionTest, StartAndStopBeforeAMinuteGiveThreeLines) {
  press_s1();
  EXPECT_EQ(text(IDC_S1_SAVE), "Stop");
  EXPECT_EQ(state.s1_active, 1);
  set_capacity(39990);
  tick();
  press_s1();
  EXPECT_EQ(text(IDC_S1_SAVE), "S1 / Save");
  EXPECT_EQ(state.s1_active, 0);
  EXPECT_EQ(lines(kLog), (std::vector<std::string>{
                             "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)",
                             "0\t10:20:30 76.92%\t   52000\t   40000\t  -12000\t       0",
                             "1\t10:20:30 76.90%\t   52000\t   39990\t  -12000\t     -10"}));
  EXPECT_EQ(files.open_count(), 0);
  ASSERT_EQ(files.shell_calls.size(), 1u);
  EXPECT_EQ(files.shell_calls[0].parameters, kLog);
}

TEST_F(S1SessionTest, ItemsRunOnAcrossMinuteRowsReinitialisationsAndTheStop) {
  press_s1();
  for (int minute = 1; minute <= 3; ++minute) {
    set_capacity(static_cast<ULONG>(40000 - 100 * minute));
    ticks(59);
  }
  set_capacity(39650);
  handle_power_broadcast(state, ports);  // an extra row at once
  set_capacity(39640);
  tick();
  press_s1();
  const auto rows = lines(kLog);
  ASSERT_EQ(rows.size(), 7u);
  const char* expected_diffs[] = {"       0", "    -100", "    -100", "    -100", "     -50", "     -10"};
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].substr(0, rows[i].find('\t')), std::to_string(i - 1));
    EXPECT_EQ(rows[i].substr(rows[i].rfind('\t') + 1), expected_diffs[i - 1]) << rows[i];
  }
}

TEST_F(S1SessionTest, ASessionStartedAgainBeginsANewFileAtItemZero) {
  press_s1();
  press_s1();
  clock.now.wMinute = 21;
  press_s1();
  press_s1();
  const auto second = lines(u"S1-10h21m30s-2026y12m07d.txt");
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[1].substr(0, 2), "0\t");
  EXPECT_EQ(lines(kLog).size(), 3u);
  EXPECT_EQ(files.shell_calls.size(), 2u);
}

TEST_F(S1SessionTest, ExitDuringASessionKeepsTheRowsWithoutClosingOrShowing) {
  press_s1();
  ticks(59);
  panel_dialog_message(state, ports, WM_COMMAND, IDC_EXIT, 0);
  EXPECT_EQ(lines(kLog).size(), 3u);
  EXPECT_EQ(files.open_count(), 1);
  EXPECT_TRUE(files.shell_calls.empty());
}

TEST_F(S1SessionTest, ALogThatCannotBeCreatedIsToldOnceAndTheSessionGoesOn) {
  files.create_error = 5;
  press_s1();
  ticks(59 * 3);
  press_s1();
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_NE(FakeDialogPort::narrow(dialog.message_boxes[0].text).find("S1-10h20m30s-2026y12m07d.txt"),
            std::string::npos);
  EXPECT_EQ(state.s1_item_counter, 5);
  EXPECT_EQ(text(IDC_S1_SAVE), "S1 / Save");
  EXPECT_EQ(files.shell_calls.size(), 1u);
}

TEST_F(S1SessionTest, AFullDiskLosesNoWrittenLineAndIsToldOnce) {
  press_s1();
  const std::string before = files.files[kLog];
  files.disk_space = 20;  // the next row breaks off part way
  ticks(59 * 2);
  press_s1();
  EXPECT_EQ(files.files[kLog].substr(0, before.size()), before);
  EXPECT_EQ(files.files[kLog].size(), before.size() + 20);
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_NE(FakeDialogPort::narrow(dialog.message_boxes[0].text).find("not enough space"), std::string::npos);
  EXPECT_EQ(files.open_count(), 0);

  // The next session's log is told about again.
  files.disk_space = 0;
  clock.now.wSecond = 31;
  press_s1();
  EXPECT_EQ(dialog.message_boxes.size(), 2u);
}

}  // namespace
