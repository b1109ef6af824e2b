#include <gtest/gtest.h>

#include "devices/wireless_radio.h"
#include "fakes/fake_wlan_port.h"

using namespace native_wifi;

namespace {

class WirelessRadioTest : public ::testing::Test {
 protected:
  FakeWlanPort wlan;
  void TearDown() override {
    EXPECT_EQ(wlan.live_handles, 0);
    EXPECT_EQ(wlan.live_blocks, 0);
    EXPECT_EQ(wlan.live_strings, 0);
  }
  std::vector<DOT11_RADIO_STATE> phys(size_t adapter = 0) { return wlan.adapters[adapter].phys; }
};

TEST_F(WirelessRadioTest, OnBecomesOffAndOffBecomesOnAcrossPresses) {
  EXPECT_EQ(toggle_wireless_radio(wlan), 0);
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(3, dot11_radio_state_off));
  ASSERT_EQ(wlan.sets.size(), 3u);
  for (DWORD i = 0; i < 3; ++i) {
    EXPECT_EQ(wlan.sets[i].phy, i) << "in PHY index order";
  }
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(3, dot11_radio_state_on));
  EXPECT_EQ(wlan.opens, 6) << "three short connections a press";
}

TEST_F(WirelessRadioTest, AnUnknownOrUnreadableStateSwitchesTheRadioOn) {
  wlan.adapters[0].phys = {dot11_radio_state_unknown, dot11_radio_state_off};
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(2, dot11_radio_state_on));

  wlan.query_error = 50;  // ERROR_NOT_SUPPORTED
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(2, dot11_radio_state_on));

  wlan.query_error = 0;
  wlan.answer_size = 771;
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(2, dot11_radio_state_on));
}

TEST_F(WirelessRadioTest, AnAnswerWithoutPhysLeavesTheStateUnknown) {
  wlan.reported_phys_in_answer = 0;
  toggle_wireless_radio(wlan);  // on, but not said so: switched on again, not off
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(3, dot11_radio_state_on));
  ASSERT_EQ(wlan.sets.size(), 3u);
  DOT11_RADIO_STATE state = dot11_radio_state_off;
  query_radio_state(wlan, u"11111111-2222-3333-4444-555555555555", state);
  EXPECT_EQ(state, dot11_radio_state_off);
}

TEST_F(WirelessRadioTest, ADriversPhyCountIsBelievedUpTo64) {
  wlan.reported_supported_phys = 0xFFFFFFFF;  // and a service that accepts every call
  toggle_wireless_radio(wlan);
  ASSERT_EQ(wlan.sets.size(), 64u);
  EXPECT_EQ(wlan.sets.back().phy, 63u);
}

TEST_F(WirelessRadioTest, ARefusalStopsThePhyLoop) {
  wlan.refuse_phy = 1;
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(), (std::vector<DOT11_RADIO_STATE>{dot11_radio_state_off, dot11_radio_state_on,
                                                    dot11_radio_state_on}));
  EXPECT_EQ(wlan.sets.size(), 2u);
}

TEST_F(WirelessRadioTest, NoInterfaceOrNoServiceTouchesNothing) {
  wlan.open_error = 1062;  // ERROR_SERVICE_NOT_ACTIVE
  toggle_wireless_radio(wlan);
  wlan.open_leaves_handle_on_failure = true;
  toggle_wireless_radio(wlan);
  wlan.open_error = 0;
  wlan.enum_error = 5;
  toggle_wireless_radio(wlan);
  wlan.enum_error = 0;
  wlan.adapters[0].uuid_text_fails = true;
  toggle_wireless_radio(wlan);
  EXPECT_TRUE(wlan.sets.empty());
  EXPECT_EQ(phys(), std::vector<DOT11_RADIO_STATE>(3, dot11_radio_state_on));
}

TEST_F(WirelessRadioTest, ZeroPhysGetNoSetCall) {
  wlan.adapters[0].phys.clear();
  toggle_wireless_radio(wlan);
  EXPECT_TRUE(wlan.sets.empty());
  wlan.adapters[0].phys = {dot11_radio_state_on};
  wlan.capability_error = 5;
  toggle_wireless_radio(wlan);
  EXPECT_TRUE(wlan.sets.empty());
}

TEST_F(WirelessRadioTest, WithTwoInterfacesTheLastOneIsToggled) {
  FakeWlanPort::Adapter second = wlan.adapters[0];
  second.guid.Data1 = 0xABCDEF01;
  second.phys = {dot11_radio_state_off};
  wlan.adapters.push_back(second);
  toggle_wireless_radio(wlan);
  EXPECT_EQ(phys(0), std::vector<DOT11_RADIO_STATE>(3, dot11_radio_state_on));
  EXPECT_EQ(phys(1), std::vector<DOT11_RADIO_STATE>{dot11_radio_state_on});
  ASSERT_EQ(wlan.sets.size(), 1u);
  EXPECT_EQ(wlan.sets[0].guid_first, 0xABCDEF01u);
}

TEST_F(WirelessRadioTest, SetRadioStateTakesOnlyOnAndOff) {
  set_radio_state(wlan, u"11111111-2222-3333-4444-555555555555", dot11_radio_state_unknown);
  set_radio_state(wlan, u"11111111-2222-3333-4444-555555555555", static_cast<DOT11_RADIO_STATE>(3));
  set_radio_state(wlan, u"not a guid", dot11_radio_state_off);
  EXPECT_TRUE(wlan.sets.empty());
  char16_t text[kInterfaceTextSize] = u"keep";
  wlan.adapters.clear();
  find_wlan_interface(wlan, text);
  EXPECT_EQ(std::u16string(text), u"keep");
}

}  // namespace
