#include <gtest/gtest.h>

#include <string>

#include "battery/battery_query.h"
#include "fakes/fake_battery_port.h"
#include "text/wide_text.h"

using namespace battery_class;

namespace {

std::u16string text(const char16_t* units) {
  return units;
}

class BatteryQueryTest : public ::testing::Test {
 protected:
  FakeBatteryPort port;
  BatterySnapshot snapshot = {};
};

TEST_F(BatteryQueryTest, SendsTheRequestBlocksInOrderAndFillsTheSnapshot) {
  EXPECT_EQ(query_battery(snapshot, port), 1);

  EXPECT_EQ(port.last_open_path, port.batteries[0].path);
  EXPECT_EQ(port.last_access, 0x1F01FFu);
  EXPECT_EQ(port.last_share, 0u);
  EXPECT_EQ(port.last_creation, 3u);
  EXPECT_EQ(port.last_attributes, 0x80u);
  EXPECT_EQ(port.control_codes, (std::vector<DWORD>{0x294040, 0x294044, 0x294044, 0x294044, 0x29404C}));
  EXPECT_EQ(port.last_tag_wait_time, 0u);
  ASSERT_EQ(port.information_requests.size(), 3u);
  const int levels[] = {0, 6, 7};
  const DWORD out_sizes[] = {36, 128, 64};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(port.information_requests[i].BatteryTag, 7u);
    EXPECT_EQ(port.information_requests[i].InformationLevel, levels[i]);
    EXPECT_EQ(port.information_requests[i].AtRate, 1);
    EXPECT_EQ(port.information_out_sizes[i], out_sizes[i]);
  }
  EXPECT_EQ(port.last_wait.BatteryTag, 7u);
  EXPECT_EQ(port.last_wait.Timeout, 500u);
  EXPECT_EQ(port.last_wait.PowerState + port.last_wait.LowCapacity + port.last_wait.HighCapacity, 0u);
  EXPECT_EQ(port.open_handles, 0);
  EXPECT_EQ(port.destroyed_sets, port.created_sets);

  EXPECT_EQ(text(snapshot.chemistry), u"LION");
  EXPECT_EQ(text(snapshot.manufacturer_name), u"Simulated");
  EXPECT_EQ(text(snapshot.unique_id), u"CW-0001");
  EXPECT_EQ(snapshot.designed_capacity, 57000u);
  EXPECT_EQ(snapshot.full_charged_capacity, 52000u);
  EXPECT_EQ(snapshot.default_alert1, 1560u);
  EXPECT_EQ(snapshot.default_alert2, 2600u);
  EXPECT_EQ(snapshot.cycle_count, 42u);
  EXPECT_EQ(snapshot.remaining_capacity, 41000u);
  EXPECT_EQ(snapshot.voltage, 11800u);
  EXPECT_EQ(snapshot.rate, -12000);
  EXPECT_EQ(snapshot.power_state, BATTERY_DISCHARGING);
}

TEST_F(BatteryQueryTest, FlagsHoldTheirOwnBitOfThePowerState) {
  port.batteries[0].status.PowerState = 0x5;
  query_battery(snapshot, port);
  EXPECT_EQ(snapshot.ac_on_line, 1);
  EXPECT_EQ(snapshot.charging, 4);
  EXPECT_EQ(snapshot.discharging, 0);
  EXPECT_EQ(snapshot.critical, 0);

  port.batteries[0].status.PowerState = 0xA;
  query_battery(snapshot, port);
  EXPECT_EQ(snapshot.ac_on_line, 0);
  EXPECT_EQ(snapshot.charging, 0);
  EXPECT_EQ(snapshot.discharging, 2);
  EXPECT_EQ(snapshot.critical, 8);
}

TEST_F(BatteryQueryTest, ChemistryBytesBecomeUnitsUpToTheFirstZero) {
  const unsigned char pb[4] = {0x50, 0x62, 0x00, 0x00};
  std::memcpy(port.batteries[0].info.Chemistry, pb, 4);
  query_battery(snapshot, port);
  EXPECT_EQ(text(snapshot.chemistry), u"Pb");

  const unsigned char high[4] = {0xE9, 0x41, 0xFF, 0x42};
  std::memcpy(port.batteries[0].info.Chemistry, high, 4);
  query_battery(snapshot, port);
  EXPECT_EQ(text(snapshot.chemistry), (std::u16string{0xE9, 0x41, 0xFF, 0x42}));
}

TEST_F(BatteryQueryTest, UnreportedValuesAreStoredUnchanged) {
  port.batteries[0].info.DesignedCapacity = 0xFFFFFFFF;
  port.batteries[0].info.FullChargedCapacity = 0xFFFFFFFF;
  port.batteries[0].status = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, static_cast<LONG>(0x80000000u)};
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(snapshot.designed_capacity, 0xFFFFFFFFu);
  EXPECT_EQ(snapshot.remaining_capacity, 0xFFFFFFFFu);
  EXPECT_EQ(snapshot.voltage, 0xFFFFFFFFu);
  EXPECT_EQ(snapshot.rate, INT32_MIN);
  EXPECT_TRUE(snapshot.ac_on_line && snapshot.charging && snapshot.discharging && snapshot.critical);
}

TEST_F(BatteryQueryTest, NoBatteryInAFreshSnapshotFailsToOpenAndLeavesZeros) {
  port.batteries.clear();
  EXPECT_EQ(query_battery(snapshot, port), -1);
  EXPECT_EQ(text(snapshot.device_path), u"");
  EXPECT_EQ(text(snapshot.manufacturer_name), u"N/A");
  EXPECT_EQ(text(snapshot.unique_id), u"N/A");
  EXPECT_EQ(snapshot.remaining_capacity, 0u);
  EXPECT_EQ(snapshot.full_charged_capacity, 0u);
  EXPECT_EQ(port.destroyed_sets, 1);
}

TEST_F(BatteryQueryTest, FailuresKeepTheLastNumbersAndCloseTheDevice) {
  ASSERT_EQ(query_battery(snapshot, port), 1);
  const BatterySnapshot before = snapshot;

  port.batteries[0].status.Capacity = 1;
  port.batteries[0].info.FullChargedCapacity = 2;
  port.batteries[0].fail_tag = true;
  EXPECT_EQ(query_battery(snapshot, port), -2);
  EXPECT_EQ(port.open_handles, 0);
  port.batteries[0].fail_tag = false;
  port.batteries[0].tag = BATTERY_TAG_INVALID;
  EXPECT_EQ(query_battery(snapshot, port), -2);
  port.batteries[0].tag = 7;
  port.batteries[0].fail_information = true;
  EXPECT_EQ(query_battery(snapshot, port), -3);
  EXPECT_EQ(port.open_handles, 0);

  EXPECT_EQ(snapshot.remaining_capacity, before.remaining_capacity);
  EXPECT_EQ(snapshot.full_charged_capacity, before.full_charged_capacity);
  EXPECT_EQ(text(snapshot.manufacturer_name), u"N/A");
  EXPECT_EQ(text(snapshot.unique_id), u"N/A");
  EXPECT_EQ(text(snapshot.chemistry), u"LION");
}

TEST_F(BatteryQueryTest, ABatteryThatDisappearsKeepsItsPathAndLastValues) {
  ASSERT_EQ(query_battery(snapshot, port), 1);
  const std::u16string path = snapshot.device_path;
  port.batteries.clear();
  EXPECT_EQ(query_battery(snapshot, port), -1);
  EXPECT_EQ(text(snapshot.device_path), path);
  EXPECT_EQ(snapshot.remaining_capacity, 41000u);
}

TEST_F(BatteryQueryTest, RejectedTextRequestsReadNotAvailableOnEveryQuery) {
  ASSERT_EQ(query_battery(snapshot, port), 1);
  port.batteries[0].fail_manufacturer = true;
  port.batteries[0].fail_unique_id = true;
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.manufacturer_name), u"N/A");
  EXPECT_EQ(text(snapshot.unique_id), u"N/A");
  port.batteries[0].fail_unique_id = false;
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.unique_id), u"CW-0001");
}

TEST_F(BatteryQueryTest, TextsThatFillTheirWholeRequestStayTerminated) {
  port.batteries[0].manufacturer = std::u16string(64, u'M');  // 128 bytes, no room for a terminator
  port.batteries[0].unique_id = std::u16string(32, u'U');     // 64 bytes
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.manufacturer_name), std::u16string(63, u'M'));
  EXPECT_EQ(text(snapshot.unique_id), std::u16string(32, u'U'));
}

TEST_F(BatteryQueryTest, AFailedStatusRequestKeepsTheLastStatus) {
  ASSERT_EQ(query_battery(snapshot, port), 1);
  port.batteries[0].fail_status = true;
  port.batteries[0].info.FullChargedCapacity = 50000;
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(snapshot.full_charged_capacity, 50000u);
  EXPECT_EQ(snapshot.remaining_capacity, 41000u);
  EXPECT_EQ(snapshot.rate, -12000);
  EXPECT_NE(snapshot.discharging, 0);
}

TEST_F(BatteryQueryTest, TwoBatteriesQueryTheSecondOneEveryTime) {
  FakeBattery second;
  second.path = u"\\\\?\\acpi#pnp0c0a#2#{72631e54-78a4-11d0-bcf7-00aa00b7b32a}";
  second.status.Capacity = 12345;
  port.batteries.push_back(second);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(query_battery(snapshot, port), 1);
    EXPECT_EQ(text(snapshot.device_path), second.path);
    EXPECT_EQ(snapshot.remaining_capacity, 12345u);
  }
}

TEST_F(BatteryQueryTest, DiscoveryWithoutADeviceSetChangesNothing) {
  copy_wide(snapshot.device_path, u"old");
  port.fail_class_devs = true;
  EXPECT_EQ(find_battery_path(snapshot, port), -1);
  EXPECT_EQ(text(snapshot.device_path), u"old");
  EXPECT_EQ(port.destroyed_sets, 0);

  port.fail_class_devs = false;
  port.fail_detail = true;
  EXPECT_EQ(find_battery_path(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.device_path), u"old");
  EXPECT_EQ(port.destroyed_sets, 1);
}

TEST_F(BatteryQueryTest, LongDevicePathsAreKeptWholeUpToTheDetailBuffer) {
  port.batteries[0].path = u"\\\\?\\" + std::u16string(200, u'p');
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.device_path), port.batteries[0].path);

  // The longest path a 1024-byte detail buffer can carry with its terminator.
  port.batteries[0].path = std::u16string(509, u'q');
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(text(snapshot.device_path), port.batteries[0].path);
  EXPECT_EQ(snapshot.device_path[kDevicePathSize - 1], 0);
}

}  // namespace
