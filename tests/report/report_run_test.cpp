// The command line over files in memory: exit codes, inputs that yield nothing, and the page it writes.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fakes/fake_battery_port.h"
#include "report/report_run.h"

namespace {

const char kS1Log[] =
    "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n"
    "0\t14:06:13 87.71%\t   48000\t   42102\t  -10434\t       0\r\n"
    "1\t14:07:12 87.35%\t   48000\t   41928\t  -10434\t    -174\r\n"
    "2\t14:07:30 87.26%\t   48000\t   41884\t  -10434\t     -44\r\n";

class MemoryFiles final : public ReportFiles {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unwritable;

  Kind kind_of(const std::string& path) override {
    return files.count(path) ? Kind::file : folders.count(path) ? Kind::folder : Kind::missing;
  }
  bool read_file(const std::string& path, size_t, std::string& bytes, std::string&) override {
    bytes = files.at(path);
    return true;
  }
  bool list_folder(const std::string& path, std::vector<std::string>& names, std::string&) override {
    for (const auto& [name, bytes] : files) {
      if (name.rfind(path + "/", 0) == 0) {
        names.push_back(name.substr(path.size() + 1));
      }
    }
    return true;
  }
  bool write_file(const std::string& path, std::string_view bytes, std::string& error) override {
    if (unwritable.count(path)) {
      error = "Permission denied";
      return false;
    }
    files[path] = bytes;
    return true;
  }
  bool same_file(const std::string& a, const std::string& b) override { return a == b && files.count(a); }
  char separator() const override { return '/'; }
};

// No battery on the machine the report runs on.
class NoBatteryPort final : public FakeBatteryPort {
 public:
  NoBatteryPort() { batteries.clear(); }
};

TEST(ReportRunTest, ExitCodesAndMessagesNameTheInput) {
  const struct {
    std::vector<std::string> arguments;
    int code;
    const char* in_err;   // "" for nothing on stderr
    const char* written;  // the page's path, or ""
  } cases[] = {
      {{}, kExitUsage, "name at least one log", ""},
      {{"--colour", "logs"}, kExitUsage, "unknown option --colour", ""},
      {{"logs", "--output"}, kExitUsage, "--output needs a file name", ""},
      {{"--help"}, kExitWritten, "", ""},
      {{"empty"}, kExitNothingRead, "empty: the folder holds no test logs", ""},
      {{"notes.txt"}, kExitNothingRead, "notes.txt: line 1: not a Chargewright test log", ""},
      {{"gone.txt"}, kExitNothingRead, "gone.txt: no such file or folder", ""},
      {{"logs", "notes.txt"},
       kExitWritten,
       "notes.txt: line 1: not a Chargewright test log",
       "chargewright-report.html"},
      {{"-o", "out/week.html", "logs/S1-14h06m13s-2026y12m07d.txt"}, kExitWritten, "", "out/week.html"},
      {{"--output=locked.html", "logs"}, kExitNothingRead, "locked.html: the page cannot be written", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
    MemoryFiles files;
    NoBatteryPort battery;
    files.folders = {"logs", "empty"};
    files.files["logs/S1-14h06m13s-2026y12m07d.txt"] = kS1Log;
    files.files["logs/readme.txt"] = "not picked from a folder: not a log's name";
    files.files["notes.txt"] = "shopping list\r\n";
    files.unwritable = {"locked.html"};
    std::string out, err;
    EXPECT_EQ(run_report(c.arguments, files, battery, out, err), c.code);
    if (*c.in_err == 0) {
      EXPECT_EQ(err, "");
    } else {
      EXPECT_NE(err.find(c.in_err), std::string::npos) << err;
    }
    EXPECT_EQ(err.find("readme.txt"), std::string::npos);
    if (*c.written != 0) {
      ASSERT_TRUE(files.files.count(c.written));
      EXPECT_NE(out.find("Report written to " + std::string(c.written)), std::string::npos);
      EXPECT_NE(out.find("  Energy used (mWh)                  218\n"), std::string::npos) << out;
    } else {
      EXPECT_FALSE(files.files.count("chargewright-report.html"));
    }
  }
}

TEST(ReportRunTest, PageNeedsNothingBesideItAndEscapesNames) {
  MemoryFiles files;
  NoBatteryPort battery;
  const std::string name = "run <b>&\"quoted\"</script>.txt";
  files.files[name] = kS1Log;
  files.files["S1-14h06m13s-2026y12m08d.txt"] = kS1Log;
  std::string out, err;
  ASSERT_EQ(run_report({name, "S1-14h06m13s-2026y12m08d.txt"}, files, battery, out, err), kExitWritten)
      << err;
  const std::string& page = files.files.at("chargewright-report.html");
  for (const char* reference : {"src=", "href=", "@import", "url(http", "fetch(", "XMLHttpRequest"}) {
    EXPECT_EQ(page.find(reference), std::string::npos) << reference;
  }
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("run &lt;b&gt;&amp;&quot;quoted&quot;&lt;/script&gt;.txt"), std::string::npos);
  EXPECT_NE(page.find("run \\u003cb\\u003e\\u0026\\\"quoted\\\"\\u003c/script\\u003e.txt"),
            std::string::npos);
  EXPECT_NE(page.find("uPlot"), std::string::npos);
  EXPECT_NE(page.find("id=\"compare\""), std::string::npos);  // two S1 runs: one chart compares them
}

TEST(ReportRunTest, TheMachinesBatteryStandsApartFromTheLogs) {
  FakeBattery named;
  named.manufacturer = u"Sanyo \u00e9\x1b[2J";  // a driver's text is not trusted either
  named.unique_id = u"\xd83d\xdd0b 1234";       // a pair of surrogates: one character
  FakeBattery unreported;
  unreported.info.DesignedCapacity = 0xFFFFFFFF;  // the class's unknown capacity
  unreported.info.CycleCount = 0;
  unreported.fail_manufacturer = unreported.fail_unique_id = true;
  const struct {
    std::vector<FakeBattery> batteries;
    const char* printed;
    const char* design_line;  // in the page's data
  } cases[] = {
      {{named},
       "  Manufacturer                       Sanyo \u00e9\\x1b[2J\n"
       "  Unique ID (model and serial)       \U0001F50B 1234\n"
       "  Chemistry                          LION\n"
       "  Design capacity (mWh)              57000\n"
       "  Full-charged capacity (mWh)        52000 (91.2 % of design)\n"
       "  Cycle count                        42\n",
       "\"design\":57000"},
      {{unreported},
       "  Manufacturer                       n/a\n"
       "  Unique ID (model and serial)       n/a\n"
       "  Chemistry                          LION\n"
       "  Design capacity (mWh)              n/a\n"
       "  Full-charged capacity (mWh)        52000\n"
       "  Cycle count                        n/a\n",
       "\"design\":null"},
      {{}, "The machine this report ran on: no battery the report could read\n", "\"design\":null"},
  };
  for (const auto& c : cases) {
    MemoryFiles files;
    files.files["S1-14h06m13s-2026y12m07d.txt"] = kS1Log;
    FakeBatteryPort battery;
    battery.batteries = c.batteries;
    std::string out, err;
    ASSERT_EQ(run_report({"S1-14h06m13s-2026y12m07d.txt"}, files, battery, out, err), kExitWritten) << err;
    EXPECT_NE(out.find(c.printed), std::string::npos) << out;
    EXPECT_NE(files.files.at("chargewright-report.html").find(c.design_line), std::string::npos);
  }
}

TEST(ReportRunTest, TheOutputIsNeverOneOfTheLogs) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--output", "S3-x.txt", "S3-x.txt"},
        std::vector<std::string>{"-o", "logs/S1-14h06m13s-2026y12m07d.txt", "logs"}}) {
    SCOPED_TRACE(arguments[1]);
    MemoryFiles files;
    NoBatteryPort battery;
    files.folders = {"logs"};
    files.files["S3-x.txt"] = kS1Log;
    files.files["logs/S1-14h06m13s-2026y12m07d.txt"] = kS1Log;
    std::string out, err;
    EXPECT_EQ(run_report(arguments, files, battery, out, err), kExitUsage);
    EXPECT_NE(err.find(arguments[1]), std::string::npos) << err;
    EXPECT_TRUE(files.files.at(arguments[1]) == kS1Log) << "the log was overwritten";
    EXPECT_EQ(files.files.size(), 2u);
  }
}

TEST(ReportRunTest, ControlCharactersInNamesReachNoTerminal) {
  MemoryFiles files;
  NoBatteryPort battery;
  // A name a folder listing can hand over: ESC ] 0 ; sets the window title, BEL ends it.
  const std::string raw = "S1-\x1b]0;pwned\x07-\x1b[2J.txt";
  files.files[raw] = kS1Log;
  std::string out, err;
  ASSERT_EQ(run_report({raw, "missing\x1b[2J.txt", "--output=page\a.html"}, files, battery, out, err),
            kExitWritten);
  for (const std::string* text : {&out, &err}) {
    for (const char c : *text) {
      EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20)
          << static_cast<int>(c) << " in " << *text;
    }
  }
  EXPECT_NE(out.find("S1-\\x1b]0;pwned\\x07-\\x1b[2J.txt\n"), std::string::npos) << out;
  EXPECT_NE(err.find("missing\\x1b[2J.txt: no such file"), std::string::npos) << err;
  EXPECT_NE(out.find("page\\x07.html"), std::string::npos) << out;
}

}  // namespace
