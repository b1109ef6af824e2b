// The Windows file and shell port writing real logs in a directory of the test's own.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "../shared/log_sample.h"
#include "../unit/fakes/fake_battery_port.h"
#include "../unit/fakes/fake_dialog_port.h"
#include "../unit/fakes/fake_input_port.h"
#include "../unit/fakes/fake_lcd_port.h"
#include "../unit/fakes/fake_power_port.h"
#include "../unit/fakes/fake_wlan_port.h"
#include "panel/deferred_reports.h"
#include "text/wide_text.h"
#include "win32/file_api_log_file_port.h"
#include "win32/setupapi_battery_port.h"

namespace {

class FileApiLogFilePortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    directory_ = std::wstring(temp) + L"chargewright-log-test-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(directory_.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(directory_.c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryW(L"..");
    for (const wchar_t* name : {L"S1-14h06m13s-2026y12m07d.txt", L"reader.txt"}) {
      DeleteFileW((directory_ + L"\\" + name).c_str());
    }
    RemoveDirectoryW(directory_.c_str());
  }
  // Names relative to the test's directory, which is the current one.
  std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::wstring directory_;
  FakeDialogPort dialog_;
  FakeClockPort clock_;
  FakeBatteryPort battery_;
  FileApiLogFilePort files_;
  FakePowerPort power_;
  FakeLcdPort lcd_;
  FakeWlanPort wlan_;
  FakeInputPort input_;
  PanelPorts ports_{dialog_, clock_, battery_, files_, power_, lcd_, wlan_, input_};
  PanelState state_;
};

TEST_F(FileApiLogFilePortTest, WritesTheSampleLogByteForByte) {
  copy_wide(state_.log_file_path, u"S1-14h06m13s-2026y12m07d.txt");
  {
    std::ofstream old("S1-14h06m13s-2026y12m07d.txt", std::ios::binary);
    old << "an older log of the same name, longer than the new one will be, to see it truncated ..........."
           "......................................................................................";
  }
  EXPECT_TRUE(write_sample_log(state_, ports_));
  EXPECT_EQ(read_file("S1-14h06m13s-2026y12m07d.txt"), kSampleLogBytes);
  show_deferred_reports(state_, ports_);
  EXPECT_TRUE(dialog_.message_boxes.empty());
}

TEST_F(FileApiLogFilePortTest, AnOpenLogCanBeReadByOthers) {
  copy_wide(state_.log_file_path, u"reader.txt");
  const HANDLE log = open_test_log(state_, ports_);
  ASSERT_NE(log, INVALID_HANDLE_VALUE);
  format_log_header(state_, LogKind::s3);
  ASSERT_TRUE(write_log_line(ports_, log, state_.log_line));
  const HANDLE reader = CreateFileW(L"reader.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) {
    CloseHandle(reader);
  }
  close_test_log(ports_, log);
  EXPECT_EQ(read_file("reader.txt"), "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n");
}

TEST_F(FileApiLogFilePortTest, ALogInAMissingDirectoryIsReportedWithTheSystemsReason) {
  copy_wide(state_.log_file_path, u"no-such-directory\\S1-00h00m00s-2026y12m07d.txt");
  EXPECT_EQ(open_test_log(state_, ports_), INVALID_HANDLE_VALUE);
  show_deferred_reports(state_, ports_);
  ASSERT_EQ(dialog_.message_boxes.size(), 1u);
  const std::string text = FakeDialogPort::narrow(dialog_.message_boxes[0].text);
  EXPECT_EQ(
      text.find("The test log no-such-directory\\S1-00h00m00s-2026y12m07d.txt could not be created.\r\n"), 0u)
      << text;
  EXPECT_GT(text.size(), text.find("\r\n") + 2) << "the system's reason follows";
  EXPECT_EQ(text.find("error "), std::string::npos) << text;
}

TEST_F(FileApiLogFilePortTest, NotepadLivesInTheSystemDirectory) {
  char16_t directory[kPathTextSize];
  const UINT length = files_.GetSystemDirectoryW(directory, kPathTextSize);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, kPathTextSize);
  const std::wstring notepad = std::wstring(reinterpret_cast<const wchar_t*>(directory)) + L"\\notepad.exe";
  EXPECT_NE(GetFileAttributesW(notepad.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
