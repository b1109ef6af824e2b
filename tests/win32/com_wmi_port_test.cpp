// The board identity query through the real COM and WMI. Wine answers from its own WMI provider
// (one Win32_BaseBoard instance); Windows from the machine's DMI tables.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "identity/board_identity.h"
#include "panel/panel_state.h"
#include "text/wide_text.h"
#include "win32/com_wmi_port.h"

namespace {

std::string printable(const char16_t* text) {
  std::string result;
  for (size_t i = 0; i < kBoardTextSize && text[i] != 0; ++i) {
    result += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  }
  return result;
}

TEST(ComWmiPort, BoardIdentityQueryReadsTheBaseboardAndLeavesComAsItFoundIt) {
  ComWmiPort wmi;
  PanelState state;
  int result = -1;
  HRESULT reinitialized = E_FAIL;
  // A thread of its own: its COM apartment is untouched by whatever ran before in this process.
  std::thread query([&] {
    result = query_board_identity(state, wmi);
    reinitialized = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(reinitialized)) {
      ::CoUninitialize();
    }
  });
  query.join();

  EXPECT_EQ(result, 0);
  for (const char16_t* field : {state.board_manufacturer, state.board_product, state.board_serial_number}) {
    EXPECT_LE(wide_length(field, kBoardTextSize), kBoardTextLimit) << "not terminated within 50 characters";
  }
  EXPECT_NE(state.board_manufacturer[0], 0);
  RecordProperty("Manufacturer", printable(state.board_manufacturer));
  RecordProperty("Product", printable(state.board_product));
  RecordProperty("SerialNumber", printable(state.board_serial_number));
  // S_OK, not S_FALSE or a changed mode: the query uninitialised the multithreaded apartment it entered.
  EXPECT_EQ(reinitialized, S_OK);
}

TEST(ComWmiPort, CompanionThreadRunsUntilItsEventIsSet) {
  ComWmiPort wmi;
  const HANDLE event = wmi.CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  BoardIdentityCompanion companion{wmi, event};
  const HANDLE thread = wmi.CreateThread(nullptr, 0, run_board_identity_companion, &companion, 0, nullptr);
  ASSERT_NE(thread, nullptr);

  EXPECT_EQ(wmi.WaitForSingleObject(thread, 700), WAIT_TIMEOUT) << "ended before its event was set";
  EXPECT_TRUE(wmi.SetEvent(event));
  EXPECT_EQ(wmi.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  DWORD exit_code = 1;
  EXPECT_TRUE(GetExitCodeThread(thread, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(wmi.CloseHandle(thread));
  EXPECT_TRUE(wmi.CloseHandle(event));
}

}  // namespace
