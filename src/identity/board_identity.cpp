#include "identity/board_identity.h"

#include <cstring>

#include "common/scoped_owner.h"

namespace {

constexpr char16_t kNamespace[] = u"root\\cimv2";
constexpr char16_t kQueryLanguage[] = u"WQL";
constexpr char16_t kQuery[] = u"SELECT * FROM Win32_BaseBoard";
constexpr LONG kQueryFlags = WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY;

// One reference to a COM object, released when the owner goes.
template <class Interface>
auto com_reference(WmiPort& wmi) {
  return scoped_owner<Interface*>(nullptr, [&wmi](Interface* object) { wmi.Release(object); });
}

auto system_string(WmiPort& wmi, const char16_t* text) {
  return scoped_owner<BSTR>(wmi.SysAllocString(text),
                            [&wmi](BSTR allocated) { wmi.SysFreeString(allocated); });
}

struct CloseKernelHandle {
  WmiPort* wmi;
  void operator()(HANDLE handle) const { wmi->CloseHandle(handle); }
};
using KernelHandle = ScopedOwner<HANDLE, CloseKernelHandle>;

// The event and the companion thread: started together, and on every way out the event is set,
// the thread joined and both handles closed, event first.
class CompanionThread {
 public:
  explicit CompanionThread(WmiPort& wmi)
      : wmi_(wmi),
        event_(wmi.CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr, CloseKernelHandle{&wmi}),
        companion_{wmi, event_.get()},
        thread_(wmi.CreateThread(nullptr, 0, run_board_identity_companion, &companion_, 0, nullptr), nullptr,
                CloseKernelHandle{&wmi}) {}
  ~CompanionThread() { stop(); }
  CompanionThread(const CompanionThread&) = delete;
  CompanionThread& operator=(const CompanionThread&) = delete;

  void stop() {
    if (event_.get() != nullptr) {
      wmi_.SetEvent(event_.get());
    }
    // The thread reads `companion_`, which lives in this object: it must have ended before it goes.
    if (thread_.get() != nullptr) {
      wmi_.WaitForSingleObject(thread_.get(), INFINITE);
    }
    event_.reset();
    thread_.reset();
  }

 private:
  WmiPort& wmi_;
  KernelHandle event_;
  BoardIdentityCompanion companion_;
  KernelHandle thread_;
};

// At most the first 50 characters of a string value, always terminated; anything else gives "".
void copy_property_text(char16_t (&field)[kBoardTextSize], const VARIANT& value) {
  size_t length = 0;
  if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
    for (; length < kBoardTextLimit && value.bstrVal[length] != 0; ++length) {
      field[length] = static_cast<char16_t>(value.bstrVal[length]);
    }
  }
  field[length] = 0;
}

// A failed Get leaves the VARIANT empty, so its result need not be looked at.
void read_property(WmiPort& wmi, IWbemClassObject* object, const char16_t* name,
                   char16_t (&field)[kBoardTextSize]) {
  VARIANT value;
  std::memset(&value, 0, sizeof value);
  value.vt = VT_EMPTY;
  // Cleared when the property has been copied.
  const auto cleared = scoped_owner<VARIANT*>(&value, [&wmi](VARIANT* held) { wmi.VariantClear(held); });
  wmi.Get(object, name, 0, &value, nullptr, nullptr);
  copy_property_text(field, value);
}

void read_instances(BoardText& state, WmiPort& wmi, IEnumWbemClassObject* enumerator) {
  for (;;) {
    auto object = com_reference<IWbemClassObject>(wmi);
    ULONG returned = 0;
    wmi.Next(enumerator, static_cast<LONG>(WBEM_INFINITE), 1, object.receive(), &returned);
    if (returned == 0 || object.get() == nullptr) {
      return;
    }
    read_property(wmi, object.get(), u"Manufacturer", state.board_manufacturer);
    read_property(wmi, object.get(), u"Product", state.board_product);
    read_property(wmi, object.get(), u"SerialNumber", state.board_serial_number);
  }
}

}  // namespace

DWORD WINAPI run_board_identity_companion(void* parameter) {
  const auto* companion = static_cast<const BoardIdentityCompanion*>(parameter);
  while (companion->wmi.WaitForSingleObject(companion->event, kCompanionWaitSliceMs) == WAIT_TIMEOUT) {
  }
  return 0;
}

int query_board_identity(BoardText& state, WmiPort& wmi) {
  if (FAILED(wmi.CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    return 1;
  }
  // Owners go in reverse order of declaration: the enumerator is released after the locator, and
  // COM is uninitialised last.
  // Uninitialises COM for this thread when the query ends after a successful CoInitializeEx.
  const auto apartment = scoped_owner<WmiPort*>(&wmi, [](WmiPort* port) { port->CoUninitialize(); });
  auto enumerator = com_reference<IEnumWbemClassObject>(wmi);
  if (FAILED(wmi.CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr))) {
    return 1;
  }
  // A success that delivers no object is taken as a failure: the next call would go through it.
  auto locator = com_reference<IWbemLocator>(wmi);
  if (FAILED(wmi.CoCreateInstance(&wbem_ids::CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  &wbem_ids::IID_IWbemLocator, locator.receive())) ||
      locator.get() == nullptr) {
    return 1;
  }

  auto services = com_reference<IWbemServices>(wmi);
  {
    auto namespace_path = system_string(wmi, kNamespace);
    if (!namespace_path.holds()) {
      wmi.write_standard_output("Out of memory\n");
      return 1;
    }
    CompanionThread companion(wmi);
    const HRESULT connected = wmi.ConnectServer(locator.get(), namespace_path.get(), nullptr, nullptr,
                                                nullptr, 0, nullptr, nullptr, services.receive());
    companion.stop();
    namespace_path.reset();
    if (FAILED(connected) || services.get() == nullptr) {
      return 1;
    }
  }

  if (FAILED(wmi.CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE))) {
    return 1;
  }
  const auto language = system_string(wmi, kQueryLanguage);
  const auto query = system_string(wmi, kQuery);
  if (!language.holds() || !query.holds()) {
    return 1;
  }
  if (FAILED(wmi.ExecQuery(services.get(), language.get(), query.get(), kQueryFlags, nullptr,
                           enumerator.receive()))) {
    return 1;
  }
  if (enumerator.get() != nullptr) {
    read_instances(state, wmi, enumerator.get());
  }
  return 0;
}
