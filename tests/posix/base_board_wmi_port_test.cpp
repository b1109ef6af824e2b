#include "posix/base_board_wmi_port.h"

#include <gtest/gtest.h>

#include <cstring>

#include <chrono>

#include "identity/board_identity.h"
#include "panel/panel_state.h"

namespace {

std::u16string text_of(const char16_t* field) {
  return field;
}

TEST(SimulatedWmi, TheRealQueryReadsTheSimulatedBoardAndLeavesNothingOpen) {
  BaseBoardWmiPort wmi;
  PanelState state{};
  EXPECT_EQ(query_board_identity(state, wmi), 0);
  EXPECT_EQ(text_of(state.board_manufacturer), u"Chargewright Simulated Laptop");
  EXPECT_EQ(text_of(state.board_product), u"Stand-in Board");
  EXPECT_EQ(text_of(state.board_serial_number), u"SIM-0001");
  EXPECT_EQ(wmi.threads_started(), 1) << "the companion thread ran";
  EXPECT_EQ(wmi.running_threads(), 0);
  EXPECT_EQ(wmi.open_handles(), 0);
  EXPECT_EQ(wmi.live_objects(), 0);
  EXPECT_EQ(wmi.live_strings(), 0);
  EXPECT_EQ(wmi.com_initialised(), 0);
  EXPECT_EQ(wmi.bad_releases(), 0);
}

TEST(SimulatedWmi, ASecondQueryInTheProcessFailsAtTheSecurityStepAndLeavesTheFields) {
  BaseBoardWmiPort wmi;
  PanelState state{};
  query_board_identity(state, wmi);
  state.board_product[0] = u'X';
  EXPECT_EQ(query_board_identity(state, wmi), 1) << "COM security is set once per process";
  EXPECT_EQ(state.board_product[0], u'X');
  EXPECT_EQ(wmi.com_initialised(), 0);
}

TEST(SimulatedWmi, StringsAreRealBstrsAndVariantClearFreesThem) {
  BaseBoardWmiPort wmi;
  const BSTR text = wmi.SysAllocString(u"WQL");
  ASSERT_NE(text, nullptr);
  uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - sizeof bytes, sizeof bytes);
  EXPECT_EQ(bytes, 6u) << "the byte count before the first character";
  EXPECT_EQ(text[3], 0);
  wmi.SysFreeString(text);
  EXPECT_EQ(wmi.live_strings(), 0);
  wmi.SysFreeString(text);
  EXPECT_EQ(wmi.bad_releases(), 1) << "freed twice";
}

TEST(SimulatedWmi, UnknownNamespaceAndClassAreRefused) {
  BaseBoardWmiPort wmi;
  wmi.CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IWbemLocator* locator = nullptr;
  ASSERT_EQ(wmi.CoCreateInstance(&wbem_ids::CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                 &wbem_ids::IID_IWbemLocator, &locator),
            S_OK);
  const BSTR other_namespace = wmi.SysAllocString(u"root\\default");
  IWbemServices* services = nullptr;
  EXPECT_TRUE(FAILED(wmi.ConnectServer(locator, other_namespace, nullptr, nullptr, nullptr, 0, nullptr,
                                       nullptr, &services)));
  EXPECT_EQ(services, nullptr);
  const BSTR cimv2 = wmi.SysAllocString(u"ROOT\\CIMV2");
  ASSERT_EQ(wmi.ConnectServer(locator, cimv2, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services),
            S_OK);
  const BSTR wql = wmi.SysAllocString(u"WQL");
  const BSTR query = wmi.SysAllocString(u"SELECT * FROM Win32_Battery");
  IEnumWbemClassObject* enumerator = nullptr;
  EXPECT_TRUE(FAILED(wmi.ExecQuery(services, wql, query, 48, nullptr, &enumerator)));
  for (BSTR text : {other_namespace, cimv2, wql, query}) {
    wmi.SysFreeString(text);
  }
  wmi.Release(services);
  wmi.Release(locator);
  wmi.CoUninitialize();
  EXPECT_EQ(wmi.live_objects(), 0);
  EXPECT_EQ(wmi.live_strings(), 0);
}

TEST(KernelObjectsTest, WaitsTimeOutUntilTheEventIsSetAndAThreadIsSignalledWhenItEnds) {
  KernelObjects kernel;
  const HANDLE event = kernel.create_event(true, false);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(kernel.wait(event, 30), WAIT_TIMEOUT);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(30));

  struct Shared {
    KernelObjects* kernel;
    HANDLE event;
    int timeouts = 0;
  } shared{&kernel, event};
  const HANDLE thread = kernel.create_thread(
      [](void* parameter) -> DWORD {
        auto* data = static_cast<Shared*>(parameter);
        while (data->kernel->wait(data->event, 5) == WAIT_TIMEOUT) {
          ++data->timeouts;
        }
        return 0;
      },
      &shared);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(kernel.wait(thread, 20), WAIT_TIMEOUT) << "still waiting for the event";
  EXPECT_TRUE(kernel.set_event(event));
  EXPECT_EQ(kernel.wait(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_GT(shared.timeouts, 0);
  EXPECT_EQ(kernel.wait(event, 0), WAIT_OBJECT_0) << "a manual-reset event stays set";
  EXPECT_TRUE(kernel.close(thread));
  EXPECT_TRUE(kernel.close(event));
  EXPECT_FALSE(kernel.close(event));
  EXPECT_EQ(kernel.wait(event, 0), WAIT_FAILED);
  EXPECT_EQ(kernel.open_handles(), 0);

  const HANDLE automatic = kernel.create_event(false, true);
  EXPECT_EQ(kernel.wait(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(kernel.wait(automatic, 0), WAIT_TIMEOUT) << "an auto-reset event lets one waiter through";
  kernel.close(automatic);
}

}  // namespace
