#include "identity/board_identity.h"
#include "panel/panel_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_wmi_port.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kUpToLocator = {
    "CoInitializeEx null 0",
    "CoInitializeSecurity null -1 null null 0 3 null 0 null",
    "CoCreateInstance {4590F811-1D3A-11D0-891F-00AA004B2E24} null 1 {DC12A687-737F-11CF-884D-00AA004B2E24}",
};
const Calls kConnect = {
    "SysAllocString root\\cimv2",
    "CreateEventW null 1 0 null",
    "CreateThread null 0 0 null",
    "ConnectServer locator root\\cimv2 null null null 0 null null",
    "SetEvent event",
    "WaitForSingleObject thread INFINITE",
    "WaitForSingleObject event 300",  // the companion, once the event is set
    "CloseHandle event",
    "CloseHandle thread",
    "SysFreeString root\\cimv2",
};
const Calls kQuery = {
    "CoSetProxyBlanket services 10 0 null 3 3 null 0",
    "SysAllocString WQL",
    "SysAllocString SELECT * FROM Win32_BaseBoard",
    "ExecQuery services WQL SELECT * FROM Win32_BaseBoard 48 null",
};
const Calls kReleaseAll = {
    "SysFreeString SELECT * FROM Win32_BaseBoard",
    "SysFreeString WQL",
    "Release services",
    "Release locator",
    "Release enumerator",
    "CoUninitialize",
};

Calls joined(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

Calls reads_of(int instance) {
  const std::string object = "object" + std::to_string(instance);
  Calls calls = {"Next enumerator -1 1"};
  for (const char* property : {"Manufacturer", "Product", "SerialNumber"}) {
    calls.push_back("Get " + object + " " + property + " 0 null null");
    calls.push_back("VariantClear");
  }
  calls.push_back("Release " + object);
  return calls;
}
const Calls kEnd = {"Next enumerator -1 1"};

std::string narrow(const char16_t* text) {
  std::string result;
  for (; *text != 0; ++text) {
    result += static_cast<char>(*text);
  }
  return result;
}

class BoardIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_earlier(state.board_manufacturer);
    copy_earlier(state.board_product);
    copy_earlier(state.board_serial_number);
  }
  // Every query gives back what it obtained, whatever its path.
  void TearDown() override {
    EXPECT_EQ(wmi.com_initialized, 0);
    EXPECT_EQ(wmi.live_objects, 0);
    EXPECT_EQ(wmi.live_strings(), 0);
    EXPECT_EQ(wmi.live_handles, 0);
    EXPECT_EQ(wmi.bad_releases, 0);
  }
  static void copy_earlier(char16_t (&field)[kBoardTextSize]) {
    const char16_t earlier[] = u"earlier";
    std::copy(std::begin(earlier), std::end(earlier), field);
  }
  void expect_fields(const std::string& manufacturer, const std::string& product, const std::string& serial) {
    EXPECT_EQ(narrow(state.board_manufacturer), manufacturer);
    EXPECT_EQ(narrow(state.board_product), product);
    EXPECT_EQ(narrow(state.board_serial_number), serial);
  }

  PanelState state;
  FakeWmiPort wmi;
};

TEST_F(BoardIdentityTest, ReadsTheBoardWithEveryCallInOrderAndGivesEverythingBack) {
  wmi.boards = {{FakeWmiPort::text(u"Intel Corporation"), FakeWmiPort::text(u"Base Board"),
                 FakeWmiPort::text(u"None")}};
  wmi.event_timeouts = 2;  // the connection takes longer than two slices

  EXPECT_EQ(query_board_identity(state, wmi), 0);

  Calls connect = kConnect;
  connect.insert(connect.begin() + 7, {"WaitForSingleObject event 300", "WaitForSingleObject event 300"});
  EXPECT_EQ(wmi.calls, joined({kUpToLocator, connect, kQuery, reads_of(1), kEnd, kReleaseAll}));
  expect_fields("Intel Corporation", "Base Board", "None");
  EXPECT_EQ(wmi.thread_start, &run_board_identity_companion);
  EXPECT_EQ(wmi.thread_exit_code, 0u);
  EXPECT_EQ(wmi.standard_output, "");
}

TEST_F(BoardIdentityTest, IdentityValuesAreCutAfterTheFiftiethCharacter) {
  const std::u16string fifty(50, u'M');
  wmi.boards = {{FakeWmiPort::text(fifty + u"X"), FakeWmiPort::text(std::u16string(10'000, u'P')),
                 FakeWmiPort::text(fifty)}};
  // Whatever stood in the buffers beyond the new value must not show through.
  std::fill(std::begin(state.board_manufacturer), std::end(state.board_manufacturer) - 1, u'#');

  EXPECT_EQ(query_board_identity(state, wmi), 0);

  expect_fields(std::string(50, 'M'), std::string(50, 'P'), std::string(50, 'M'));
  EXPECT_EQ(state.board_manufacturer[50], 0);
  EXPECT_EQ(state.board_product[50], 0);

  wmi.boards = {{FakeWmiPort::text(u""), FakeWmiPort::text(u""), FakeWmiPort::text(u"")}};
  wmi.calls.clear();
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  expect_fields("", "", "");
}

TEST_F(BoardIdentityTest, WithoutAnInstanceTheFieldsKeepTheirContents) {
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  EXPECT_EQ(wmi.calls, joined({kUpToLocator, kConnect, kQuery, kEnd, kReleaseAll}));
  expect_fields("earlier", "earlier", "earlier");
}

TEST_F(BoardIdentityTest, WithSeveralInstancesTheLastOneStays) {
  wmi.boards = {{FakeWmiPort::text(u"First"), FakeWmiPort::text(u"One"), FakeWmiPort::text(u"1")},
                {FakeWmiPort::text(u"Second"), FakeWmiPort::text(u"Two"), FakeWmiPort::text(u"2")}};
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  EXPECT_EQ(wmi.calls, joined({kUpToLocator, kConnect, kQuery, reads_of(1), reads_of(2), kEnd, kReleaseAll}));
  expect_fields("Second", "Two", "2");
}

TEST_F(BoardIdentityTest, IdentityValuesThatAreNoTextLeaveTheirFieldsEmpty) {
  using Kind = FakeWmiPort::Property::Kind;
  wmi.boards = {{{Kind::null, u""}, {Kind::number, u""}, {Kind::unreadable, u""}}};
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  expect_fields("", "", "");

  wmi.boards = {{FakeWmiPort::text(u"Maker"), {Kind::null_string, u""}, FakeWmiPort::text(u"S")}};
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  expect_fields("Maker", "", "S");
}

struct FailingStep {
  const char* step;
  Calls calls;  // everything the query does when that step fails
  bool out_of_memory = false;
};

class BoardIdentityFailureTest : public BoardIdentityTest,
                                 public ::testing::WithParamInterface<FailingStep> {};

TEST_P(BoardIdentityFailureTest, FailingStepReturnsOneAndGivesBackWhatWasObtained) {
  wmi.boards = {{FakeWmiPort::text(u"Unseen"), FakeWmiPort::text(u"Unseen"), FakeWmiPort::text(u"Unseen")}};
  wmi.refused = {GetParam().step};

  EXPECT_EQ(query_board_identity(state, wmi), 1);

  EXPECT_EQ(wmi.calls, GetParam().calls);
  expect_fields("earlier", "earlier", "earlier");
  EXPECT_EQ(wmi.standard_output, GetParam().out_of_memory ? "Out of memory\n" : "");
}

const Calls kUninitialize = {"CoUninitialize"};
const Calls kReleaseLocator = {"Release locator", "CoUninitialize"};
const Calls kReleaseServices = {"Release services", "Release locator", "CoUninitialize"};
const Calls kBlanket = {kQuery[0]};
const Calls kStrings = {kQuery[0], kQuery[1], kQuery[2]};

INSTANTIATE_TEST_SUITE_P(
    EachStep, BoardIdentityFailureTest,
    ::testing::Values(
        FailingStep{"CoInitializeEx", {kUpToLocator[0]}},
        FailingStep{"CoInitializeSecurity", joined({{kUpToLocator[0], kUpToLocator[1]}, kUninitialize})},
        FailingStep{"CoCreateInstance", joined({kUpToLocator, kUninitialize})},
        FailingStep{"SysAllocString root\\cimv2", joined({kUpToLocator, {kConnect[0]}, kReleaseLocator}),
                    true},
        FailingStep{"ConnectServer", joined({kUpToLocator, kConnect, kReleaseLocator})},
        FailingStep{"CoSetProxyBlanket", joined({kUpToLocator, kConnect, kBlanket, kReleaseServices})},
        FailingStep{"SysAllocString WQL", joined({kUpToLocator,
                                                  kConnect,
                                                  kStrings,
                                                  {"SysFreeString SELECT * FROM Win32_BaseBoard"},
                                                  kReleaseServices})},
        FailingStep{"SysAllocString SELECT * FROM Win32_BaseBoard",
                    joined({kUpToLocator, kConnect, kStrings, {"SysFreeString WQL"}, kReleaseServices})},
        FailingStep{"ExecQuery", joined({kUpToLocator,
                                         kConnect,
                                         kQuery,
                                         {"SysFreeString SELECT * FROM Win32_BaseBoard", "SysFreeString WQL"},
                                         kReleaseServices})}),
    [](const ::testing::TestParamInfo<FailingStep>& step_info) {
      std::string name;
      for (const char* c = step_info.param.step; *c != 0 && *c != '*'; ++c) {
        if ((*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9')) {
          name += *c;
        }
      }
      return name;
    });

TEST(BoardIdentityCompanionTest, WaitsInSlicesWhileTheWaitTimesOutAndEndsOnAnythingElse) {
  FakeWmiPort wmi;
  HANDLE event = wmi.CreateEventW(nullptr, TRUE, FALSE, nullptr);
  wmi.SetEvent(event);
  wmi.event_timeouts = 3;
  BoardIdentityCompanion companion{wmi, event};
  wmi.calls.clear();

  EXPECT_EQ(run_board_identity_companion(&companion), 0u);
  EXPECT_EQ(wmi.calls, Calls(4, "WaitForSingleObject event 300"));

  // A wait that fails (here on a handle that is no event) ends the thread as well.
  companion.event = nullptr;
  wmi.calls.clear();
  EXPECT_EQ(run_board_identity_companion(&companion), 0u);
  EXPECT_EQ(wmi.calls, Calls{"WaitForSingleObject ? 300"});
  wmi.CloseHandle(event);
  EXPECT_EQ(wmi.live_handles, 0);
}

}  // namespace
