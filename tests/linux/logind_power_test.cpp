// S3, S4 and S5 pressed on the real laptop's panel against a mock logind on a private bus (started by
// run-mock-logind.sh): the requests logind receives, the RTC alarm and wake-up files, the return after
// PrepareForSleep(false), and the sleep test's log. Each test first proves the bus is the mock's.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>

#include "../../res/control_ids.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_log_file_port.h"
#include "linux/linux_laptop.h"
#include "panel/panel.h"
#include "panel/panel_state.h"
#include "sysfs_fixture.h"

namespace {

std::string run(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
      output += buffer;
    }
    ::pclose(pipe);
  }
  return output;
}

std::string mock(const std::string& method, const std::string& arguments = "") {
  return run(
      "gdbus call --system -d org.freedesktop.login1 -o /org/freedesktop/login1 -m "
      "org.freedesktop.DBus.Mock." +
      method + " " + arguments);
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The call as GetMethodCalls lists it, e.g. "'Suspend', [<false>]", once it has arrived.
bool wait_for_call(const std::string& call) {
  for (int i = 0; i < 100; ++i) {
    if (mock("GetCalls").find(call) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void emit_prepare_for_sleep(bool starting) {
  mock("EmitSignal", std::string("org.freedesktop.login1.Manager PrepareForSleep b '[<") +
                         (starting ? "true" : "false") + ">]'");
}

class MockLogindPanel : public testing::Test {
 protected:
  void SetUp() override {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const char* private_bus = std::getenv("CHARGEWRIGHT_PRIVATE_BUS");
    if (private_bus == nullptr) {
      GTEST_SKIP() << "needs the mock logind of run-mock-logind.sh";
    }
    // Nothing below may run against the machine's own logind.
    ASSERT_NE(address, nullptr);
    ASSERT_STREQ(address, private_bus);
    ASSERT_NE(mock("GetCalls").find("("), std::string::npos) << "login1 on this bus is not the mock";
    mock("ClearCalls");

    tree.supply("AC", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n");
    tree.supply(
        "BAT0",
        "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=30000000\n"
        "POWER_SUPPLY_ENERGY_FULL=50000000\nPOWER_SUPPLY_ENERGY_FULL_DESIGN=52000000\n"
        "POWER_SUPPLY_POWER_NOW=9000000\nPOWER_SUPPLY_VOLTAGE_NOW=11400000\n");
    tree.write("rtc/rtc0/wakealarm", "");
    tree.write("rtc/rtc0/device/power/wakeup", "disabled\n");
    start_laptop({.call_ms = 5000, .sleep_start_ms = 5000});
  }

  void start_laptop(LogindTimeouts timeouts) {
    LinuxLaptopPaths paths;
    paths.power_supply_root = tree.supplies();
    paths.dmi_root = tree.path("dmi");
    paths.backlight_root = tree.path("backlight");
    paths.rtc_root = tree.path("rtc/rtc0");
    paths.rfkill = {tree.path("net"), tree.path("rfkill"), tree.path("dev-rfkill")};
    paths.system_bus_address = bus_address();
    paths.logind_timeouts = timeouts;
    ports.reset();
    laptop = std::make_unique<LinuxLaptop>(paths, LinuxLaptopDevices{});
    ports = std::make_unique<PanelPorts>(PanelPorts{dialog, clock, laptop->battery(), logs, laptop->power(),
                                                    laptop->lcd(), laptop->wlan(), laptop->input()});
    state = PanelState{};
    state.panel = reinterpret_cast<HWND>(0x100);
    initialise_panel(state, *ports);
  }
  static std::string bus_address() { return std::getenv("DBUS_SYSTEM_BUS_ADDRESS"); }

  // Presses a button; the press may stay inside the suspend until the test lets it return.
  std::future<BOOL> press(int id) {
    return std::async(std::launch::async, [this, id] { return dispatch_command(state, *ports, id); });
  }

  SysfsFixture tree;
  FakeDialogPort dialog;
  FakeClockPort clock;
  FakeLogFilePort logs;
  std::unique_ptr<LinuxLaptop> laptop;
  std::unique_ptr<PanelPorts> ports;
  PanelState state;
};

struct SleepCase {
  const char* name;
  int button;
  const char* request;  // as logind records it
  UINT delay_seconds;   // 0: no wake delay
};

class SleepButtons : public MockLogindPanel, public testing::WithParamInterface<SleepCase> {};

TEST_P(SleepButtons, AskLogindWithoutInteractionAndReturnAfterTheResume) {
  const SleepCase& c = GetParam();
  dialog.checked = c.delay_seconds != 0 ? BST_CHECKED : 0u;
  dialog.numbers[IDC_WAKE_MINUTES] = c.delay_seconds / 60;
  dialog.numbers[IDC_WAKE_SECONDS] = c.delay_seconds % 60;
  const int64_t pressed_at = std::time(nullptr);
  std::future<BOOL> pressed = press(c.button);

  ASSERT_TRUE(wait_for_call(std::string("'") + c.request + "', [<false>]")) << mock("GetCalls");
  EXPECT_NE(pressed.wait_for(std::chrono::milliseconds(300)), std::future_status::ready)
      << "returned before the machine resumed";
  if (c.delay_seconds != 0) {
    const int64_t alarm = std::stoll(read_file(tree.path("rtc/rtc0/wakealarm")));
    EXPECT_GE(alarm, pressed_at + c.delay_seconds);
    EXPECT_LE(alarm, std::time(nullptr) + c.delay_seconds + 1);
    EXPECT_EQ(read_file(tree.path("rtc/rtc0/device/power/wakeup")), "enabled");
    EXPECT_NE(laptop->describe().wake_alarm.find(u"wake alarm 20"), std::u16string::npos);
  } else {
    EXPECT_EQ(read_file(tree.path("rtc/rtc0/wakealarm")), "");
    EXPECT_EQ(read_file(tree.path("rtc/rtc0/device/power/wakeup")), "disabled\n");
  }
  EXPECT_TRUE(dialog.message_boxes.empty());

  emit_prepare_for_sleep(true);
  emit_prepare_for_sleep(false);
  ASSERT_EQ(pressed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(pressed.get(), TRUE);
  EXPECT_EQ(state.sleep_test_mode, c.button == IDC_S3 ? 300 : 400);

  // The resume's broadcast, as the host would deliver it, finishes the test.
  handle_power_broadcast(state, *ports);
  ASSERT_EQ(logs.files.size(), 1u);
  const std::string log = logs.files.begin()->second;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
  EXPECT_EQ(state.sleep_test_mode, 0);
  EXPECT_EQ(laptop->power().schemes_not_freed(), 0);
}

INSTANTIATE_TEST_SUITE_P(Logind, SleepButtons,
                         testing::Values(SleepCase{"SleepNow", IDC_S3, "Suspend", 0},
                                         SleepCase{"SleepWithWakeDelay", IDC_S3, "Suspend", 65},
                                         SleepCase{"HibernateNow", IDC_S4, "Hibernate", 0},
                                         SleepCase{"HibernateWithWakeDelay", IDC_S4, "Hibernate", 90}),
                         [](const testing::TestParamInfo<SleepCase>& row) {
                           return std::string(row.param.name);
                         });

TEST_F(MockLogindPanel, ShutdownAsksLogindToPowerOffAndEndsTheLoopWithZero) {
  std::future<BOOL> pressed = press(IDC_S5);
  ASSERT_EQ(pressed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_TRUE(wait_for_call("'PowerOff', [<false>]")) << mock("GetCalls");
  EXPECT_EQ(dialog.quit_codes, std::vector<int>{0});
  EXPECT_TRUE(laptop->powering_off());
}

TEST_F(MockLogindPanel, ARefusedSuspendReturnsAtOnce) {
  mock("AddMethod",
       "org.freedesktop.login1.Manager Suspend b '' "
       "\"raise dbus.exceptions.DBusException('not allowed', "
       "name='org.freedesktop.DBus.Error.AccessDenied')\"");
  std::future<BOOL> pressed = press(IDC_S3);
  ASSERT_EQ(pressed.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_NE(laptop->describe().power.find(u"not allowed"), std::u16string::npos);
  mock("AddMethod", "org.freedesktop.login1.Manager Suspend b '' ''");
}

// logind accepts the request but no sleep begins: after the bound the press returns, the test stays
// armed (as after a refusal), and the strip says why.
TEST_F(MockLogindPanel, ASleepThatNeverBeginsIsGivenUpWithTheReasonInTheStrip) {
  start_laptop({.call_ms = 5000, .sleep_start_ms = 300});
  std::future<BOOL> pressed = press(IDC_S3);
  ASSERT_EQ(pressed.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_EQ(pressed.get(), TRUE);
  EXPECT_TRUE(wait_for_call("'Suspend', [<false>]"));
  EXPECT_EQ(state.sleep_test_mode, 300);
  EXPECT_NE(laptop->describe().power.find(u"Suspend: accepted, but no sleep began within 1 s"),
            std::u16string::npos)
      << FakeDialogPort::narrow(laptop->describe().power);
}

// A request logind takes too long to answer (here its method sleeps 2 s) is given up after the
// bus's own bound, and the reason says so; the panel does not wait sd-bus's default 25 s.
struct SlowCall {
  const char* name;
  const char* slow_method;     // AddMethod's or AddObject's arguments: the mock made slow
  const char* restore_method;  // AddMethod's arguments that make it quick again, or none
  std::function<bool(LogindBus&)> call;
};

class SlowLogind : public MockLogindPanel, public testing::WithParamInterface<SlowCall> {};

TEST_P(SlowLogind, ACallWithoutAnAnswerInTimeFailsWithTheReason) {
  const SlowCall& c = GetParam();
  mock(c.restore_method != nullptr ? "AddMethod" : "AddObject", c.slow_method);
  LogindBus bus(bus_address(), {.call_ms = 300, .sleep_start_ms = 5000});
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(c.call(bus));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500));
  EXPECT_EQ(bus.last_error(), std::string(c.name) + ": no answer from logind within 1 s");
  if (c.restore_method != nullptr) {
    mock("AddMethod", c.restore_method);  // answered once the slow call is over
  }
}

INSTANTIATE_TEST_SUITE_P(
    Logind, SlowLogind,
    testing::Values(
        SlowCall{"Suspend", "org.freedesktop.login1.Manager Suspend b '' 'import time; time.sleep(2)'",
                 "org.freedesktop.login1.Manager Suspend b '' ''",
                 [](LogindBus& bus) { return bus.sleep("Suspend") == SleepOutcome::resumed; }},
        SlowCall{"Hibernate", "org.freedesktop.login1.Manager Hibernate b '' 'import time; time.sleep(2)'",
                 "org.freedesktop.login1.Manager Hibernate b '' ''",
                 [](LogindBus& bus) { return bus.sleep("Hibernate") == SleepOutcome::resumed; }},
        SlowCall{"PowerOff", "org.freedesktop.login1.Manager PowerOff b '' 'import time; time.sleep(2)'",
                 "org.freedesktop.login1.Manager PowerOff b '' ''",
                 [](LogindBus& bus) { return bus.power_off(); }},
        // The test's own session object: the mock has none at the path the call uses.
        SlowCall{"SetBrightness",
                 "/org/freedesktop/login1/session/auto org.freedesktop.login1.Session '{}' "
                 "'[(\"SetBrightness\", \"ssu\", \"\", \"import time; time.sleep(2)\")]'",
                 nullptr, [](LogindBus& bus) { return bus.set_brightness("intel_backlight", 5); }}),
    [](const testing::TestParamInfo<SlowCall>& row) { return std::string(row.param.name); });

}  // namespace
