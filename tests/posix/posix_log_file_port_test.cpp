// The stand-in's file port writing real logs in a fresh directory of the test's own.
#include "posix/posix_log_file_port.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
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
#include "terminal/text_viewer.h"
#include "text/wide_text.h"

namespace {

constexpr DWORD kSystemMessage = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

int open_descriptor_count() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

class PosixLogFilePortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_directory_ = std::filesystem::current_path();
    char pattern[] = "/tmp/chargewright-log-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    ASSERT_EQ(chdir(pattern), 0);
    previous_umask_ = umask(022);
  }
  void TearDown() override {
    umask(previous_umask_);
    std::filesystem::current_path(previous_directory_);
    std::error_code ignored;
    std::filesystem::permissions(directory_ / "read-only", std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(directory_, ignored);
  }
  static std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string system_text(PosixLogFilePort& port, DWORD error) {
    char16_t text[kWideTextSize] = {};
    const DWORD length = port.FormatMessageW(kSystemMessage, error, text, kWideTextSize);
    return FakeDialogPort::narrow(std::u16string(text, length));
  }
  // What open_test_log tells the user for a log path that cannot be created.
  std::string creation_report(const char16_t* path) {
    copy_wide(state_.log_file_path, path);
    dialog_.message_boxes.clear();
    EXPECT_EQ(open_test_log(state_, ports_), INVALID_HANDLE_VALUE);
    show_deferred_reports(state_, ports_);
    return dialog_.message_boxes.size() == 1 ? FakeDialogPort::narrow(dialog_.message_boxes[0].text)
                                             : "<no single message box>";
  }

  std::filesystem::path previous_directory_;
  std::filesystem::path directory_;
  mode_t previous_umask_ = 0;
  FakeDialogPort dialog_;
  FakeClockPort clock_;
  FakeBatteryPort battery_;
  TextViewer viewer_;
  PosixLogFilePort files_{viewer_};
  FakePowerPort power_;
  FakeLcdPort lcd_;
  FakeWlanPort wlan_;
  FakeInputPort input_;
  PanelPorts ports_{dialog_, clock_, battery_, files_, power_, lcd_, wlan_, input_};
  PanelState state_;
};

TEST_F(PosixLogFilePortTest, WritesTheSampleLogByteForByteOverAnOlderLongerFile) {
  copy_wide(state_.log_file_path, u"S1-14h06m13s-2026y12m07d.txt");
  {
    std::ofstream old("S1-14h06m13s-2026y12m07d.txt", std::ios::binary);
    old << std::string(600, 'x');
  }
  EXPECT_TRUE(write_sample_log(state_, ports_));
  EXPECT_EQ(read_file("S1-14h06m13s-2026y12m07d.txt"), kSampleLogBytes);
  show_deferred_reports(state_, ports_);
  EXPECT_TRUE(dialog_.message_boxes.empty());
  struct stat status {};
  ASSERT_EQ(stat("S1-14h06m13s-2026y12m07d.txt", &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(PosixLogFilePortTest, CreateAlwaysSaysWhetherItTruncated) {
  const HANDLE created =
      files_.CreateFileW(u"new.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, 0);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files_.GetLastError(), 0u);
  DWORD written = 0;
  EXPECT_TRUE(files_.WriteFile(created, "abc", 3, &written));
  EXPECT_EQ(written, 3u);
  EXPECT_TRUE(files_.CloseHandle(created));
  const HANDLE again =
      files_.CreateFileW(u"new.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, 0);
  ASSERT_NE(again, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files_.GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(files_.CloseHandle(again));
  EXPECT_EQ(read_file("new.txt"), "");
}

TEST_F(PosixLogFilePortTest, CreationFailuresCarryWindowsCodesAndTheirTexts) {
  EXPECT_EQ(creation_report(u"no-such-directory\\S1-00h00m00s-2026y12m07d.txt"),
            "The test log no-such-directory\\S1-00h00m00s-2026y12m07d.txt could not be created.\r\n"
            "The system cannot find the path specified.");
  EXPECT_EQ(files_.GetLastError(), ERROR_PATH_NOT_FOUND);

  std::ofstream("plain.txt") << "a file, not a directory";
  EXPECT_NE(creation_report(u"plain.txt\\log.txt").find("cannot find the path"), std::string::npos);
  EXPECT_EQ(files_.GetLastError(), ERROR_PATH_NOT_FOUND);

  // A directory of the log's name cannot become the log, whoever runs the test.
  ASSERT_EQ(mkdir("S1-00h00m01s-2026y12m07d.txt", 0755), 0);
  EXPECT_EQ(creation_report(u"S1-00h00m01s-2026y12m07d.txt"),
            "The test log S1-00h00m01s-2026y12m07d.txt could not be created.\r\nAccess is denied.");
  EXPECT_EQ(files_.GetLastError(), ERROR_ACCESS_DENIED);

  // A read-only directory stops everyone but root.
  ASSERT_EQ(mkdir("read-only", 0555), 0);
  if (geteuid() != 0) {
    EXPECT_NE(creation_report(u"read-only\\log.txt").find("Access is denied."), std::string::npos);
    EXPECT_EQ(files_.GetLastError(), ERROR_ACCESS_DENIED);
  }
}

// A file size limit of 0 (ulimit -f) fails every write, as a full disk does, without root or a device.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit none = previous_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

TEST_F(PosixLogFilePortTest, AFailedWriteFailsTheLineAndTheSessionReportsItOnce) {
  const HANDLE log =
      files_.CreateFileW(u"full.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, 0);
  ASSERT_NE(log, INVALID_HANDLE_VALUE);
  const FileSizeLimit no_room;
  DWORD written = 99;
  EXPECT_FALSE(files_.WriteFile(log, "0123456789", 10, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(files_.GetLastError(), ERROR_FILE_TOO_LARGE);

  format_log_header(state_, LogKind::s1);
  bool reported = false;
  EXPECT_FALSE(write_log_line(ports_, log, state_.log_line));
  report_log_write_failure(state_, ports_, LogKind::s1, reported);
  EXPECT_FALSE(write_log_line(ports_, log, state_.log_line));
  report_log_write_failure(state_, ports_, LogKind::s1, reported);
  show_deferred_reports(state_, ports_);
  ASSERT_EQ(dialog_.message_boxes.size(), 1u);
  EXPECT_EQ(FakeDialogPort::narrow(dialog_.message_boxes[0].text),
            "Writing to the S1 test log failed; rows may be missing.\r\n"
            "The file size exceeds the limit allowed and cannot be saved.");
  EXPECT_TRUE(files_.CloseHandle(log));
  EXPECT_EQ(system_text(files_, ERROR_DISK_FULL), "There is not enough space on the disk.\r\n");
}

// Names planted where a log is to be written, as someone who may write to the log folder could plant
// them while the program runs as root for the wake alarm. None may be followed, opened or truncated.
TEST_F(PosixLogFilePortTest, APlantedNameIsALogThatCannotBeCreatedAndItsTargetStaysIntact) {
  const std::string victim = (directory_ / "victim").string();
  const std::string absent = (directory_ / "absent").string();
  std::ofstream(victim) << "keep me";
  ASSERT_EQ(symlink(victim.c_str(), "link.txt"), 0);
  ASSERT_EQ(symlink(absent.c_str(), "dangling.txt"), 0);
  ASSERT_EQ(link(victim.c_str(), "second-name.txt"), 0);
  ASSERT_EQ(mkfifo("fifo.txt", 0666), 0);
  for (const char16_t* name : {u"link.txt", u"dangling.txt", u"second-name.txt", u"fifo.txt"}) {
    const std::string narrow = FakeDialogPort::narrow(name);
    EXPECT_EQ(creation_report(name),
              "The test log " + narrow + " could not be created.\r\nAccess is denied.");
    EXPECT_EQ(files_.GetLastError(), ERROR_ACCESS_DENIED) << narrow;
  }
  EXPECT_EQ(read_file(victim.c_str()), "keep me");
  EXPECT_FALSE(std::filesystem::exists(absent)) << "created through a dangling link";
  EXPECT_TRUE(std::filesystem::is_symlink("link.txt"));
  EXPECT_TRUE(std::filesystem::is_fifo("fifo.txt"));
}

TEST_F(PosixLogFilePortTest, HandlesAreThePortsOwnAndNeverLeak) {
  const int descriptors_before = open_descriptor_count();
  DWORD written = 0;
  EXPECT_FALSE(files_.WriteFile(INVALID_HANDLE_VALUE, "x", 1, &written));
  EXPECT_EQ(files_.GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(files_.CloseHandle(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(files_.CloseHandle(nullptr));

  {
    TextViewer viewer;
    PosixLogFilePort port(viewer);
    HANDLE handles[PosixLogFilePort::kMaxOpenFiles];
    for (size_t i = 0; i < PosixLogFilePort::kMaxOpenFiles; ++i) {
      const std::u16string name = u"log" + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u".txt";
      handles[i] =
          port.CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, 0);
      ASSERT_NE(handles[i], INVALID_HANDLE_VALUE);
    }
    // A full table refuses before touching the file.
    EXPECT_EQ(port.CreateFileW(u"one-too-many.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                               CREATE_ALWAYS, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(port.GetLastError(), ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_FALSE(std::filesystem::exists("one-too-many.txt"));

    EXPECT_TRUE(port.CloseHandle(handles[3]));
    EXPECT_FALSE(port.CloseHandle(handles[3]));  // closed once, unknown after
    EXPECT_EQ(port.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(port.WriteFile(handles[3], "x", 1, &written));
  }  // the port closes the fifteen still open
  EXPECT_EQ(open_descriptor_count(), descriptors_before);
}

TEST_F(PosixLogFilePortTest, WideCharToMultiByteNeverWritesPastItsBuffer) {
  char bytes[8];
  std::fill(std::begin(bytes), std::end(bytes), '#');
  EXPECT_EQ(files_.WideCharToMultiByte(CP_ACP, 0, u"abcd", 4, bytes, 3), 0);
  EXPECT_EQ(files_.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(bytes, 4), "abc#");

  EXPECT_EQ(files_.WideCharToMultiByte(CP_ACP, 0, u"abcd", 4, bytes, 4), 4);
  EXPECT_EQ(files_.WideCharToMultiByte(CP_ACP, 0, u"abcd", 4, nullptr, 0), 4);  // the size needed
  EXPECT_EQ(files_.WideCharToMultiByte(CP_ACP, 0, u"ab", -1, bytes, 8), 3);     // with the terminator
  EXPECT_EQ(std::string(bytes, 3), std::string("ab\0", 3));

  // Windows-1252: the euro sign has a byte, U+0100 has none.
  EXPECT_EQ(files_.WideCharToMultiByte(CP_ACP, 0, u"\u20AC\u00E9\u0100\t", 4, bytes, 8), 4);
  EXPECT_EQ(std::string(bytes, 4), "\x80\xE9?\t");
}

TEST_F(PosixLogFilePortTest, SystemDirectoryAndMessagesFollowWindowsBufferRules) {
  char16_t small[19];
  std::fill(std::begin(small), std::end(small), u'#');
  EXPECT_EQ(files_.GetSystemDirectoryW(small, 19), 20u);  // the size needed, terminator included
  EXPECT_EQ(small[0], u'#');
  char16_t exact[20];
  EXPECT_EQ(files_.GetSystemDirectoryW(exact, 20), 19u);
  EXPECT_EQ(std::u16string(exact), u"C:\\Windows\\system32");

  char16_t text[10] = {};
  EXPECT_EQ(files_.FormatMessageW(kSystemMessage, ERROR_ACCESS_DENIED, text, 19),
            0u);  // 18 units + terminator
  EXPECT_EQ(files_.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(system_text(files_, ERROR_ACCESS_DENIED), "Access is denied.\r\n");
  EXPECT_EQ(system_text(files_, ERROR_PATH_NOT_FOUND), "The system cannot find the path specified.\r\n");
  EXPECT_EQ(system_text(files_, 0xDEAD), "");
}

TEST_F(PosixLogFilePortTest, NotepadOpensTheFinishedLogInTheViewer) {
  copy_wide(state_.log_file_path, u"S1-14h06m13s-2026y12m07d.txt");
  ASSERT_TRUE(write_sample_log(state_, ports_));
  show_test_log(state_, ports_);
  ASSERT_TRUE(viewer_.is_open());
  EXPECT_EQ(viewer_.name(), u"S1-14h06m13s-2026y12m07d.txt");
  EXPECT_TRUE(viewer_.note().empty());
  EXPECT_EQ(viewer_.line_ends(), u"Windows (CRLF)");
  ASSERT_EQ(viewer_.lines().size(), 4u);
  // Tab stops every eight columns.
  EXPECT_EQ(viewer_.lines()[2],
            u"1       14:07:12 87.35%    48000           41928          -10434            -174");

  viewer_.close();
  EXPECT_EQ(files_.ShellExecuteW(nullptr, u"open", u"c:\\windows\\SYSTEM32\\notepad.exe", u"\"missing.txt\"",
                                 nullptr, SW_SHOWNORMAL),
            2);
  ASSERT_TRUE(viewer_.is_open());
  EXPECT_EQ(viewer_.name(), u"missing.txt");
  EXPECT_NE(viewer_.note().find(u"file not found"), std::u16string::npos);
}

TEST_F(PosixLogFilePortTest, NothingButTheSystemsNotepadIsStarted) {
  std::ofstream("log.txt") << "x";
  for (const char16_t* program : {u"notepad.exe", u".\\notepad.exe", u"C:\\Windows\\system32\\calc.exe"}) {
    EXPECT_EQ(files_.ShellExecuteW(nullptr, u"open", program, u"log.txt", nullptr, SW_SHOWNORMAL), 31);
  }
  EXPECT_EQ(files_.ShellExecuteW(nullptr, u"print", u"C:\\Windows\\system32\\notepad.exe", u"log.txt",
                                 nullptr, SW_SHOWNORMAL),
            31);
  EXPECT_FALSE(viewer_.is_open());
  EXPECT_GT(files_.ShellExecuteW(nullptr, u"open", u"C:\\Windows\\system32\\notepad.exe", u"log.txt", nullptr,
                                 SW_SHOWNORMAL),
            32);
  EXPECT_TRUE(viewer_.is_open());
}

}  // namespace
